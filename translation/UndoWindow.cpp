#include "translation/UndoWindow.h"

#include "translation/UndoBuffer.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lingrove::translation {

namespace {

constexpr int kWindowWidth = 236;

QRect screenArea(const QWidget* w)
{
    const QScreen* screen = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

TUndoForm::TUndoForm(QWidget* mainWindow, QAction* menuItem)
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

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setHeaderLabels({"Undo string", "Line", "Pos", "Length"});
    const int widths[] = {80, 40, 40, 52};
    for (int i = 0; i < 4; ++i)
        ListView1->setColumnWidth(i, widths[i]);
    ListView1->header()->setStretchLastSection(false);
    layout->addWidget(ListView1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);
    StatusBar1->showMessage(QString::fromLatin1(StatusEmptyAtStart));

    resize(kWindowWidth, 400);
    move(0, 0);
}

void TUndoForm::refresh(const UndoBuffer& buffer)
{
    ListView1->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(buffer.count());
    for (int i = 0; i < buffer.count(); ++i) {
        const UndoRecord& r = buffer.at(i);
        items.append(new QTreeWidgetItem(
            {r.Text, QString::number(r.Line), QString::number(r.Pos), QString::number(r.Length)}));
    }
    ListView1->addTopLevelItems(items);
    StatusBar1->showMessage(buffer.statusText());
}

void TUndoForm::showEvent(QShowEvent* event)
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

void TUndoForm::hideEvent(QHideEvent* event)
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

} // namespace lingrove::translation
