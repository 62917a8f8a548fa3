#include "program/program.h"

#include <QApplication>
#include <QTest>

int runShellTests(int argc, char** argv);
int runConventionTests(int argc, char** argv);
int runCommandTests(int argc, char** argv);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvello::Program::prepareApplication();
    int failures = runConventionTests(argc, argv);
    failures += runCommandTests(argc, argv);
    failures += runShellTests(argc, argv);
    return failures;
}
