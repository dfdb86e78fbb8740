#pragma once
// Starting programs and waiting for them.
//
// The window modes of the Windows calls map onto what Linux has. Linux gives
// a starting program no say in how its windows appear, so Minimized and
// Maximized start it like Normal and the desktop decides. What differs is the
// console: on Windows a console program started shown gets a console window,
// started hidden gets none. Here every started program reads from the null
// device, and runAndWait collects standard output and error merged into
// ProcessResult::output in every mode; in the shown modes (all but Hidden) the
// output is also copied to this program's standard output as it comes, which
// stands in for the console window.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace lingrove::platform {

enum class WindowMode { Normal, Hidden, Minimized, Maximized };

struct ProcessResult {
    bool started = false;
    bool crashed = false;
    int exitCode = -1;
    QString error;        // why it did not start, or crashed
    QByteArray output;    // standard output and error, merged
};

// Start and do not wait. False when it could not be started.
bool startDetached(const QString& program, const QStringList& args,
                   const QString& workingDir = {}, QString* error = nullptr);

// Start and wait for the end. While waiting, pump is called about every
// 50 ms (the caller keeps its windows painted there).
ProcessResult runAndWait(const QString& program, const QStringList& args,
                         const QString& workingDir = {}, WindowMode mode = WindowMode::Normal,
                         const std::function<void()>& pump = {});

} // namespace lingrove::platform
