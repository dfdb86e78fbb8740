#include "app/Application.h"

#include "app/MainWindow.h"
#include "model/Workspace.h"
#include "ui/build/BuildFeature.h"
#include "ui/formview/FormViewFeature.h"
#include "ui/pages/PagesFeature.h"
#include "ui/pages/ProjectTree.h"
#include "ui/project/ProjectFeature.h"
#include "ui/shell/PageArea.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/TranslationFeature.h"

#include <QAction>
#include <QTabWidget>
#include <QToolButton>

namespace lingrove::app {

Application::Application()
    : workspace_(std::make_unique<model::Workspace>())
    , window_(std::make_unique<MainWindow>())
{
    pages_ = std::make_unique<ui::PagesFeature>(*workspace_, *window_);
    translation_ = std::make_unique<ui::TranslationFeature>(*workspace_, *window_);
    build_ = std::make_unique<ui::BuildFeature>(*workspace_, *window_);
    formView_ = std::make_unique<ui::FormViewFeature>(*workspace_, *window_);
    project_ = std::make_unique<ui::ProjectFeature>(*workspace_, *window_);
    window_->setPageArea(pages_.get());
    window_->setStringListService(translation_.get());
    layOut();

    QObject::connect(window_.get(), &MainWindow::firstShown, project_.get(), [this] { project_->start(); });
    window_->setCloseGuard([this] { return project_->prepareClose(); });
}

Application::~Application()
{
    // The features go before the window whose widgets they know.
    window_->setCloseGuard({});
    project_.reset();
    formView_.reset();
    build_.reset();
    translation_.reset();
    pages_.reset();
}

void Application::layOut()
{
    MainWindow& w = *window_;
    ui::ProjectFeature& project = *project_;
    ui::PagesFeature& pages = *pages_;
    ui::TranslationFeature& translation = *translation_;
    ui::BuildFeature& build = *build_;

    // Tool bar
    w.addToolButton(project.newProjectAction(), "SpeedButton2", QStringLiteral("Create new project"),
                    QStyle::SP_FileDialogNewFolder);
    w.addToolButton(project.openProjectAction(), "SpeedButton3", QStringLiteral("Open existing project"),
                    QStyle::SP_DialogOpenButton);
    w.addToolButton(project.recentProjectsAction(), "SpeedButton17", QString(), QStyle::SP_ArrowDown, 13);
    w.addToolSpacing();
    w.addToolButton(pages.saveFileAction(), "SpeedButton4", QStringLiteral("Save file"), QStyle::SP_DialogSaveButton);
    w.addToolButton(translation.getStringsAction(), "SpeedButton5", QStringLiteral("Get strings from the current file"),
                    QStyle::SP_FileDialogContentsView);
    w.addToolButton(translation.editDictionaryAction(), "SpeedButton11", QStringLiteral("Open table for editing"),
                    QStyle::SP_FileDialogDetailedView);
    w.addToolSpacing();
    w.addToolButton(build.compileAction(), "SpeedButton12", QStringLiteral("Compile project"), QStyle::SP_BrowserReload);
    w.addToolButton(build.runAction(), "SpeedButton13", QStringLiteral("Run project"), QStyle::SP_MediaPlay);
    w.addToolButton(build.runIdeAction(), "SpeedButton14", QStringLiteral("Open project with Delphi IDE"),
                    QStyle::SP_ComputerIcon);
    w.addToolSpacing();
    w.addToolButton(project.optionsAction(), "SpeedButton18", QStringLiteral("Options"), QStyle::SP_FileDialogInfoView);
    w.addToolButton(project.aboutAction(), "SpeedButton15", QStringLiteral("Help"), QStyle::SP_DialogHelpButton);
    w.addToolButton(project.exitAction(), "SpeedButton16", QStringLiteral("Exit"), QStyle::SP_DialogCloseButton);

    // Bars and areas
    w.setTranslationBar(translation.bar());
    w.setWorkArea(pages.tree(), pages.tabs(), pages.statusPanel());
    w.setStringList(translation.listPanel());
    w.setTreeMenu(pages.tree()->popupMenu());
    w.addStatusWidget(translation.checksIndicator());

    // Menus
    using ui::Menu;
    for (QAction* a : {project.newProjectAction(), project.openProjectAction(), project.saveProjectAction(),
                       static_cast<QAction*>(nullptr), pages.addFileAction(), pages.removeFileAction(),
                       pages.saveFileAction(), static_cast<QAction*>(nullptr), project.exitAction()})
        w.addAction(Menu::File, a);
    for (QAction* a : {translation.getStringsAction(), static_cast<QAction*>(nullptr),
                       translation.preTranslateAction(), translation.previewPreTranslationAction(),
                       static_cast<QAction*>(nullptr), project.optionsAction(), translation.editDictionaryAction()})
        w.addAction(Menu::Operation, a);
    for (QAction* a : {build.compileAction(), build.compileAllAction(), build.runAction(),
                       static_cast<QAction*>(nullptr), build.runIdeAction()})
        w.addAction(Menu::Project, a);
    for (QAction* a : {build.createVersionInfoAction(), build.removeVersionInfoAction(), static_cast<QAction*>(nullptr),
                       project.projectInfoAction(), project.statisticsAction(), build.compilerInfoAction(),
                       static_cast<QAction*>(nullptr),
                       formView_->viewAsFormAction()})
        w.addAction(Menu::Extras, a);
    w.addAction(Menu::View, translation.undoWindowAction());
    w.addAction(Menu::View, translation.checksAction());
    for (QAction* a : {build.explorerAction(), build.pictureEditorAction(), build.notepadAction()})
        w.addAction(Menu::Tools, a);
    for (QAction* a : {project.aboutAction(), project.creditsAction(), static_cast<QAction*>(nullptr),
                       build.viewReadmeAction()})
        w.addAction(Menu::Help, a);
}

} // namespace lingrove::app
