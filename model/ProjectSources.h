#pragma once
// The units and forms of a Delphi project: the file names quoted in its
// project source (those the string filters let through), found on disk as
// Windows finds them: "\" separates folders and letter case does not matter
// ("Frm\Input.pas", "HELLOF.PAS").
#include "core/scanner/Scanner.h"

#include <QHash>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace lingrove::model {

// path with the extension of its file-name part replaced by ext (appended
// when the name has none).
QString withExtension(const QString& path, const QString& ext);

// The file that path names, in whatever letter case its name has on disk;
// path itself when there is none.
QString existingSpelling(const QString& path);

// The regular file that relName (a name from the project source, "\" or "/"
// separated, any letter case) names inside folder; empty when there is none.
QString findProjectFile(const QString& folder, const QString& relName);

// Finds names from the project source inside one folder as findProjectFile()
// does, reading each folder's listing once: a project source may name
// hundreds of units whose letter case differs from the files.
class FileFinder {
public:
    explicit FileFinder(QString base);
    QString find(const QString& relName);

private:
    // Case-folded name -> name on disk; of names that differ only in case,
    // the first in name order.
    const QHash<QString, QString>& listing(const QString& folder);

    QString base_;
    QHash<QString, QHash<QString, QString>> listings_;
};

struct ProjectSources {
    QStringList quotedNames;  // every accepted literal of the project source, in order
    QStringList units;        // those that name a file in the project's folder
    QStringList forms;        // their names with ".dfm" instead of their extension, where that file exists
    QStringList formKinds;    // for each form: "binary", "text" or "text, UTF-8"
};

// What kind of form file path is, from its first bytes: "binary", "text",
// "text, UTF-8"; empty when it cannot be read.
QString formKind(const QString& path);

// The texts of the literals of document that pass filters, line by line.
QStringList quotedTexts(const QTextDocument& document, const scanner::ScanFilters& filters);

// The project source's files, looked for in folder. Every literal counts,
// whatever the string filters say: a unit in a sub-folder is named with a
// backslash, which they may drop.
ProjectSources findProjectSources(const QTextDocument& projectSource, const QString& folder);

} // namespace lingrove::model
