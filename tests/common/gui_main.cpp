// main() for test programs of the model that need fonts and text documents
// but no widgets: a QGuiApplication on the offscreen platform.
#include <QGuiApplication>
#include <gtest/gtest.h>

// Weak, so that a test program with a main() of its own keeps it.
__attribute__((weak)) int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
