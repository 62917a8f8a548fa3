#pragma once

#include <QDialog>
#include <QKeySequence>

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace tarvello
{

// The print preview: the pages as they will print, with printing, zoom, full screen, thumbnails,
// page navigation and closing. Nothing here edits the document: no page set-up, no orientation,
// which the program's layouts fix for themselves.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    PreviewWindow(QPrinter& printer, QWidget* parent = nullptr);

    QPrintPreviewWidget* pages() const { return m_pages; }

Q_SIGNALS:
    // The pages are to be drawn on this printer (the preview's, or the one chosen to print).
    void paintRequested(QPrinter* printer);

private:
    QAction* addCommand(const QString& objectName, const QString& text, const QKeySequence& keys);
    void printPages();
    void toggleFullScreen();
    void goToPage(int page);
    void showPageNumber();

    QPrinter& m_printer;
    QPrintPreviewWidget* m_pages;
    QAction* m_fullScreen = nullptr;
    QLabel* m_pageNumber = nullptr;
};

} // namespace tarvello
