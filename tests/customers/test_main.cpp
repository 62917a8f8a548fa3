#include "program/program.h"

#include <QApplication>
#include <QTest>

int runCardTests(int argc, char** argv);
int runAttachmentWindowTests(int argc, char** argv);
int runCardPrintTests(int argc, char** argv);
int runSearchTests(int argc, char** argv);
int runRecontactTests(int argc, char** argv);
int runCustomerExportTests(int argc, char** argv);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvello::Program::prepareApplication();
    int failures = runCardTests(argc, argv);
    failures += runAttachmentWindowTests(argc, argv);
    failures += runCardPrintTests(argc, argv);
    failures += runSearchTests(argc, argv);
    failures += runRecontactTests(argc, argv);
    failures += runCustomerExportTests(argc, argv);
    return failures;
}
