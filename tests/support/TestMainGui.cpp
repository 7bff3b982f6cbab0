// Test entry for the library's tests: a GUI application (for images, fonts and
// painters), no widgets.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never need a screen, also when a test runner lists them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
