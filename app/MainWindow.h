#pragma once
// The main window: tool bar, translation bar, project tree, pages, string
// list and hint line. Its controls carry the names the other windows use to
// reach them; its command handlers live beside the subsystem they belong to
// (app/ for the project, sources/ for pages and saving, translation/ for the
// translation loop, toolchain/ for compiling and resources).
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lingrove::platform {
class KeyStore;
}
namespace lingrove::toolchain {
class BuildCommands;
}
namespace lingrove::translation {
class TranslationLoop;
}

namespace lingrove::app {

struct Project;
class OptionsDialog;
class NewProjectWizard;
class RecentProjectsDialog;
class ProjectInfoDialog;
class AboutBox;
class CreditsWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Size by screen width: narrower than 800 gives 640 x 480, 800 to 1023
    // gives 800 x 600, wider keeps the designed 930 x 659.
    static QSize sizeForScreenWidth(int width);

    // ---- Controls ------------------------------------------------------
    // Tool bar
    QWidget* Panel1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;   // Create new project
    QToolButton* SpeedButton3 = nullptr;   // Open existing project
    QToolButton* SpeedButton17 = nullptr;  // recent projects
    QToolButton* SpeedButton4 = nullptr;   // Save file
    QToolButton* SpeedButton5 = nullptr;   // Get strings
    QToolButton* SpeedButton11 = nullptr;  // Open table for editing
    QToolButton* SpeedButton12 = nullptr;  // Compile project
    QToolButton* SpeedButton13 = nullptr;  // Run project
    QToolButton* SpeedButton14 = nullptr;  // Delphi IDE
    QToolButton* SpeedButton18 = nullptr;  // Options
    QToolButton* SpeedButton15 = nullptr;  // Help
    QToolButton* SpeedButton16 = nullptr;  // Exit

    // Translation bar
    QWidget* Panel7 = nullptr;
    QLineEdit* Edit6 = nullptr;   // "Source" label field
    QLineEdit* Edit7 = nullptr;   // "Destination" label field
    QLineEdit* Edit1 = nullptr;   // the source string, read-only
    QLineEdit* Edit2 = nullptr;   // the translation
    QPushButton* SpeedButton19 = nullptr;  // "Word 1"
    QPushButton* SpeedButton1 = nullptr;   // "UNDO"
    std::array<QPushButton*, 5> proposalButtons{};  // "S1".."S5", hidden

    // Work area
    QSplitter* workSplitter = nullptr;     // tree | pages
    QSplitter* bottomSplitter = nullptr;   // work area / string list
    QTreeWidget* TreeView1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* MainTabSheet = nullptr;
    QTextEdit* MainRichEdit = nullptr;
    QTextEdit* Kopf = nullptr;       // hidden scratch text
    QTextEdit* Schwanz = nullptr;    // hidden scratch text
    QListWidget* ListBox2 = nullptr; // hidden scratch list of the string scan
    QWidget* Panel6 = nullptr;       // status panel under the pages
    QLabel* Panel6Caption = nullptr; // its caption: the caret position
    QProgressBar* ProgressBar1 = nullptr;
    QLineEdit* Edit5 = nullptr;      // hidden copy of the .dpr path

    // String list
    QWidget* Panel2 = nullptr;
    QLineEdit* Edit3 = nullptr;      // " Changed"
    QLineEdit* Edit4 = nullptr;      // "  COL POSA POSB String"
    QListWidget* ListBox3 = nullptr; // Changed column
    QListWidget* StringEdit = nullptr;
    QStatusBar* StatusBar2 = nullptr;

    // Hidden lists
    QListWidget* ListBox1 = nullptr; // file names quoted in the project source
    QListWidget* ListBox4 = nullptr; // the project's stored file list
    QLineEdit* Edit8 = nullptr;

    QMenu* PopupMenu1 = nullptr;     // tree pop-up

    // ---- Menu commands -------------------------------------------------
    QMenu* File1 = nullptr;
    QMenu* Operation1 = nullptr;
    QMenu* Project1 = nullptr;
    QMenu* Version1 = nullptr;       // "&Extras"
    QMenu* View1 = nullptr;
    QMenu* Tools1 = nullptr;
    QMenu* Help1 = nullptr;          // "?"

    QAction* Newproject1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Saveproject1 = nullptr;
    QAction* Add1 = nullptr;
    QAction* Remove1 = nullptr;
    QAction* SaveDFM1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Getstrings1 = nullptr;
    QAction* Preferenses1 = nullptr;
    QAction* Editdatabase1 = nullptr;
    QAction* Compile1 = nullptr;
    QAction* Compileall1 = nullptr;
    QAction* Run2 = nullptr;
    QAction* Run1 = nullptr;
    QAction* Create1 = nullptr;
    QAction* AddinProject1 = nullptr;
    QAction* Projectinfo1 = nullptr;
    QAction* Compilerinfo1 = nullptr;
    QAction* Viewasform1 = nullptr;
    QAction* Toolbar1 = nullptr;
    QAction* Statusbar1 = nullptr;
    QAction* Projecttree1 = nullptr;
    QAction* Undoform1 = nullptr;
    QAction* Resourcecreator1 = nullptr;
    QAction* Pictureeditor1 = nullptr;
    QAction* Notepad1 = nullptr;
    QAction* Info1 = nullptr;
    QAction* Credits1 = nullptr;
    QAction* Viewreadme1 = nullptr;
    QAction* LoadfileunderCursor1 = nullptr;
    QAction* LoadallprojectFiles1 = nullptr;

    // ---- Dialogs, created once ------------------------------------------
    NewProjectWizard* Newpro = nullptr;
    OptionsDialog* OptForm = nullptr;
    RecentProjectsDialog* MRUForm = nullptr;
    ProjectInfoDialog* PInform = nullptr;
    AboutBox* AboutBox1 = nullptr;
    CreditsWindow* Credits = nullptr;

    // ---- Shell (app/MainWindow.cpp) -------------------------------------
    // First show: the configuration check.
    void FormShow();
    // Tells the user when the settings file could not be read whole.
    void reportSettingsDamage(const platform::KeyStore& store);
    void Exit1Click();
    void Toolbar1Click();
    void Statusbar1Click();
    void Projecttree1Click();
    void Operation1Click();   // gating of "&Operation"
    void Version1Click();     // gating of "&Extras"
    void SpeedButton17Click();
    void Preferenses1Click();
    void Projectinfo1Click();
    void Info1Click();
    void Credits1Click();
    // Keeps the translation bar and the progress bar aligned to the width.
    void FormPaint();
    // The mru.dat path in the program's folder.
    static QString recentProjectsFile();
    // Reports an error that no handler caught, as the default error box does.
    void showError(const QString& text);

    // ---- Project (app/ProjectCommands.cpp) ------------------------------
    void Newproject1Click();
    void Open1Click();
    void OpenProjectFile(const QString& path);
    // A project file named on the command line: as "&Open Project" without
    // the file dialog.
    void openFromCommandLine(const QString& path);
    // False when no project is open (the user is told) or the file cannot be written.
    bool Saveproject1Click();
    // The wizard's last steps, once its file is written.
    bool startNewProject();
    // Makes p the open project once its dictionary table is open; false
    // (the user told why, the project as it was) when the table cannot be opened.
    bool adoptProject(const Project& p);
    // Opens the project's dictionary table; false (the user told why) when it cannot.
    bool openDictionary();
    // "Lingrove - [ name ]"
    void setProjectCaption();

    // ---- Pages, tree and saving (sources/MainWindowPages.cpp) -----------
    // The editor created with the active page; MainRichEdit on the project page.
    QTextEdit* activeEditor() const;
    // The active page's editor, or nullptr on the project page.
    QTextEdit* activeFileEditor() const;
    QWidget* CreateNewPage(const QString& name);
    bool PASLaden(QTextEdit* editor, const QString& fileName);
    bool DFMLaden(QTextEdit* editor, const QString& fileName);
    // Shows the bytes of fileName (a source, or a form's text form) in editor.
    bool showPage(QTextEdit* editor, const QByteArray& bytes, const QString& fileName);
    void OpenSourcePage(const QString& name);
    void DateiLaden1();
    void DeletePage();
    void DeletePages();
    void GetPosition(QTextEdit* editor);
    void AlteDatei(const QString& fileName);
    void DatenLesen();
    void Dateinamen();
    void TreeView1DblClick();
    void LoadallprojectFiles1Click();
    void DateiLaden();
    void Remove1Click();
    bool SaveDFM1Click();
    void SaveAndRemove();
    // -- pages: state of the pages and the tree, made by initPages --
    struct PagesState;
    PagesState* pagesState = nullptr;
    // The folder of the Delphi project source, as the file system takes it.
    QString delphiProjectFolder() const;
    // -- end of pages --

    // ---- Translation loop (translation/MainWindowTranslation.cpp) --------
    void Getstrings1Click();
    void Editdatabase1Click();
    void Undoform1Click();
    // Empties the string list, its Changed column and the scratch list.
    void clearStringList();
    translation::TranslationLoop* translationLoop = nullptr;

    // ---- Build and resources (toolchain/MainWindowBuild.cpp) ------------
    void Compile1Click();
    void Compileall1Click();
    void Run2Click();
    void Run1Click();
    void Compilerinfo1Click();
    void Create1Click();
    void AddinProject1Click();
    void Resourcecreator1Click();
    void Pictureeditor1Click();
    void Notepad1Click();
    void Viewreadme1Click();
    toolchain::BuildCommands* buildCommands = nullptr;

    // ---- View as form (sources/ViewAsForm.cpp) ---------------------------
    void Viewasform1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildToolBar();
    void buildTranslationBar();
    void buildWorkArea();
    void buildStringList();
    void buildMenus();
    void createDialogs();
    // Hooks of the subsystems: init once the window is built, finish when
    // it is destroyed. Each is defined in its subsystem's file.
    void initPages();
    void finishPages();
    void initTranslation();
    void finishTranslation();
    void initBuild();
    void finishBuild();

    bool shown_ = false;
};

} // namespace lingrove::app
