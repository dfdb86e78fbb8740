#pragma once
// The hourglass while a long operation runs; restored also when it throws.
#include <QCursor>
#include <QGuiApplication>

namespace lingrove::ui {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace lingrove::ui
