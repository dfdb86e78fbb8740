#pragma once
// What the program fixes about the Delphi installation beside it: its own
// settings key and the IDE's keys in the key store, and where the stand-ins
// for the Delphi programs are. On Linux the Delphi programs are our
// stand-ins, installed by the build into the folder "delphi" beside the
// program.
#include <QString>

namespace lingrove::model::delphi {

inline constexpr const char* kSettingsKey = "SOFTWARE\\QUORVEX\\Lingrove\\2.0";

// The folder of the stand-ins for the Delphi programs: the default tool folder.
QString standInFolder();

// Where Notepad and Explorer are looked for, as Windows keeps them in its
// own folder: $LINGROVE_WINDIR when set, else standInFolder().
QString windowsFolder();

// "Software\Borland\Delphi\<n>.0\Library" and "...\HighLight"
QString libraryKey(int version);
QString highlightKey(int version);

} // namespace lingrove::model::delphi
