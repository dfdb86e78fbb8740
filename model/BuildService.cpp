#include "model/BuildService.h"

#include "core/rcscript/BatchLine.h"
#include "model/TextCodec.h"
#include "model/Workspace.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"

#include <QRegularExpression>

namespace lingrove::model {

namespace {

QStringList projectArgument(const QString& dpr)
{
    // An empty project path gives the program no argument at all.
    return dpr.isEmpty() ? QStringList() : QStringList{dpr};
}

} // namespace

QStringList outputLines(const QByteArray& output)
{
    QString text = decodeProgramOutput(output);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();   // the line end of the last line opens no new line
    return lines;
}

bool toolFailed(const platform::ProcessResult& result)
{
    if (!result.started || result.crashed || result.exitCode != 0)
        return true;
    static const QRegularExpression error(QStringLiteral("(^|[\\s)])(Error|Fatal|error|fatal)( [EF]\\d+)?:"));
    for (const QString& line : outputLines(result.output))
        if (error.match(line).hasMatch())
            return true;
    return false;
}

BuildService::BuildService(const Workspace& workspace)
    : workspace_(workspace)
{
}

QString BuildService::projectSource() const
{
    return workspace_.project().delphiProjectFile;
}

QString BuildService::workingFolder() const
{
    const QString folder = workspace_.project().delphiProjectFolder();
    return folder.isEmpty() ? platform::programFolder() : folder;
}

platform::ProcessResult BuildService::compile(bool shown, const Pump& pump) const
{
    return platform::runAndWait(workspace_.settings().compiler.path(), projectArgument(projectSource()),
                                workingFolder(), shown ? platform::WindowMode::Normal : platform::WindowMode::Hidden,
                                pump);
}

QString BuildService::compileAllScript()
{
    return platform::joinPath(platform::programFolder(), QStringLiteral("compall.bat"));
}

QString BuildService::compileAllOutput()
{
    return platform::joinPath(platform::programFolder(), QStringLiteral("result.txt"));
}

QString BuildService::compileAllLine() const
{
    const Settings& s = workspace_.settings();
    rcscript::BatchPaths paths;
    paths.compilerDir = platform::toNative(s.compiler.folder).toStdString();
    paths.compilerExe = s.compiler.program.toStdString();
    paths.projectFile = projectSource().toStdString();
    paths.programFolder = (platform::programFolder() + platform::separator()).toStdString();
    const std::string line = rcscript::compallLine(paths, rcscript::Shell::Sh, platform::separator().toLatin1());
    return QString::fromStdString(line);
}

BuildService::CompileAll BuildService::compileAll(const Pump& pump) const
{
    CompileAll result;
    const QString script = compileAllScript();
    const QByteArray bytes = QByteArray::fromStdString(rcscript::compallFile(compileAllLine().toStdString()));
    QString why;
    if (!platform::writeFileAtomically(script, bytes, &why)) {
        result.error = QStringLiteral("Cannot create file \"%1\". %2").arg(script, why);
        return result;
    }
    // The batch file keeps the CR LF of its Windows form; sh runs its text
    // without the carriage returns.
    const platform::ProcessResult run = platform::runAndWait(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("eval \"$(tr -d '\\r' < \"$0\")\""), script},
        workingFolder(), platform::WindowMode::Hidden, pump);
    result.started = run.started;
    if (!run.started)
        return result;

    QByteArray output;
    if (platform::readFile(compileAllOutput(), output, &why) != platform::ReadResult::Read) {
        result.error = QStringLiteral("Cannot open file \"%1\". %2").arg(compileAllOutput(), why);
        return result;
    }
    result.output = outputLines(output);
    return result;
}

QString BuildService::programFile() const
{
    const QString dpr = projectSource();
    return platform::toNative(dpr.left(std::max<qsizetype>(0, dpr.size() - 4)) + QStringLiteral(".exe"));
}

platform::ProcessResult BuildService::runProgram(const Pump& pump) const
{
    return platform::runAndWait(programFile(), {}, workingFolder(), platform::WindowMode::Normal, pump);
}

platform::ProcessResult BuildService::runIde(const Pump& pump) const
{
    return platform::runAndWait(workspace_.settings().ide.path(), projectArgument(projectSource()), workingFolder(),
                                platform::WindowMode::Normal, pump);
}

} // namespace lingrove::model
