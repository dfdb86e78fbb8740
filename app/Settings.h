#pragma once
// The program's settings as held in memory. They are read from the key store
// at start and written when the options dialog is confirmed (OptionsDialog).
#include <QColor>
#include <QFont>
#include <QString>

namespace lingrove::app {

// How the editor marks a string: colour and style.
struct TextLook {
    QColor color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    void applyTo(QFont& font) const;
};

struct Settings {
    QString IdeExe;
    QString IdeDir;
    QString CompilerExe;
    QString CompilerDir;
    QString ResCompExe;
    QString ResCompDir;

    // String filters: true accepts literals of that kind as strings to translate.
    bool Empty = false;
    bool Fonts = false;
    bool Numbers = false;
    bool DateTime = false;
    bool Dirs = false;
    bool Extentions = false;
    bool Separator = false;

    quint8 Highlights = 2;

    TextLook selectedLook{QColor(255, 0, 0), false, false, false, true};   // "Selected string"
    TextLook changedLook{QColor(0, 128, 0), false, false, true, false};    // "Changed string"

    // The defaults used when nothing is stored: the tools in the folder of
    // our stand-ins for the Delphi programs.
    static Settings defaults();

    // Full paths of the tools, as the file system takes them.
    QString compilerPath() const;
    QString idePath() const;
    QString resCompPath() const;
    // CompilerDir + "\dcc32.cfg"
    QString compilerConfigPath() const;
};

} // namespace lingrove::app
