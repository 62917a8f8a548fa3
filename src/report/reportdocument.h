#pragma once

#include "report/pagepainter.h"
#include "report/pdffile.h"
#include "report/reportlayout.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace tarvello
{

class Progress;

// One output of a layout: the program fills the named objects, then prints, previews or writes
// a PDF file. Each output starts from a fresh document, so the layout always prints as designed
// apart from what the program sets.
class ReportDocument
{
public:
    using RowTexts = QHash<QString, QString>; // object name -> text, for one data row
    using RowSource = std::function<RowTexts(int row)>;

    explicit ReportDocument(ReportLayout layout);

    const ReportLayout& layout() const { return m_layout; }
    void setOrientation(Orientation orientation) { m_layout.setOrientation(orientation); }

    // False when the layout has no text (or picture) object of that name: nothing is changed.
    bool setText(const QString& name, const QString& text);
    bool setPicture(const QString& name, const QImage& picture);
    // What the object prints: the text set by the program, or else the layout's own.
    QString text(const QString& name) const;
    QImage picture(const QString& name) const;
    // The same for an object of this document's layout, without a search by name.
    QString textOf(const ReportObject& object) const;
    QImage pictureOf(const ReportObject& object) const;

    // The data rows of the MasterData band. Without rows the band prints once, with the texts
    // set by setText. Names missing from a row's texts print what setText (or the layout) gives.
    void setRows(int count, RowSource rows);
    int rowCount() const;
    RowTexts rowTexts(int row) const;

    // The printed height of a band, in millimetres (for MasterData, that of the given row),
    // measured at the PDF writer's resolution. Zero for a band the layout does not have.
    double bandHeightMm(const QString& bandName, int row = 0) const;
    // Pages the report takes, measured at the PDF writer's resolution.
    int pageCount() const;

    // Sets page size, orientation and document name on a printer. Call it before showing the
    // print dialog so the dialog shows the report's page; print() applies it again anyway.
    void preparePrinter(QPrinter* printer) const;
    // Prints on a printer the caller has set up (and usually confirmed with a print dialog).
    // False when the printer cannot be opened or reports an error.
    [[nodiscard]] bool print(QPrinter* printer) const;
    // The pages for the preview (on a printer prepared with preparePrinter) and for printing from
    // it. It paints a copy of this document as it is now, so later changes to the document do not
    // reach an open preview.
    PagePainter previewPainter() const;
    // Writes a PDF file at `path`, replacing any earlier file only once the new one is complete.
    // False (with a reason in errorMessage) when nothing was written; the old file is then intact.
    [[nodiscard]] bool writePdf(const QString& path, const PdfProperties& properties,
                                QString* errorMessage = nullptr) const;

    // Paints every page on an open painter whose origin is the paper's corner, calling
    // newPage() between pages, and reports each page to `progress` when there is one. False when
    // the device refuses a new page, or the user stopped the painting.
    bool paintPages(QPainter& painter, QPagedPaintDevice* device, Progress* progress = nullptr) const;

private:
    ReportLayout m_layout;
    QHash<QString, QString> m_texts;
    QHash<QString, QImage> m_pictures;
    int m_rowCount = -1; // -1: no rows set, the band prints once
    RowSource m_rows;
};

} // namespace tarvello
