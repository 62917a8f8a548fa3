#pragma once

// Work that may make the user wait (a search over a large archive, an export): after half a second
// its window shows how far it has come and a button to stop it. The work runs where it is called
// and gives the window its turns each time it reports progress, so it may use what any code of the
// window uses. While it runs the program takes no other input: Esc or the button stop it, closing
// the window stops it first.

#include "core/progress.h"

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvello
{

class ProgressPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget* parent = nullptr);

    QPushButton* stopButton() const { return m_stop; }
    void show(const QString& text, double fraction);

    // How long work runs before its progress shows (half a second).
    static int showAfterMs();
    static void setShowAfterMs(int ms);

private:
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_stop = nullptr;
};

// Runs `work` and returns once it ended; false when the user stopped it (the work saw
// Progress::advance answer false). `text` says what is being done.
bool runLong(ProgressPanel* panel, const QString& text, const std::function<void(Progress&)>& work);

// The same, for a window without a panel of its own where the work is started (a summary, a
// printing): the progress shows in a panel laid over the bottom of `window` while the work runs.
bool runLongOver(QWidget* window, const QString& text, const std::function<void(Progress&)>& work);

} // namespace tarvello
