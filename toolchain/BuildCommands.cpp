#include "toolchain/BuildCommands.h"

#include "app/AppState.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/UserInterface.h"
#include "toolchain/CMess.h"
#include "toolchain/Codepage.h"
#include "toolchain/StInfo.h"
#include "toolchain/VersWizard.h"
#include "core/rcscript/BatchLine.h"

#include <QApplication>
#include <QWidget>

namespace lingrove::toolchain {

using platform::ui;

BuildCommands::BuildCommands(BuildContext context, QObject* parent)
    : QObject(parent), ctx_(std::move(context))
{
}

BuildCommands::~BuildCommands()
{
    // Top-level windows of our own; the wizard and the messages have the
    // main window as parent and go with it.
    delete stInfo_;
    if (!ctx_.parent) {
        delete cMess_;
        delete vers_;
    }
}

QString BuildCommands::delphiProjectFile() const
{
    if (ctx_.delphiProjectFile) {
        const QString copy = ctx_.delphiProjectFile();
        if (!copy.isEmpty())
            return copy;
    }
    return app::state().project.DelphiProjectFile;
}

TStInfo& BuildCommands::StInfo()
{
    if (!stInfo_)
        stInfo_ = new TStInfo();
    return *stInfo_;
}

TCMess& BuildCommands::CMess()
{
    if (!cMess_)
        cMess_ = new TCMess(ctx_.parent);
    return *cMess_;
}

TVers& BuildCommands::Vers()
{
    if (!vers_)
        vers_ = new TVers(*this, ctx_.parent);
    return *vers_;
}

void BuildCommands::setBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

void BuildCommands::minimizeApplication(bool minimize)
{
    QWidget* window = ctx_.parent ? ctx_.parent->window() : nullptr;
    if (!window)
        return;
    if (minimize)
        window->showMinimized();
    else
        window->showNormal();
}

// "Ready" after a successful start, "An error has occuped!" otherwise; then
// the pause, hidden, resting text back.
void BuildCommands::finishWait(bool started)
{
    TStInfo& info = StInfo();
    info.showText(started ? QStringLiteral("Ready") : QStringLiteral("An error has occuped!"));
    pauseWithMessages(500);
    info.hideAndReset();
}

static QStringList projectArgument(const QString& dpr)
{
    // An empty project path gives the compiler no argument at all.
    return dpr.isEmpty() ? QStringList() : QStringList{dpr};
}

void BuildCommands::Compile()
{
    const auto& s = app::state().settings;
    const QString dpr = delphiProjectFile();
    // The wait window is up while the compiler starts; a failed start turns
    // it into the error note.
    StInfo().showText(QString::fromLatin1(TStInfo::RestingText));
    const auto result = platform::runAndWait(s.compilerPath(), projectArgument(dpr), {},
                                             platform::WindowMode::Normal, paintWhileWaiting);
    finishWait(result.started);
}

QString BuildCommands::compallPath()
{
    return platform::joinPath(platform::programFolder(), "compall.bat");
}

QString BuildCommands::resultPath()
{
    return platform::joinPath(platform::programFolder(), "result.txt");
}

QString BuildCommands::compallLine() const
{
    const auto& s = app::state().settings;
    rcscript::BatchPaths paths;
    paths.compilerDir = platform::toNative(s.CompilerDir).toStdString();
    paths.compilerExe = s.CompilerExe.toStdString();
    paths.projectFile = delphiProjectFile().toStdString();
    paths.programFolder = (platform::programFolder() + platform::separator()).toStdString();
    const std::string line =
        rcscript::compallLine(paths, rcscript::Shell::Sh, platform::separator().toLatin1());
    return QString::fromStdString(line);
}

void BuildCommands::CompileAll()
{
    const QString bat = compallPath();
    {
        const QByteArray bytes =
            QByteArray::fromStdString(rcscript::compallFile(compallLine().toStdString()));
        QString why;
        if (!platform::writeFileAtomically(bat, bytes, &why)) {
            ui().error(ctx_.parent, QStringLiteral("Cannot create file \"%1\". %2").arg(bat, why));
            return;
        }
    }

    // The batch file keeps the CR LF of its Windows form; sh runs its text
    // without the carriage returns.
    TStInfo& info = StInfo();
    setBusyCursor(true);
    info.showText(QString::fromLatin1(TStInfo::RestingText));
    const auto result = platform::runAndWait(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("eval \"$(tr -d '\\r' < \"$0\")\""), bat}, {},
        platform::WindowMode::Hidden, paintWhileWaiting);
    if (!result.started) {
        setBusyCursor(false);
        info.hideAndReset();
        return;
    }
    info.showText(QStringLiteral("Ready"));
    pauseWithMessages(500);
    info.hideAndReset();
    setBusyCursor(false);

    QByteArray output;
    QString why;
    if (platform::readFile(resultPath(), output, &why) != platform::ReadResult::Read) {
        ui().error(ctx_.parent, QStringLiteral("Cannot open file \"%1\". %2").arg(resultPath(), why));
        return;
    }
    QString text = decodeToolOutput(output);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();   // the line end of the last line opens no new line
    TCMess& mess = CMess();
    mess.setLines(lines);
    ui().exec(mess);
}

void BuildCommands::CompilerInfo()
{
    const QString& last = CMess().LastCompilerMessage;
    if (last.isEmpty())
        return;
    ui().message(ctx_.parent, QStringLiteral("Last compiler message:\n") + last);
}

void BuildCommands::Run()
{
    const auto& s = app::state().settings;
    const QString dpr = delphiProjectFile();
    TStInfo& info = StInfo();
    info.showText(QString::fromLatin1(TStInfo::RestingText));
    setBusyCursor(true);
    const auto compiled = platform::runAndWait(s.compilerPath(), projectArgument(dpr), {},
                                               platform::WindowMode::Hidden, paintWhileWaiting);
    if (!compiled.started) {
        info.hideAndReset();
        ui().message(ctx_.parent, QStringLiteral("Fehler!"));
        setBusyCursor(false);
        return;
    }
    info.hideAndReset();

    // The compiler's result is not looked at: the program file is started
    // whether it is new, old or missing.
    const QString program = platform::toNative(dpr.left(std::max<qsizetype>(0, dpr.size() - 4)) + ".exe");
    bool minimized = false;
    const auto run = platform::runAndWait(program, {}, {}, platform::WindowMode::Normal, [&] {
        if (!minimized) {
            minimizeApplication(true);
            minimized = true;
        }
        paintWhileWaiting();
    });
    if (run.started)
        minimizeApplication(false);
    else
        ui().message(ctx_.parent, QStringLiteral("Fehler!"));
    setBusyCursor(false);
}

void BuildCommands::RunDelphiIDE()
{
    const auto& s = app::state().settings;
    bool minimized = false;
    const auto result = platform::runAndWait(s.idePath(), projectArgument(delphiProjectFile()), {},
                                             platform::WindowMode::Normal, [&] {
                                                 if (!minimized) {
                                                     minimizeApplication(true);
                                                     minimized = true;
                                                 }
                                                 paintWhileWaiting();
                                             });
    if (result.started)
        minimizeApplication(false);
    else
        ui().message(ctx_.parent, QStringLiteral("Fehler!"));
}

} // namespace lingrove::toolchain
