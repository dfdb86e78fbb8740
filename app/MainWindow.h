#pragma once
// The main window: the tool bar, the translation bar, the project tree
// beside the pages, the string list under them and the hint line, with the
// menu bar. It only lays out what the features give it and offers them the
// Shell; what the commands do is the features' business.
#include "ui/shell/Shell.h"

#include <QMainWindow>
#include <QStyle>

#include <functional>
#include <map>

class QMenu;
class QSplitter;
class QToolButton;

namespace lingrove::app {

class MainWindow : public QMainWindow, public ui::Shell {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Size by screen width: narrower than 800 gives 640 x 480, 800 to 1023
    // gives 800 x 600, wider keeps the designed 930 x 659.
    static QSize sizeForScreenWidth(int width);

    // ---- Layout ------------------------------------------------------------
    // A button of the tool bar that triggers action; hint goes to the hint line.
    QToolButton* addToolButton(QAction* action, const char* name, const QString& hint, QStyle::StandardPixmap icon,
                               int width = 34);
    void addToolSpacing();
    void setTranslationBar(QWidget* bar);
    // The tree left of the pages; under the pages, their status panel.
    void setWorkArea(QWidget* tree, QWidget* pages, QWidget* statusPanel);
    void setStringList(QWidget* list);
    // A widget at the right end of the hint line.
    void addStatusWidget(QWidget* widget);
    void setTreeMenu(QMenu* menu) { treeMenu_ = menu; }
    void setPageArea(ui::PageArea* pages) { pages_ = pages; }
    void setStringListService(ui::StringList* strings) { strings_ = strings; }
    // Asked before the window closes; false keeps it open.
    void setCloseGuard(std::function<bool()> mayClose) { mayClose_ = std::move(mayClose); }

    QMenu* menu(ui::Menu menu) const;
    QWidget* toolBar() const { return toolBar_; }
    QAction* toolBarToggle() const { return toolBarToggle_; }
    QAction* statusBarToggle() const { return statusBarToggle_; }
    QAction* projectTreeToggle() const { return projectTreeToggle_; }

    // ---- Shell ----------------------------------------------------------------
    QWidget* window() override { return this; }
    void addAction(ui::Menu menu, QAction* action) override;
    void onMenuShown(ui::Menu menu, std::function<void()> update) override;
    void showHint(const QString& text, int milliseconds = 5000) override;
    ui::PageArea& pages() override { return *pages_; }
    ui::StringList& strings() override { return *strings_; }

signals:
    // The window is on the screen for the first time.
    void firstShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();

    QWidget* toolBar_;
    QWidget* translationBarSlot_;
    QSplitter* workSplitter_;
    QSplitter* bottomSplitter_;
    QWidget* statusPanel_ = nullptr;
    QWidget* tree_ = nullptr;
    std::map<ui::Menu, QMenu*> menus_;
    QMenu* treeMenu_ = nullptr;
    QAction* toolBarToggle_ = nullptr;
    QAction* statusBarToggle_ = nullptr;
    QAction* projectTreeToggle_ = nullptr;
    ui::PageArea* pages_ = nullptr;
    ui::StringList* strings_ = nullptr;
    std::function<bool()> mayClose_;
    bool shown_ = false;
};

} // namespace lingrove::app
