#pragma once
// Compiling and running the Delphi project with the tools of the settings:
// the compiler on the project source, "Compile all" through the batch file
// compall.bat (its output captured in result.txt in the program's folder),
// the program the compiler made, and the Delphi IDE. Every program runs in
// the project source's folder. While a program runs, pump is called about
// every 50 ms, so that the windows stay painted.
#include "platform/Process.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace lingrove::model {

class Workspace;

// What a tool printed, line by line (UTF-8 or Windows-1252, any line ends).
QStringList outputLines(const QByteArray& output);

// True when a compiler's run failed: it did not start, crashed, ended with an
// exit code other than 0, or printed an error ("Error:", "Fatal:", "error
// E2003:" as Delphi and Free Pascal write them).
bool toolFailed(const platform::ProcessResult& result);

class BuildService {
public:
    using Pump = std::function<void()>;

    explicit BuildService(const Workspace& workspace);

    // The Delphi project source, and the folder every program runs in.
    QString projectSource() const;
    QString workingFolder() const;

    // The compiler on the project source. shown: as a program with a window
    // (Compile) or hidden (before Run).
    platform::ProcessResult compile(bool shown, const Pump& pump) const;

    // The pieces of "Compile all": the batch file's line for sh, and the
    // paths of compall.bat and result.txt in the program's folder.
    QString compileAllLine() const;
    static QString compileAllScript();
    static QString compileAllOutput();
    struct CompileAll {
        bool started = false;
        QString error;        // the batch file or its output could not be written or read
        QStringList output;   // the lines of result.txt
    };
    // Writes compall.bat, runs it with sh and reads result.txt.
    CompileAll compileAll(const Pump& pump) const;

    // The program the compiler makes: the project source with ".exe".
    QString programFile() const;
    platform::ProcessResult runProgram(const Pump& pump) const;
    platform::ProcessResult runIde(const Pump& pump) const;

private:
    const Workspace& workspace_;
};

} // namespace lingrove::model
