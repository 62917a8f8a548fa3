// Long work runs while its window shows, after a while, how far it has come
// and a button that stops it; meanwhile no other control of the program takes input.

#include "shell/longwork.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{

struct Window {
    QWidget window;
    QPushButton* other = new QPushButton(QStringLiteral("Esporta"), &window);
    ProgressPanel* panel = new ProgressPanel(&window);
    int otherClicks = 0;
    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(other);
        layout->addWidget(panel);
        QObject::connect(other, &QPushButton::clicked, [this] { ++otherClicks; });
        window.resize(400, 120);
        window.show();
        ProgressPanel::setShowAfterMs(100);
    }
    ~Window() { ProgressPanel::setShowAfterMs(500); }
};

// As the window system delivers a click: through the application's event filters.
void click(QWidget* w)
{
    const QPointF at = QPointF(w->rect().center());
    const QPointF global = QPointF(w->mapToGlobal(w->rect().center()));
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

// Work that goes on until it is stopped, at most ten seconds.
void untilStopped(Progress& progress)
{
    progress.setTotal(10000);
    for (qint64 i = 0; i < 10000 && progress.advance(i); ++i)
        QThread::msleep(1);
}

} // namespace

TEST(LongWork, QuickWorkShowsNothingAndEnds)
{
    Window w;
    int result = 0;
    EXPECT_TRUE(runLong(w.panel, QStringLiteral("Ricerca"), [&](Progress&) { result = 42; }));
    EXPECT_EQ(result, 42);
    EXPECT_FALSE(w.panel->isVisible());
}

TEST(LongWork, TheStopButtonStopsTheWorkAndNothingElseTakesInput)
{
    Window w;
    bool shown = false;
    int barValue = -1;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!w.panel->isVisible())
            return;
        shown = true;
        barValue = w.panel->findChild<QProgressBar*>()->value();
        click(w.other); // swallowed: the program is busy
        click(w.panel->stopButton());
        watch.stop();
    });
    watch.start();
    EXPECT_FALSE(runLong(w.panel, QStringLiteral("Ricerca"), &untilStopped));
    EXPECT_TRUE(shown);
    EXPECT_GE(barValue, 0);
    EXPECT_EQ(w.otherClicks, 0);
    EXPECT_FALSE(w.panel->isVisible());
    // Once the work has ended the window takes input again.
    click(w.other);
    EXPECT_EQ(w.otherClicks, 1);
}

TEST(LongWork, EscOrClosingTheWindowStopsTheWork)
{
    for (const bool byEsc : {true, false}) {
        Window w;
        QTimer::singleShot(250, [&] {
            if (byEsc) {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(w.other, &esc);
            } else
                w.window.close();
        });
        EXPECT_FALSE(runLong(w.panel, QStringLiteral("Ricerca"), &untilStopped)) << byEsc;
        EXPECT_TRUE(w.window.isVisible()) << "closed before the work ended";
    }
}
