#pragma once
// The Delphi compiler's configuration file dcc32.cfg beside the compiler:
// option lines such as -u"C:\lib;C:\more" (the unit search path) and -a"..."
// (the unit aliases). The program writes exactly two lines.
#include <QString>
#include <QStringList>

#include <optional>

namespace lingrove::model {

struct CompilerOptions {
    QString unitAliases;   // value of the last -a line
    QString searchPath;    // value of the last -u line
};

namespace compiler_config {

// The value of an option line: what follows the two option characters,
// without the double quotes around it. Safe for any length.
QString optionValue(const QString& line);

// The file's lines (CR LF or LF, 8-bit text), or nothing when it cannot be read.
std::optional<QStringList> read(const QString& path);

// The -a and -u values among lines (option letters in any case).
CompilerOptions options(const QStringList& lines);

// The two lines -a"aliases" and -u"path", CR LF each, through a temporary
// file renamed over the old one. False with the reason when not written.
bool write(const QString& path, const CompilerOptions& options, QString* why = nullptr);

} // namespace compiler_config
} // namespace lingrove::model
