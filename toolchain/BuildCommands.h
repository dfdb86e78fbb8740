#pragma once
// The commands of building and resources: compiling, running and the IDE,
// the version-information resource and its directive in the project
// source, and the outside tools. The main window forwards its menu actions
// here; everything else they need comes through BuildContext.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QTextEdit;
class QWidget;

namespace lingrove::toolchain {

class TStInfo;
class TCMess;
class TVers;

enum class AddOutcome {
    Added,        // inserted, written and reloaded
    NotAdded,     // empty source or no BEGIN line: nothing changed
    WriteFailed,  // inserted in the editor, but the file could not be written
};

struct BuildContext {
    QWidget* parent = nullptr;
    // The editor of the project page (the .dpr).
    QTextEdit* projectEditor = nullptr;
    // The main window's copy of the .dpr path; when unset, the open project's.
    std::function<QString()> delphiProjectFile;
    // Brings the project page to the front (optional).
    std::function<void()> activateProjectPage;
    // Reloads the project source into the project page and rebuilds the
    // project's file list and tree (optional).
    std::function<void()> reloadProjectSource;
};

class BuildCommands : public QObject {
    Q_OBJECT
public:
    explicit BuildCommands(BuildContext context, QObject* parent = nullptr);
    ~BuildCommands() override;

    const BuildContext& context() const { return ctx_; }
    QString delphiProjectFile() const;

    // ---- Compiling -------------------------------------------------------
    void Compile();
    void CompileAll();
    void Run();
    void RunDelphiIDE();
    void CompilerInfo();
    // The pieces of "Compile all": the batch file's line for sh and the paths
    // of compall.bat and result.txt in the program's folder.
    QString compallLine() const;
    static QString compallPath();
    static QString resultPath();

    // ---- Version-information resource -------------------------------------
    // "&Create versioninfo": asks when a directive is recorded, then opens the wizard.
    void CreateVersioninfo();
    // "&Remove versioninfo": deletes the recorded directive line from the
    // project page, when that line still is a {$R ...} directive.
    void RemoveVersioninfo();
    // Inserts {$R resFileName} above the project source's BEGIN line, writes
    // the project source and reloads it. With removeOld the directive recorded
    // in ResPosition is taken out first. The user is told why when it fails.
    AddOutcome AddResDatei(const QString& resFileName, bool removeOld = false);
    // Runs the resource compiler on the project's FullResName and waits.
    void CompileRC();
    // Set by CreateVersioninfo when the user agreed to replace the resource.
    bool RemoveOldResource = false;

    // ---- Outside tools ---------------------------------------------------
    void Explorer();
    void PictureEditor();
    void Notepad();
    void ViewReadme();

    TStInfo& StInfo();
    TCMess& CMess();
    TVers& Vers();

private:
    void finishWait(bool started);
    void setBusyCursor(bool busy);
    void minimizeApplication(bool minimize);

    BuildContext ctx_;
    QPointer<TStInfo> stInfo_;
    QPointer<TCMess> cMess_;
    QPointer<TVers> vers_;
};

} // namespace lingrove::toolchain
