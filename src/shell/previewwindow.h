#pragma once

#include "report/pagepainter.h"

#include <QDialog>
#include <QKeySequence>
#include <QPageLayout>

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace tarvello
{

class Services;

// The print preview: the pages as they will print, with printing, zoom, full screen, thumbnails,
// page navigation and closing. Nothing here edits the document: no page set-up, no orientation,
// which the program's layouts fix for themselves. Printing goes through the program's one print
// path (printjob.h), through the print dialog of `services`.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    // `paint` draws the pages on the page of `printer` as the caller has set it up.
    PreviewWindow(QPrinter& printer, Services& services, PagePainter paint, QWidget* parent = nullptr);

private:
    QAction* addCommand(const QString& objectName, const QString& text, const QKeySequence& keys);
    void printPages();
    void toggleFullScreen();
    void goToPage(int page);
    void showPageNumber();

    QPrinter& m_printer;
    Services& m_services;
    PagePainter m_paint;
    QPageLayout m_page; // the page the document is laid out on
    QPrintPreviewWidget* m_pages;
    QAction* m_fullScreen = nullptr;
    QLabel* m_pageNumber = nullptr;
};

} // namespace tarvello
