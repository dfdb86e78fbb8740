// main() for test programs that show widgets: a QApplication on the
// offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

// Weak, so that a test program with a main() of its own keeps it.
__attribute__((weak)) int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
