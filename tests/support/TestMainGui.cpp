// Test entry for the library's tests: a GUI application (for images, fonts and
// painters), no widgets.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
