#pragma once
// Everything the program fixes about the Delphi installation beside it: where
// the compiler, the IDE, the resource compiler and the image editor are, the
// compiler's configuration file and the IDE's keys in the key store. On Linux
// the Delphi programs are our stand-ins, installed by the build into the
// folder "delphi" beside the program.
#include <QString>

namespace lingrove::app {

struct Settings;

namespace delphi {

inline constexpr const char* kSettingsKey = "SOFTWARE\\QUORVEX\\Lingrove\\2.0";

// The folder of the stand-ins for the Delphi programs: the default tool folder.
QString standInFolder();

QString compilerPath(const Settings& s);     // CompilerDir + "\" + CompilerExe
QString idePath(const Settings& s);          // IdeDir + "\" + IdeExe
QString resCompPath(const Settings& s);      // ResCompDir + "\" + ResCompExe
QString imageEditorPath(const Settings& s);  // CompilerDir + "\" + "imagedit.exe"
QString compilerConfigPath(const Settings& s); // CompilerDir + "\dcc32.cfg"

// "Software\Borland\Delphi\<n>.0\Library" and "...\HighLight"
QString libraryKey(int version);
QString highlightKey(int version);

} // namespace delphi
} // namespace lingrove::app
