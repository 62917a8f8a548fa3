#include "previewwindow.h"

#include "printjob.h"
#include "services.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace tarvello
{

PreviewWindow::PreviewWindow(QPrinter& printer, Services& services, PagePainter paint, QWidget* parent)
    : QDialog(parent), m_printer(printer), m_services(services), m_paint(std::move(paint)),
      m_page(printer.pageLayout()), m_pages(new QPrintPreviewWidget(&printer, this))
{
    setObjectName(QStringLiteral("frmAnteprima"));
    setWindowTitle(QStringLiteral(" Anteprima di stampa"));
    m_pages->setObjectName(QStringLiteral("panPagine"));
    connect(m_pages, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* pages) {
        QPainter painter;
        if (painter.begin(pages)) {
            (void)m_paint(painter, *pages, nullptr); // a page that cannot be begun shows as a blank one
            painter.end();
        }
    });

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("barAnteprima"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const char* name, const char* text, const QKeySequence& keys) {
        QAction* a = addCommand(QString::fromLatin1(name), QString::fromUtf8(text), keys);
        bar->addAction(a);
        return a;
    };
    connect(add("actStampa", "Stampa...", QKeySequence::Print), &QAction::triggered, this,
            &PreviewWindow::printPages);
    bar->addSeparator();
    connect(add("actAdattaLarghezza", "Adatta alla larghezza", {}), &QAction::triggered, m_pages,
            &QPrintPreviewWidget::fitToWidth);
    connect(add("actAdattaPagina", "Pagina intera", {}), &QAction::triggered, m_pages,
            &QPrintPreviewWidget::fitInView);
    connect(add("actIngrandisci", "Ingrandisci", QKeySequence::ZoomIn), &QAction::triggered, m_pages,
            [this] { m_pages->zoomIn(); });
    connect(add("actRiduci", "Riduci", QKeySequence::ZoomOut), &QAction::triggered, m_pages,
            [this] { m_pages->zoomOut(); });
    bar->addSeparator();
    connect(add("actPaginaSingola", "Una pagina", {}), &QAction::triggered, m_pages,
            &QPrintPreviewWidget::setSinglePageViewMode);
    connect(add("actMiniature", "Miniature", {}), &QAction::triggered, m_pages,
            &QPrintPreviewWidget::setAllPagesViewMode);
    bar->addSeparator();
    connect(add("actPrimaPagina", "Prima", QKeySequence(Qt::CTRL | Qt::Key_Home)), &QAction::triggered, this,
            [this] { goToPage(1); });
    connect(add("actPaginaPrecedente", "Precedente", QKeySequence(Qt::Key_PageUp)), &QAction::triggered, this,
            [this] { goToPage(m_pages->currentPage() - 1); });
    m_pageNumber = new QLabel(this);
    m_pageNumber->setObjectName(QStringLiteral("lblPagina"));
    m_pageNumber->setMinimumWidth(70);
    m_pageNumber->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageNumber);
    connect(add("actPaginaSuccessiva", "Successiva", QKeySequence(Qt::Key_PageDown)), &QAction::triggered,
            this, [this] { goToPage(m_pages->currentPage() + 1); });
    connect(add("actUltimaPagina", "Ultima", QKeySequence(Qt::CTRL | Qt::Key_End)), &QAction::triggered, this,
            [this] { goToPage(m_pages->pageCount()); });
    bar->addSeparator();
    m_fullScreen = add("actSchermoIntero", "Schermo intero", QKeySequence(Qt::Key_F11));
    m_fullScreen->setCheckable(true);
    connect(m_fullScreen, &QAction::triggered, this, &PreviewWindow::toggleFullScreen);
    connect(add("actChiudi", "Chiudi", QKeySequence(Qt::Key_Escape)), &QAction::triggered, this,
            &QDialog::reject);

    connect(m_pages, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::showPageNumber);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_pages, 1);
    resize(1000, 760);
}

QAction* PreviewWindow::addCommand(const QString& objectName, const QString& text, const QKeySequence& keys)
{
    auto* a = new QAction(text, this);
    a->setObjectName(objectName);
    if (!keys.isEmpty()) {
        a->setShortcut(keys);
        a->setToolTip(text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + u')');
    }
    addAction(a); // the shortcut works wherever the focus is in the window
    return a;
}

void PreviewWindow::printPages()
{
    // The document prints on the page it is laid out on, whatever the dialog offered.
    const PrintOutcome outcome =
        printThroughDialog(m_services, this, m_printer, m_paint, [this](QPrinter& p) {
            p.setPageLayout(m_page);
            return true;
        });
    switch (outcome) {
    case PrintOutcome::NoPrinter:
        m_services.message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: non è disponibile nessuna stampante, quindi il documento "
                           "non è stato stampato.\r\n\r\nInstallare o collegare una stampante "
                           "e riprovare."));
        break;
    case PrintOutcome::Failed:
        m_services.message(
            this, MessageKind::Warning,
            QStringLiteral("Attenzione: si è verificato un errore durante la stampa, quindi il "
                           "documento potrebbe non essere stato stampato.\r\n\r\nControllare la "
                           "stampante e riprovare."));
        break;
    case PrintOutcome::Printed:
    case PrintOutcome::Cancelled:
    case PrintOutcome::FileNotWritten: // already told
        break;
    }
}

void PreviewWindow::goToPage(int page)
{
    m_pages->setCurrentPage(qBound(1, page, qMax(1, m_pages->pageCount())));
    showPageNumber();
}

void PreviewWindow::showPageNumber()
{
    m_pageNumber->setText(QStringLiteral("%1 di %2").arg(m_pages->currentPage()).arg(m_pages->pageCount()));
}

void PreviewWindow::toggleFullScreen()
{
    if (isFullScreen())
        showMaximized();
    else
        showFullScreen();
    m_fullScreen->setChecked(isFullScreen());
}

} // namespace tarvello
