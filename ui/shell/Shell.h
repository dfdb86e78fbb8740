#pragma once
// What every feature of the window may use of the main window: its menus,
// the hint line, the page area and the string list. Features meet each
// other only here and through the Workspace's signals.
#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace lingrove::ui {

class PageArea;
class StringList;

enum class Menu { File, Operation, Project, Extras, View, Tools, Help, ProjectTree };

class Shell {
public:
    virtual ~Shell() = default;

    // The main window: the parent of dialogs and message boxes.
    virtual QWidget* window() = 0;
    // Appends action to a menu (with nullptr: a separator).
    virtual void addAction(Menu menu, QAction* action) = 0;
    // Calls update each time the menu is about to be shown (to enable or
    // disable its commands).
    virtual void onMenuShown(Menu menu, std::function<void()> update) = 0;
    // Shows text in the hint line for a while.
    virtual void showHint(const QString& text, int milliseconds = 5000) = 0;
    // The pages of the project source and the files.
    virtual PageArea& pages() = 0;
    // The string list of the active page.
    virtual StringList& strings() = 0;
};

} // namespace lingrove::ui
