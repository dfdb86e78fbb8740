#include "ui/translation/UndoWindow.h"

#include "model/UndoBuffer.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lingrove::ui {

namespace {

constexpr int kWindowWidth = 236;

QRect screenArea(const QWidget* w)
{
    const QScreen* screen = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

UndoWindow::UndoWindow(QWidget* mainWindow, QAction* menuItem)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                              | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , main_(mainWindow)
    , menuItem_(menuItem)
{
    setObjectName("UndoForm");
    setWindowTitle("UndoForm");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    list_ = new QTreeWidget(this);
    list_->setObjectName("list_");
    list_->setRootIsDecorated(false);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({"Undo string", "Line", "Pos", "Length"});
    const int widths[] = {80, 40, 40, 52};
    for (int i = 0; i < 4; ++i)
        list_->setColumnWidth(i, widths[i]);
    list_->header()->setStretchLastSection(false);
    layout->addWidget(list_, 1);

    status_ = new QStatusBar(this);
    status_->setObjectName("status_");
    status_->setSizeGripEnabled(false);
    layout->addWidget(status_);
    status_->showMessage(QString::fromLatin1(model::StatusEmptyAtStart));

    resize(kWindowWidth, 400);
    move(0, 0);
}

void UndoWindow::refresh(const model::UndoBuffer& buffer)
{
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(buffer.count());
    for (int i = 0; i < buffer.count(); ++i) {
        const model::UndoRecord& r = buffer.at(i);
        items.append(new QTreeWidgetItem(
            {r.original, QString::number(r.line), QString::number(r.column), QString::number(r.length)}));
    }
    list_->addTopLevelItems(items);
    status_->showMessage(buffer.statusText());
}

void UndoWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (placed_ || !main_)
        return;
    placed_ = true;
    remembered_ = main_->geometry();
    // Places by the outer frames: this window at the screen's left edge, the
    // main window right of it, both the full height of the screen.
    const QRect area = screenArea(main_);
    move(area.topLeft());
    resize(width(), area.height() - (frameGeometry().height() - height()));
    const int taken = frameGeometry().width();
    main_->move(area.left() + taken, area.top());
    main_->resize(area.width() - taken - (main_->frameGeometry().width() - main_->width()),
                  area.height() - (main_->frameGeometry().height() - main_->height()));
}

void UndoWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A spontaneous hide (the desktop minimising the windows) keeps the places.
    if (!placed_ || event->spontaneous())
        return;
    placed_ = false;
    if (main_)
        main_->setGeometry(remembered_);
    if (menuItem_)
        menuItem_->setChecked(false);
}

} // namespace lingrove::ui
