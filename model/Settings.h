#pragma once
// The program's settings as held in memory. SettingsStore reads them from the
// key store at start and writes them when the options are confirmed.
#include "core/scanner/Scanner.h"
#include "model/DictionaryLocation.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace lingrove::model {

// How the editor marks a string: colour and style.
struct TextLook {
    QColor color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    void applyTo(QFont& font) const;
    bool operator==(const TextLook&) const = default;
};

// A program of the Delphi installation as stored: a folder (up to and
// including its last separator) and a file name.
struct ToolPath {
    QString folder;
    QString program;

    // Splits a stored path at its last "\", "/" or ":".
    static ToolPath fromStored(const QString& path);
    QString stored() const { return folder + program; }
    // folder + program, as the file system takes it.
    QString path() const;
    // Another program in the same folder, as the file system takes it.
    QString sibling(const QString& name) const;
    bool operator==(const ToolPath&) const = default;
};

struct Settings {
    ToolPath ide;
    ToolPath compiler;
    ToolPath resourceCompiler;

    // Which kinds of literal are offered for translation.
    scanner::FilterSwitches accept;

    // The Delphi version whose editor colours the pages use: 2 or 3.
    int colourScheme = 2;

    TextLook selectedLook{QColor(255, 0, 0), false, false, false, true};   // "Selected string"
    TextLook changedLook{QColor(0, 128, 0), false, false, true, false};    // "Changed string"

    // Where the dictionary tables live: this computer (the default) or a
    // server. The server is kept even while this computer is chosen. Never
    // a password.
    DictionaryLocation dictionary;

    // What is used when nothing is stored: the tools in the folder of our
    // stand-ins for the Delphi programs.
    static Settings defaults();

    // The compiler's configuration file, dcc32.cfg beside the compiler.
    QString compilerConfigPath() const { return compiler.sibling(QStringLiteral("dcc32.cfg")); }
    // The image editor, imagedit.exe beside the compiler.
    QString imageEditorPath() const { return compiler.sibling(QStringLiteral("imagedit.exe")); }
};

} // namespace lingrove::model
