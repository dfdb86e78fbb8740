#pragma once
// The Qt application object the tests need, made once per test program.
#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>

namespace lingrove::platform::test {

inline void ensureCoreApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "platform_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

inline void ensureGuiApp()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "platform_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

} // namespace lingrove::platform::test
