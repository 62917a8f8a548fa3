#include "longwork.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>

#include <memory>
#include <optional>

namespace tarvello
{

namespace
{

int g_showAfterMs = 500;

// While the work runs, nothing but the stop button takes input; Esc stops, and a window closed
// stops the work first (it closes once the work has ended, if the user closes it again).
class InputGate : public QObject
{
public:
    InputGate(ProgressPanel* panel, Progress& progress) : m_panel(panel), m_progress(progress)
    {
        qApp->installEventFilter(this);
    }
    ~InputGate() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                m_progress.stop();
            return true;
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            return watched != m_panel->stopButton();
        case QEvent::Close:
            if (watched == m_panel->window()) {
                m_progress.stop();
                event->ignore();
                return true;
            }
            return false;
        default:
            return false;
        }
    }

private:
    ProgressPanel* m_panel;
    Progress& m_progress;
};

} // namespace

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("panProgresso"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblProgresso"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("barProgresso"));
    m_bar->setRange(0, 1000);
    m_bar->setTextVisible(true);
    m_bar->setMinimumWidth(160);
    m_stop = new QPushButton(QStringLiteral("Interrompi"), this);
    m_stop->setObjectName(QStringLiteral("btnInterrompi"));
    m_stop->setAutoDefault(false);
    row->addWidget(m_text);
    row->addWidget(m_bar, 1);
    row->addWidget(m_stop);
    QWidget::hide();
}

void ProgressPanel::show(const QString& text, double fraction)
{
    m_text->setText(text);
    m_text->setVisible(!text.isEmpty());
    m_bar->setValue(int(fraction * 1000));
    m_bar->setFormat(QStringLiteral("%1%").arg(int(fraction * 100)));
    QWidget::show();
}

int ProgressPanel::showAfterMs()
{
    return g_showAfterMs;
}

void ProgressPanel::setShowAfterMs(int ms)
{
    g_showAfterMs = ms;
}

namespace
{

// Runs the work; `panelToShow` gives the panel the first time the progress is to show.
bool runShowingIn(const std::function<ProgressPanel*()>& panelToShow, const QString& text,
                  const std::function<void(Progress&)>& work)
{
    Progress progress;
    // The work runs here, not on a thread of its own: what it builds (thousands of lines) is made
    // by the allocator's warm heap, and nothing it touches needs guarding. Its reports give the
    // window a turn now and then once the progress shows.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTurn = 0;
    ProgressPanel* panel = nullptr;
    std::optional<InputGate> gate;
    QMetaObject::Connection stopping;
    progress.onAdvance([&] {
        const qint64 now = clock.elapsed();
        if (now < g_showAfterMs || (gate && now - lastTurn < 40))
            return;
        if (!gate) {
            panel = panelToShow();
            gate.emplace(panel, progress);
            stopping = QObject::connect(panel->stopButton(), &QPushButton::clicked, panel,
                                        [&progress] { progress.stop(); });
        }
        lastTurn = now;
        panel->show(text, progress.fraction());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    });
    work(progress);
    if (gate) {
        QObject::disconnect(stopping);
        panel->hide();
        gate.reset();
    }
    return !progress.heeded();
}

} // namespace

bool runLong(ProgressPanel* panel, const QString& text, const std::function<void(Progress&)>& work)
{
    if (!panel) { // nowhere to show it: the work runs and cannot be stopped
        Progress progress;
        work(progress);
        return true;
    }
    return runShowingIn([panel] { return panel; }, text, work);
}

bool runLongOver(QWidget* window, const QString& text, const std::function<void(Progress&)>& work)
{
    if (!window)
        return runLong(nullptr, text, work);
    // Made only when the work turns out long (most end before, and a panel costs the making of
    // its widgets), laid over the bottom of the window above whatever page it shows.
    std::unique_ptr<ProgressPanel> overlay;
    return runShowingIn(
        [&] {
            overlay = std::make_unique<ProgressPanel>(window);
            overlay->setAutoFillBackground(true);
            overlay->setBackgroundRole(QPalette::Window);
            overlay->setContentsMargins(6, 6, 6, 6);
            const int height = overlay->sizeHint().height();
            overlay->setGeometry(8, window->height() - height - 8, window->width() - 16, height);
            overlay->raise();
            return overlay.get();
        },
        text, work);
}

} // namespace tarvello
