#pragma once
// The one open translation project and the program-wide state that every
// window reads and writes.
#include <QColor>
#include <QString>
#include <QStringList>

namespace lingrove::app {

struct Project {
    QString ProjectName;        // empty: no project is open
    QString ProjectFolder;
    QString DelphiProjectFile;  // full path of the .dpr
    QString SourceLanguage;
    QString DestLanguage;
    QString DictionaryTable;
    QString ResName;
    QString FullResName;
    qint32 ResPosition = -1;    // -1: no version resource in the project
    qint32 OpenedPosition = 0;

    bool isOpen() const { return !ProjectName.isEmpty(); }
    // ProjectFolder + "\" + ProjectName + ".lgv", as the file system takes it
    QString projectFilePath() const;
    // The folder of the .dpr, as the file system takes it (no trailing separator)
    QString delphiProjectFolder() const;
};

} // namespace lingrove::app
