#include <QApplication>

#include <gtest/gtest.h>

// Printing needs a GUI application; the tests also run when discovered at build time, outside
// the test environment, so they pick the offscreen platform themselves.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
