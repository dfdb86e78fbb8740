#include "ui/pages/ProjectTree.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidgetItemIterator>

namespace lingrove::ui {

namespace {

void drawBuilding(QPainter& p)
{
    p.setPen(QColor(64, 64, 64));
    p.setBrush(QColor(176, 176, 176));
    p.drawRect(1, 9, 13, 6);
    p.drawLine(1, 9, 7, 6);
    p.drawLine(7, 6, 14, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 200));
    for (int x : {3, 6, 9, 12})
        p.drawRect(x, 11, 1, 2);
}

void drawFormWindow(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::white);
    p.drawRect(x, y, w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(x + 1, y + 1, w - 1, 2);
}

void drawPage(QPainter& p, int x, int y, int w, int h, bool lines)
{
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::white);
    p.drawRect(x, y, w, h);
    if (!lines)
        return;
    p.setPen(QColor(0, 0, 160));
    for (int ly = y + 3; ly < y + h - 1; ly += 2)
        p.drawLine(x + 2, ly, x + w - 2 - (ly % 3), ly);
}

QPixmap picture(int which)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (which) {
    case 0:   // a form
        drawBuilding(p);
        drawFormWindow(p, 3, 0, 10, 7);
        break;
    case 1:   // a blank page
        drawBuilding(p);
        drawPage(p, 4, 0, 8, 8, false);
        break;
    case 2:   // forms
        drawBuilding(p);
        drawFormWindow(p, 1, 0, 9, 6);
        drawFormWindow(p, 5, 2, 9, 6);
        break;
    default:  // a text page
        drawPage(p, 2, 0, 11, 15, true);
        break;
    }
    return pixmap;
}

} // namespace

ProjectTree::ProjectTree(QWidget* parent)
    : QTreeWidget(parent)
    , popup_(new QMenu(this))
{
    setObjectName(QStringLiteral("TreeView1"));
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    setHeaderHidden(true);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setMinimumWidth(60);
    setExpandsOnDoubleClick(false);
    for (int i = 0; i < 4; ++i) {
        QIcon icon(picture(i));
        // A selected node shows the form picture.
        icon.addPixmap(picture(FormPicture), QIcon::Selected);
        icons_[static_cast<std::size_t>(i)] = icon;
    }
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_->popup(viewport()->mapToGlobal(pos)); });
}

namespace {

// A file node: its name (which opens it) as data, the name and the kind as
// its label, both in full in its tool tip, as the tree is narrow.
void addFileNode(QTreeWidgetItem* parent, const QString& name, const QString& kind, const QIcon& icon)
{
    auto* node = new QTreeWidgetItem(parent);
    const QString label = kind.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, kind);
    node->setText(0, label);
    node->setData(0, Qt::UserRole, name);
    node->setToolTip(0, label);
    node->setIcon(0, icon);
}

QString nodeName(const QTreeWidgetItem* node)
{
    const QVariant name = node->data(0, Qt::UserRole);
    return name.isValid() ? name.toString() : node->text(0);
}

} // namespace

void ProjectTree::fill(const QStringList& units, const QStringList& forms, const QStringList& formKinds)
{
    clear();
    auto* root = new QTreeWidgetItem(this, QStringList{QStringLiteral("Project")});
    root->setIcon(0, icons_[FormsPicture]);
    auto* unitNode = new QTreeWidgetItem(root, QStringList{QStringLiteral("Units")});
    unitNode->setIcon(0, icons_[TextPagePicture]);
    auto* formNode = new QTreeWidgetItem(root, QStringList{QStringLiteral("Forms")});
    formNode->setIcon(0, icons_[FormPicture]);
    for (const QString& name : units)
        addFileNode(unitNode, name, {}, icons_[FormPicture]);
    for (qsizetype i = 0; i < forms.size(); ++i)
        addFileNode(formNode, forms[i], i < formKinds.size() ? formKinds[i] : QString(), icons_[FormPicture]);
    expandAll();
}

QStringList ProjectTree::nodeNames() const
{
    QStringList names;
    for (QTreeWidgetItemIterator it(const_cast<ProjectTree*>(this)); *it; ++it)
        names << nodeName(*it);
    return names;
}

QString ProjectTree::selectedFile() const
{
    if (topLevelItemCount() == 0)
        return {};
    const QList<QTreeWidgetItem*> selected = selectedItems();
    const QTreeWidgetItem* item = selected.isEmpty() ? nullptr : selected.first();
    if (!item || !item->parent())
        return {};
    return nodeName(item);
}

bool ProjectTree::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton)
            break;
        if (event->type() == QEvent::MouseButtonPress)
            popup_->popup(mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
        break;
    case QEvent::ContextMenu:
        // The press has opened the menu already.
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse)
            return true;
        break;
    default:
        break;
    }
    return QTreeWidget::viewportEvent(event);
}

} // namespace lingrove::ui
