#pragma once
// The project file <folder>\<name>.lgv: INI text with the sections
// [General], [Resource], [Files] and [Opened].
#include "app/Project.h"

#include <QString>
#include <QStringList>

namespace lingrove::app {

struct NewProjectFields {
    QString name;
    QString folder;
    QString delphiProjectFile;
    QString sourceLanguage;
    QString destLanguage;
    QString table;
};

// The eleven lines the wizard writes, each ended by CR LF.
QByteArray newProjectFileText(const NewProjectFields& f);
// Writes them to folder\name.lgv (through a temporary file), replacing any
// file of that name. Returns the path; throws platform::IniError on failure.
QString writeNewProjectFile(const NewProjectFields& f);

struct ProjectFileContents {
    Project project;
    QStringList files;     // keys of [Files], in file order
    QString fileInUse;     // [Opened] FileInUse
};

// Reads a project file; a missing file reads as one without keys.
ProjectFileContents readProjectFile(const QString& path);

struct OpenPage {
    QString caption;
    int index = 0;
};

// Writes [Resource], [Files] (erased first; pages captioned *.dpr are left
// out) and [Opened] into the project's own file. Throws platform::IniError.
void saveProjectFile(const Project& project, const QList<OpenPage>& pages,
                     const QString& activeCaption, int selectedLine);

} // namespace lingrove::app
