#pragma once
// The project tree: "Project" with "Units" and "Forms" under it, each file
// of the project source as a node. A press of the right button opens the
// tree's pop-up menu at the mouse and leaves the selection as it was; the
// menu key opens it at the selected node.
#include <QIcon>
#include <QTreeWidget>

#include <array>

class QMenu;

namespace lingrove::ui {

class ProjectTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit ProjectTree(QWidget* parent = nullptr);

    // The pop-up menu of the nodes.
    QMenu* popupMenu() const { return popup_; }

    // Rebuilds the tree: the three fixed nodes, then units and forms. Each
    // form shows its kind beside its name (formKinds in the order of forms).
    void fill(const QStringList& units, const QStringList& forms, const QStringList& formKinds = {});
    // The names of every node, the fixed ones included, top down.
    QStringList nodeNames() const;
    // The selected file node's name; empty when none is selected or the
    // selection is one of the fixed nodes.
    QString selectedFile() const;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    enum Picture { FormPicture = 0, BlankPagePicture = 1, FormsPicture = 2, TextPagePicture = 3 };
    std::array<QIcon, 4> icons_;
    QMenu* popup_;
};

} // namespace lingrove::ui
