#pragma once
// The Qt core application object the tests need (application folder,
// processes), made once per test program.
#include <QCoreApplication>

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

} // namespace lingrove::platform::test
