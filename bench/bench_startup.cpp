// The program started as main() starts it, on the shop folder given, ending as soon as the
// password window has painted itself: timed from outside as a whole process (bench_windows
// startup), for the time and peak memory of start-up.
//
//     build/bench/bench_startup SHOP

#include "program/program.h"
#include "shell/services.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace
{

// Ends the process once a widget of the password window has painted, with nothing torn down:
// what follows the first paint is no part of what the user waits for.
class PasswordShown final : public QObject
{
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !object->isWidgetType() || m_inside)
            return false;
        QWidget* window = static_cast<QWidget*>(object)->window();
        if (window->objectName() != u"frmPassword")
            return false;
        m_inside = true;
        QCoreApplication::sendEvent(object, event);
        std::fflush(nullptr);
        std::_Exit(0);
    }

private:
    bool m_inside = false;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_startup SHOP\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvello"));
    tarvello::Program::prepareApplication();
    tarvello::QtServices services;
    PasswordShown shown;
    app.installEventFilter(&shown);
    tarvello::Program program(QDir(QString::fromLocal8Bit(argv[1])).absolutePath(), services);
    program.start();
    app.exec();
    std::fprintf(stderr, "bench_startup: the password window was never painted\n");
    return 1;
}
