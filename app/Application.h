#pragma once
// The program: the workspace, the main window and the features of the
// window, put together in the designed order of the menus and the tool bar.
#include <memory>

namespace lingrove::model {
class Workspace;
}
namespace lingrove::ui {
class BuildFeature;
class FormViewFeature;
class PagesFeature;
class ProjectFeature;
class TranslationFeature;
}

namespace lingrove::app {

class MainWindow;

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    model::Workspace& workspace() { return *workspace_; }
    MainWindow& window() { return *window_; }
    ui::PagesFeature& pages() { return *pages_; }
    ui::TranslationFeature& translation() { return *translation_; }
    ui::BuildFeature& build() { return *build_; }
    ui::FormViewFeature& formView() { return *formView_; }
    ui::ProjectFeature& project() { return *project_; }

private:
    void layOut();

    std::unique_ptr<model::Workspace> workspace_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<ui::PagesFeature> pages_;
    std::unique_ptr<ui::TranslationFeature> translation_;
    std::unique_ptr<ui::BuildFeature> build_;
    std::unique_ptr<ui::FormViewFeature> formView_;
    std::unique_ptr<ui::ProjectFeature> project_;
};

} // namespace lingrove::app
