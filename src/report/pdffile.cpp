#include "report/pdffile.h"

#include "core/filereplace.h"
#include "core/fileuse.h"
#include "report/reportlog.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarvello
{

namespace
{

// dc: entries that take a language alternative (title, description).
QString altEntry(const QString& element, const QString& value)
{
    return QStringLiteral("   <") + element + QStringLiteral("><rdf:Alt><rdf:li xml:lang=\"x-default\">") +
           value.toHtmlEscaped() + QStringLiteral("</rdf:li></rdf:Alt></") + element + QStringLiteral(">\n");
}

} // namespace

QByteArray pdfXmpMetadata(const PdfProperties& properties)
{
    QString xmp = QStringLiteral("<?xpacket begin=\"") + QChar(0xFEFF) +
                  QStringLiteral("\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                                 "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                                 " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                                 "  <rdf:Description rdf:about=\"\"\n"
                                 "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
                                 "    xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
                                 "    xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
                                 "   <dc:format>application/pdf</dc:format>\n");
    if (!properties.title.isEmpty())
        xmp += altEntry(QStringLiteral("dc:title"), properties.title);
    if (!properties.subject.isEmpty())
        xmp += altEntry(QStringLiteral("dc:description"), properties.subject);
    if (!properties.author.isEmpty()) {
        xmp += QStringLiteral("   <dc:creator><rdf:Seq><rdf:li>") + properties.author.toHtmlEscaped() +
               QStringLiteral("</rdf:li></rdf:Seq></dc:creator>\n");
    }
    if (!properties.creator.isEmpty()) {
        xmp += QStringLiteral("   <xmp:CreatorTool>") + properties.creator.toHtmlEscaped() +
               QStringLiteral("</xmp:CreatorTool>\n");
    }
    xmp += QStringLiteral("  </rdf:Description>\n"
                          " </rdf:RDF>\n"
                          "</x:xmpmeta>\n"
                          "<?xpacket end=\"w\"?>");
    return xmp.toUtf8();
}

bool writePdfFile(const QString& path, const QPageLayout& pageLayout, const PdfProperties& properties,
                  const std::function<bool(QPainter&, QPdfWriter&)>& paint, QString* errorMessage)
{
    const auto fail = [errorMessage](const QString& why) {
        qCWarning(lcReport).noquote() << why;
        if (errorMessage)
            *errorMessage = why;
        return false;
    };

    const QFileInfo target(path);
    if (target.exists()) {
        if (!target.isFile())
            return fail(QStringLiteral("Il percorso %1 non indica un file.").arg(path));
        // A file marked read-only is left alone even when we could replace it (as the
        // administrator may): the mark says the user wants to keep it.
        if (!target.isWritable() || !(target.permissions() & QFileDevice::WriteOwner))
            return fail(QStringLiteral("Il file %1 è di sola lettura.").arg(path));
        if (isFileLockedByOthers(path))
            return fail(QStringLiteral("Il file %1 è in uso da un altro programma.").arg(path));
    }

    // Never in place, never buffered: the old document stays until the new one is whole and on
    // the disk, and a write the disk refuses is seen at once.
    FileReplacement file(path);
    if (!file.open())
        return fail(QStringLiteral("Impossibile creare il file %1: %2").arg(path, file.failureReason()));

    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(properties.title);
        writer.setCreator(properties.creator);
        writer.setDocumentXmpMetadata(pdfXmpMetadata(properties));
        writer.setResolution(pdfResolutionDpi);
        writer.setPageLayout(pageLayout);
        QPainter painter;
        if (painter.begin(&writer)) {
            painted = paint(painter, writer);
            // end() writes the rest of the document; its failure means an incomplete file.
            painted = painter.end() && painted;
        }
    }
    if (file.failed()) {
        file.discard();
        return fail(
            QStringLiteral("Impossibile scrivere il documento PDF %1: %2").arg(path, file.failureReason()));
    }
    if (!painted) {
        file.discard();
        return fail(QStringLiteral("Impossibile scrivere il documento PDF %1.").arg(path));
    }
    if (!file.commit())
        return fail(QStringLiteral("Impossibile salvare il file %1: %2").arg(path, file.failureReason()));
    return true;
}

} // namespace tarvello
