#pragma once
// The project file <folder>/<name>.lgv: INI text with the sections
// [General], [Resource], [Files] and [Opened].
#include "model/Project.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace lingrove::model {

// What the new-project wizard asks for.
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
// Writes them to <folder>/<name>.lgv (through a temporary file), replacing
// any file of that name. Returns the path; throws platform::IniError on failure.
QString writeNewProjectFile(const NewProjectFields& f);
// The project the wizard's fields describe.
Project projectFromFields(const NewProjectFields& f);

struct ProjectFileContents {
    Project project;
    QStringList files;     // keys of [Files], in file order: the pages that were open
    QString fileInUse;     // [Opened] FileInUse: the caption of the active page
};

// Writes [Resource] (the version resource) into the project's own file, so
// that the file agrees with a project source that was just written with or
// without its directive. Throws platform::IniError.
void saveProjectResource(const Project& project);

// Reads a project file; a missing file reads as one without keys.
ProjectFileContents readProjectFile(const QString& path);

// Writes [Resource], [Files] (erased first; project sources, "*.dpr", are
// left out; each page with its index), [Opened] and [Translated] (the
// translated literals, numbered) into the project's own file, in one write
// through a temporary file. Throws platform::IniError; the file is then as
// it was.
void saveProjectFile(const Project& project, const QStringList& pageCaptions, const QString& activeCaption,
                     int selectedRow);

} // namespace lingrove::model
