#pragma once
// The undo window "UndoForm": the records of the undo buffer, newest first,
// and the buffer's status line. It stays on top of the other windows. While
// it is shown it stands at the left edge of the screen, full height, with the
// main window beside it; hiding it gives the main window its place back and
// clears the menu item's check mark.
#include <QRect>
#include <QWidget>

class QAction;
class QStatusBar;
class QTreeWidget;

namespace lingrove::model {
class UndoBuffer;
}

namespace lingrove::ui {

class UndoWindow : public QWidget {
    Q_OBJECT

public:
    // mainWindow is placed beside the window; menuItem carries the check mark.
    UndoWindow(QWidget* mainWindow, QAction* menuItem);

    // Rebuild the list and the status line from buffer.
    void refresh(const model::UndoBuffer& buffer);

    QTreeWidget* list() const { return list_; }
    QStatusBar* statusBar() const { return status_; }

    // The main window's place before this window was shown.
    QRect rememberedMainGeometry() const { return remembered_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTreeWidget* list_ = nullptr;
    QStatusBar* status_ = nullptr;
    QWidget* main_;
    QAction* menuItem_;
    QRect remembered_;
    bool placed_ = false;
};

} // namespace lingrove::ui
