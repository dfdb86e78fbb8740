#pragma once
// The version-information resource of the project: its script (<name>.rc
// beside the project source, built from the wizard's fields), the resource
// compiler run on it, and the {$R <name>.res} directive above the project
// source's BEGIN line.
#include "core/rcscript/VersionScript.h"
#include "platform/Process.h"

#include <QString>

#include <functional>

class QTextDocument;

namespace lingrove::model {

class SourceFile;
class Workspace;

class VersionResource {
public:
    using Pump = std::function<void()>;

    explicit VersionResource(Workspace& workspace);

    // True when no project source is open: the script has no folder to go to.
    bool projectFolderMissing() const;
    // Why name cannot name the resource, or empty when it can: it must be a
    // file name without folders, spaces or quotes, and projectSource (when
    // given) must be able to hold the directive {$R <name>.res}.
    static QString nameProblem(const QString& name, const SourceFile* projectSource);
    // Writes the script <name>.rc into the project source's folder and
    // records it in the project. False with the reason.
    bool writeScript(const QString& name, const rcscript::VersionInfoFields& fields, QString* why);
    // The compiled resource's file name: the script's name with ".res" for ".rc".
    QString compiledFileName() const;
    struct Compiled {
        platform::ProcessResult run;
        bool made = false;   // the compiler reported no error and wrote the .res file anew
    };
    // The resource compiler on the project's script, hidden; waits.
    Compiled compileScript(const Pump& pump) const;

    enum class Outcome {
        Added,        // inserted and the project source written
        NotAdded,     // an empty source or no BEGIN line: nothing changed
        WriteFailed,  // inserted in the document, but the file could not be written
    };
    struct Change {
        Outcome outcome = Outcome::NotAdded;
        QString warning;   // for the user, also when the outcome is fine (a stale line left alone)
        QString error;     // why the file could not be written
    };

    // Inserts {$R resFileName} above the BEGIN line of projectSource (the
    // project page's document) and writes it into file. With removeOld the
    // directive recorded in the project is taken out first, when that line
    // still is one.
    Change addDirective(QTextDocument& projectSource, SourceFile& file, const QString& resFileName, bool removeOld);
    // Deletes the recorded directive line from projectSource, when that line
    // still is a {$R ...} directive, and forgets it. A warning when it is not.
    QString removeDirective(QTextDocument& projectSource);

private:
    Workspace& workspace_;
};

} // namespace lingrove::model
