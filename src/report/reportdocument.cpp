#include "report/reportdocument.h"

#include "core/progress.h"
#include "report/reportrenderer.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <memory>

namespace tarvello
{

namespace
{

// Stands in for the PDF writer when a report is measured without being written: an image
// reports the same resolution, and fonts measure on it as on the writer.
QImage measuringDevice()
{
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(pdfResolutionDpi / mmPerInch * 1000.0);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

} // namespace

ReportDocument::ReportDocument(ReportLayout layout) : m_layout(std::move(layout)) {}

bool ReportDocument::setText(const QString& name, const QString& text)
{
    const ReportObject* object = name.isEmpty() ? nullptr : m_layout.findObject(name);
    if (!object || object->kind != ObjectKind::Text)
        return false;
    m_texts.insert(name, text);
    return true;
}

bool ReportDocument::setPicture(const QString& name, const QImage& picture)
{
    const ReportObject* object = name.isEmpty() ? nullptr : m_layout.findObject(name);
    if (!object || object->kind != ObjectKind::Picture)
        return false;
    m_pictures.insert(name, picture);
    return true;
}

QString ReportDocument::text(const QString& name) const
{
    const auto set = m_texts.constFind(name);
    if (set != m_texts.cend())
        return *set;
    const ReportObject* object = name.isEmpty() ? nullptr : m_layout.findObject(name);
    return object ? object->designText : QString();
}

QImage ReportDocument::picture(const QString& name) const
{
    const auto set = m_pictures.constFind(name);
    if (set != m_pictures.cend())
        return *set;
    const ReportObject* object = name.isEmpty() ? nullptr : m_layout.findObject(name);
    return object ? object->designPicture : QImage();
}

QString ReportDocument::textOf(const ReportObject& object) const
{
    if (object.name.isEmpty())
        return object.designText;
    const auto set = m_texts.constFind(object.name);
    return set != m_texts.cend() ? *set : object.designText;
}

QImage ReportDocument::pictureOf(const ReportObject& object) const
{
    if (object.name.isEmpty())
        return object.designPicture;
    const auto set = m_pictures.constFind(object.name);
    return set != m_pictures.cend() ? *set : object.designPicture;
}

void ReportDocument::setRows(int count, RowSource rows)
{
    m_rowCount = std::max(0, count);
    m_rows = std::move(rows);
}

int ReportDocument::rowCount() const
{
    return m_rowCount < 0 ? 1 : m_rowCount;
}

ReportDocument::RowTexts ReportDocument::rowTexts(int row) const
{
    if (m_rowCount < 0 || !m_rows || row < 0 || row >= m_rowCount)
        return {};
    return m_rows(row);
}

double ReportDocument::bandHeightMm(const QString& bandName, int row) const
{
    const ReportBand* band = m_layout.findBand(bandName);
    if (!band)
        return 0.0;
    QImage device = measuringDevice();
    return ReportRenderer::bandHeightMm(*this, *band, row, &device);
}

int ReportDocument::pageCount() const
{
    QImage device = measuringDevice();
    return ReportRenderer(*this, &device).pageCount();
}

bool ReportDocument::paintPages(QPainter& painter, QPagedPaintDevice* device, Progress* progress) const
{
    // Measured on the device itself, so what is printed is what was laid out.
    const ReportRenderer renderer(*this, device);
    if (progress)
        progress->setTotal(renderer.pageCount());
    for (int page = 0; page < renderer.pageCount(); ++page) {
        if (page > 0 && !device->newPage())
            return false;
        renderer.paintPage(painter, page);
        if (progress && !progress->advance(page + 1))
            return false;
    }
    return true;
}

void ReportDocument::preparePrinter(QPrinter* printer) const
{
    printer->setDocName(m_layout.documentName());
    if (!printer->setPageLayout(m_layout.pageLayout())) {
        // A printer may refuse the margins; page and orientation are what matter, as the
        // engine places everything from the paper's corner itself.
        printer->setPageSize(QPageSize(m_layout.pageSize()));
        printer->setPageOrientation(m_layout.pageLayout().orientation());
    }
    printer->setFullPage(true);
}

bool ReportDocument::print(QPrinter* printer) const
{
    if (!printer)
        return false;
    preparePrinter(printer);
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    bool ok = paintPages(painter, printer);
    ok = painter.end() && ok;
    return ok && printer->printerState() != QPrinter::Error && printer->printerState() != QPrinter::Aborted;
}

PagePainter ReportDocument::previewPainter() const
{
    auto snapshot = std::make_shared<const ReportDocument>(*this);
    return [snapshot](QPainter& painter, QPagedPaintDevice& device, Progress* progress) {
        return snapshot->paintPages(painter, &device, progress);
    };
}

bool ReportDocument::writePdf(const QString& path, const PdfProperties& properties,
                              QString* errorMessage) const
{
    PdfProperties effective = properties;
    if (effective.title.isEmpty())
        effective.title = m_layout.documentName();
    return writePdfFile(
        path, m_layout.pageLayout(), effective,
        [this](QPainter& painter, QPdfWriter& writer) { return paintPages(painter, &writer); }, errorMessage);
}

} // namespace tarvello
