// Creating, opening and saving the translation project.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/NewProjectWizard.h"
#include "app/ProjectFile.h"
#include "app/RecentProjects.h"
#include "platform/IniFile.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

namespace lingrove::app {

void MainWindow::setProjectCaption()
{
    setWindowTitle("Lingrove - [ " + state().project.ProjectName + " ]");
}

void MainWindow::Newproject1Click()
{
    if (state().project.isOpen()) {
        platform::ui().message(this, "You must restart the program");
        return;
    }
    platform::ui().exec(*Newpro);
}

void MainWindow::Open1Click()
{
    if (state().project.isOpen()) {
        platform::ui().message(this, "You must restart the program");
        return;
    }
    const auto path = platform::ui().openFile(this, "Open", "Translator files|*.lgv", QString());
    if (!path)
        return;
    MRUForm->AddRecentProject(*path);
    OpenProjectFile(*path);
}

void MainWindow::openFromCommandLine(const QString& path)
{
    if (state().project.isOpen()) {
        platform::ui().message(this, "You must restart the program");
        return;
    }
    if (!QFileInfo::exists(path)) {
        platform::ui().message(this, QString("The project file %1 does not exist.").arg(path),
                               platform::BoxKind::Warning);
        return;
    }
    MRUForm->AddRecentProject(path);
    OpenProjectFile(path);
}

void MainWindow::OpenProjectFile(const QString& path)
{
    AppState& st = state();
    ProjectFileContents contents = readProjectFile(path);

    const Project previous = st.project;
    if (!adoptProject(contents.project))
        return;
    if (!st.project.isOpen()) {
        // A file without a project name opens nothing.
        platform::ui().message(this, QString("%1 is not a project file of this program.").arg(path),
                               platform::BoxKind::Warning);
        st.project = previous;
        return;
    }

    ListBox4->clear();
    ListBox4->addItems(contents.files);
    Edit5->setText(st.project.DelphiProjectFile);
    setProjectCaption();

    AlteDatei(st.project.DelphiProjectFile);
    DeletePages();
    DateiLaden1();

    PageControl1->setVisible(true);
    for (int i = 0; i < PageControl1->count(); ++i) {
        if (PageControl1->tabText(i) == contents.fileInUse) {
            PageControl1->setCurrentIndex(i);
            break;
        }
    }

    st.ResumeMode = true;
    Getstrings1Click();
    st.ResumeMode = false;
}

bool MainWindow::adoptProject(const Project& p)
{
    // The dictionary is opened before the project counts as open: a table
    // that cannot be opened leaves no half-open project behind.
    AppState& st = state();
    const Project previous = st.project;
    st.project = p;
    st.project.ProjectName.clear();
    if (!openDictionary()) {
        st.project = previous;
        return false;
    }
    st.project = p;
    // What an earlier, killed session left beside the project's files goes.
    platform::removeStaleTemporaries(platform::folderOf(platform::toNative(p.DelphiProjectFile)));
    platform::removeStaleTemporaries(platform::toNative(p.ProjectFolder));
    return true;
}

bool MainWindow::startNewProject()
{
    const NewProjectFields f = Newpro->fields();

    // Work on the Delphi project's files runs in the folder of its source.
    const QString dprFolder = platform::folderOf(platform::toNative(f.delphiProjectFile));
    if (!QDir::setCurrent(dprFolder)) {
        showError(QString("Cannot change to the folder %1").arg(dprFolder));
        return false;
    }

    Project p;
    p.ProjectName = f.name;
    p.ProjectFolder = f.folder;
    p.DelphiProjectFile = f.delphiProjectFile;
    p.SourceLanguage = f.sourceLanguage;
    p.DestLanguage = f.destLanguage;
    p.DictionaryTable = f.table;

    if (!adoptProject(p))
        return false;
    Edit5->setText(p.DelphiProjectFile);
    setProjectCaption();

    AlteDatei(p.DelphiProjectFile);
    DateiLaden();
    return true;
}

bool MainWindow::Saveproject1Click()
{
    AppState& st = state();
    if (!st.project.isOpen()) {
        platform::ui().message(this, "There is no project to save. Create or open a project first.",
                               platform::BoxKind::Warning);
        return false;
    }
    QList<OpenPage> pages;
    for (int i = 0; i < PageControl1->count(); ++i)
        pages.append({PageControl1->tabText(i), i});
    const QString active = PageControl1->tabText(PageControl1->currentIndex());
    try {
        saveProjectFile(st.project, pages, active, StringEdit->currentRow());
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return false;
    }
    st.ProjectSaved = true;
    return true;
}

} // namespace lingrove::app
