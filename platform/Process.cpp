#include "platform/Process.h"

#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace lingrove::platform {

namespace {

QString describeStartError(const QProcess& p, const QString& program)
{
    switch (p.error()) {
    case QProcess::FailedToStart:
        return QStringLiteral("Cannot start %1: %2").arg(program, p.errorString());
    case QProcess::Crashed:
        return QStringLiteral("%1 crashed").arg(program);
    default:
        return p.errorString();
    }
}

} // namespace

bool startDetached(const QString& program, const QStringList& args, const QString& workingDir, QString* error)
{
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    // Started programs do not read from our terminal.
    p.setStandardInputFile(QProcess::nullDevice());
    if (p.startDetached())
        return true;
    if (error)
        *error = describeStartError(p, program);
    return false;
}

ProcessResult runAndWait(const QString& program, const QStringList& args, const QString& workingDir,
                         WindowMode mode, const std::function<void()>& pump)
{
    ProcessResult result;
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QIODevice::ReadOnly);
    if (!p.waitForStarted(-1)) {
        result.error = describeStartError(p, program);
        return result;
    }
    result.started = true;
    // waitForFinished sleeps in the kernel until the process ends or the
    // 50 ms pass, so the pump runs at that pace without a busy loop.
    const bool shown = mode != WindowMode::Hidden;
    const auto collect = [&] {
        const QByteArray chunk = p.readAll();
        if (chunk.isEmpty())
            return;
        result.output += chunk;
        if (shown) {
            std::fwrite(chunk.constData(), 1, size_t(chunk.size()), stdout);
            std::fflush(stdout);
        }
    };
    while (!p.waitForFinished(50)) {
        if (p.state() == QProcess::NotRunning)
            break;
        collect();
        if (pump)
            pump();
    }
    collect();
    if (p.exitStatus() == QProcess::CrashExit) {
        result.crashed = true;
        result.error = QStringLiteral("%1 crashed").arg(program);
    } else {
        result.exitCode = p.exitCode();
    }
    return result;
}

} // namespace lingrove::platform
