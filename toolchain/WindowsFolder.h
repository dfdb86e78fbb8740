#pragma once
#include <QString>

namespace lingrove::toolchain {

// Where Notepad and Explorer are looked for, as Windows keeps them in its
// own folder: $LINGROVE_WINDIR when set, else the folder of the stand-ins
// for the Delphi programs (<program folder>/delphi), where the build puts
// Notepad.exe and explorer.
QString windowsFolder();

} // namespace lingrove::toolchain
