#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QPageLayout;
class QPainter;
class QPdfWriter;

namespace tarvello
{

struct PdfProperties {
    PdfProperties() = default;
    explicit PdfProperties(const QString& title, const QString& subject = {}) : title(title), subject(subject)
    {
    }

    QString title;
    QString subject; // goes into the XMP metadata as dc:description
    QString author;
    QString creator = QStringLiteral("Tarvello");
};

// PDF files are written at this resolution; reports are measured at it when no device is given.
inline constexpr int pdfResolutionDpi = 1200;

// The document's XMP packet: title, subject (dc:description), author and creator.
QByteArray pdfXmpMetadata(const PdfProperties& properties);

// Writes a PDF through a temporary file in the target's folder and puts it in place only when
// `paint` succeeded and every byte reached the disk. A read-only or locked target, a folder that
// does not exist or refuses new files, or a full disk leave the old file as it was and no
// temporary file behind. `paint` gets an open painter on the writer.
bool writePdfFile(const QString& path, const QPageLayout& pageLayout, const PdfProperties& properties,
                  const std::function<bool(QPainter&, QPdfWriter&)>& paint, QString* errorMessage);

} // namespace tarvello
