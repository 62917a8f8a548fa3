#include "program.h"
#include "shell/services.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvello"));
    tarvello::Program::prepareApplication();
    tarvello::QtServices services;
    // The program's folder is the executable's: copying it backs up every archive.
    tarvello::Program program(QCoreApplication::applicationDirPath(), services);
    program.start();
    return app.exec();
}
