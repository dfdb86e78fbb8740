#pragma once
// The one open translation project: what its project file (.lgv) holds.
#include <QString>

namespace lingrove::model {

struct Project {
    QString name;               // empty: no project is open
    QString folder;             // where the project file lies, as stored
    QString delphiProjectFile;  // full path of the Delphi project source (.dpr), as stored
    QString sourceLanguage;
    QString destLanguage;
    QString dictionaryTable;
    QString resourceName;       // the version resource's script name ("VERSION.rc")
    QString resourceScript;     // its full path
    qint32 resourceLine = -1;   // 0-based line of its {$R ...} directive; -1: none in the project
    qint32 openedPosition = 0;  // the string list row selected when the project was saved

    bool isOpen() const { return !name.isEmpty(); }
    // <folder>/<name>.lgv, as the file system takes it.
    QString projectFilePath() const;
    // The folder of the Delphi project source, as the file system takes it
    // (no trailing separator); empty without a project source.
    QString delphiProjectFolder() const;
};

} // namespace lingrove::model
