#pragma once
// The pages: the project tree, the page area (the project page with the
// Delphi project source, a page per opened unit or form, each coloured like
// the Delphi editor), the caret position under the pages, and the commands
// "&Add File", "&Remove File", "&Save file" and the tree's pop-up menu.
#include "model/SourceFile.h"
#include "ui/shell/PageArea.h"

#include <QIcon>
#include <QObject>

#include <optional>

class QAction;
class QLabel;
class QProgressBar;
class QTabWidget;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class ProjectTree;
class Shell;
class SourcePage;

class PagesFeature : public QObject, public PageArea {
    Q_OBJECT

public:
    PagesFeature(model::Workspace& workspace, Shell& shell, QObject* parent = nullptr);
    ~PagesFeature() override;

    // ---- Widgets, placed by the main window ---------------------------
    ProjectTree* tree() const { return tree_; }
    QTabWidget* tabs() const { return tabs_; }
    // Under the pages: the caret position and the progress of opening pages.
    QWidget* statusPanel() const { return statusPanel_; }
    QLabel* positionLabel() const { return positionLabel_; }
    QProgressBar* progressBar() const { return progressBar_; }

    // ---- Commands -------------------------------------------------------
    QAction* addFileAction() const { return addFile_; }
    QAction* removeFileAction() const { return removeFile_; }
    QAction* saveFileAction() const { return saveFile_; }
    QAction* loadFileUnderCursorAction() const { return loadFileUnderCursor_; }
    QAction* loadAllFilesAction() const { return loadAllFiles_; }

    // Opens a page for the project file name (as the tree shows it); nothing
    // when there is no such file. A file that cannot be shown leaves no page.
    void openPage(const QString& name);
    // The file node selected in the tree: its page is activated or opened.
    void openSelectedFile();
    // Closes all pages and opens every unit and form of the tree again.
    void reloadAllPages();
    // Closes the active file page; the project page cannot be closed.
    void closeActivePage();
    // "  line : column" of editor's caret under the pages.
    void showPosition(const QPlainTextEdit* editor);
    // The names quoted in the project source that the tree was built from.
    const QStringList& quotedNames() const { return quotedNames_; }

    // ---- PageArea --------------------------------------------------------
    QPlainTextEdit* activeFileEditor() const override;
    QPlainTextEdit* activeEditor() const override;
    QString activeCaption() const override;
    QString activeFilePath() const override;
    bool isProjectPageActive() const override;
    QStringList captions() const override;
    std::vector<OpenFilePage> openFilePages() const override;
    QPlainTextEdit* projectEditor() const override { return projectEditor_; }
    model::SourceFile* projectSource() override;
    void reloadProjectSource() override;
    void showProjectPage() override;
    void openPages(const QStringList& names) override;
    void openAllProjectFiles() override;
    bool activatePage(const QString& caption) override;
    void closeAllPages() override;
    bool saveActivePage() override;
    bool saveAndCloseActivePage() override;
    bool askToSaveModifiedPages() override;
    bool askToSaveProjectPage() override;

    // True when the page (the project page or a file page) holds changes not saved.
    bool isModified(const QWidget* page) const;

private:
    SourcePage* activePage() const;
    SourcePage* newPage(const QString& caption);
    // Reads the file into the editor's document; the user is told why when
    // it cannot be shown.
    bool loadFile(QPlainTextEdit* editor, model::SourceFile& file);
    void buildTree();
    QString projectFolder() const;
    QPlainTextEdit* editorOf(const QWidget* page) const;
    // Shows on the page's tab whether its document holds unsaved changes.
    void watchModification(QPlainTextEdit* editor);
    // "Save changes to <caption>?" for page when it is modified.
    bool askToSave(QWidget* page);

    model::Workspace& workspace_;
    Shell& shell_;
    ProjectTree* tree_;
    QTabWidget* tabs_;
    QWidget* projectPage_;
    QPlainTextEdit* projectEditor_;
    std::optional<model::SourceFile> projectSource_;   // set while the project page shows it
    QWidget* statusPanel_;
    QLabel* positionLabel_;
    QProgressBar* progressBar_;
    QStringList quotedNames_;
    QIcon modifiedMark_;
    bool loading_ = false;   // a page's text is being loaded: the caret is not shown

    QAction* addFile_;
    QAction* removeFile_;
    QAction* saveFile_;
    QAction* loadFileUnderCursor_;
    QAction* loadAllFiles_;
};

} // namespace lingrove::ui
