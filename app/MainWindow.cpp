#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace lingrove::app {

namespace {

constexpr int kDesignedWidth = 930;
constexpr int kDesignedHeight = 659;

// A panel painted with a horizontal colour gradient, standing in for the
// gradient title bar of the original look.
class GradientPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, palette().color(QPalette::Window).lighter(104));
        g.setColorAt(1, palette().color(QPalette::Window).darker(108));
        p.fillRect(rect(), g);
    }
};

} // namespace

QSize MainWindow::sizeForScreenWidth(int width)
{
    if (width < 800)
        return {640, 480};
    if (width < 1024)
        return {800, 600};
    return {kDesignedWidth, kDesignedHeight};
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , toolBar_(new GradientPanel(this))
    , translationBarSlot_(new QWidget(this))
    , workSplitter_(new QSplitter(Qt::Horizontal, this))
    , bottomSplitter_(new QSplitter(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Source translator"));
    QFont base(QStringLiteral("MS Sans Serif"));
    base.setPixelSize(13);
    setFont(base);

    toolBar_->setObjectName(QStringLiteral("Panel1"));
    toolBar_->setFixedHeight(38);
    auto* tools = new QHBoxLayout(toolBar_);
    tools->setContentsMargins(2, 2, 2, 2);
    tools->setSpacing(0);
    tools->addStretch(1);

    auto* barLayout = new QVBoxLayout(translationBarSlot_);
    barLayout->setContentsMargins(0, 0, 0, 0);

    workSplitter_->setObjectName(QStringLiteral("Panel8"));
    workSplitter_->setChildrenCollapsible(false);
    bottomSplitter_->setObjectName(QStringLiteral("Splitter2"));
    bottomSplitter_->setChildrenCollapsible(false);
    bottomSplitter_->addWidget(workSplitter_);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(translationBarSlot_);
    layout->addWidget(bottomSplitter_, 1);
    setCentralWidget(central);

    auto* hints = new QStatusBar(this);
    hints->setObjectName(QStringLiteral("StatusBar2"));
    hints->setSizeGripEnabled(true);
    setStatusBar(hints);

    buildMenus();

    // Window size by screen width, centred.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QSize size = sizeForScreenWidth(screen ? screen->geometry().width() : 1280);
    resize(size);
    move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    const std::pair<ui::Menu, const char*> menus[] = {
        {ui::Menu::File, "&File"},   {ui::Menu::Operation, "&Operation"}, {ui::Menu::Project, "&Project"},
        {ui::Menu::Extras, "&Extras"}, {ui::Menu::View, "&View"},         {ui::Menu::Tools, "&Tools"},
        {ui::Menu::Help, "?"},
    };
    const char* names[] = {"File1", "Operation1", "Project1", "Version1", "View1", "Tools1", "Help1"};
    int i = 0;
    for (const auto& [id, caption] : menus) {
        QMenu* m = bar->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(names[i++]));
        menus_[id] = m;
    }

    // The View menu's switches show and hide parts of this window.
    auto toggle = [this](const char* name, const QString& caption, auto apply) {
        QAction* a = menus_[ui::Menu::View]->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::toggled, this, apply);
        return a;
    };
    toolBarToggle_ = toggle("Toolbar1", QStringLiteral("&Toolbar"), [this](bool on) { toolBar_->setVisible(on); });
    statusBarToggle_ = toggle("Statusbar1", QStringLiteral("&Status bar"), [this](bool on) {
        if (statusPanel_)
            statusPanel_->setVisible(on);
    });
    projectTreeToggle_ = toggle("Projecttree1", QStringLiteral("&Project tree"), [this](bool on) {
        if (tree_)
            tree_->setVisible(on);
    });
    menus_[ui::Menu::View]->addSeparator();
}

QMenu* MainWindow::menu(ui::Menu id) const
{
    if (id == ui::Menu::ProjectTree)
        return treeMenu_;
    const auto it = menus_.find(id);
    return it == menus_.end() ? nullptr : it->second;
}

QToolButton* MainWindow::addToolButton(QAction* action, const char* name, const QString& hint,
                                       QStyle::StandardPixmap icon, int width)
{
    auto* layout = static_cast<QHBoxLayout*>(toolBar_->layout());
    auto* b = new QToolButton(toolBar_);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setFixedSize(width, 34);
    b->setIcon(style()->standardIcon(icon));
    b->setIconSize(width < 20 ? QSize(9, 9) : QSize(22, 22));
    b->setFocusPolicy(Qt::NoFocus);
    // The hint goes to the hint line, not into a balloon.
    b->setStatusTip(hint);
    connect(b, &QToolButton::clicked, action, &QAction::trigger);
    layout->insertWidget(layout->count() - 1, b);
    return b;
}

void MainWindow::addToolSpacing()
{
    auto* layout = static_cast<QHBoxLayout*>(toolBar_->layout());
    layout->insertSpacing(layout->count() - 1, 8);
}

void MainWindow::setTranslationBar(QWidget* bar)
{
    translationBarSlot_->layout()->addWidget(bar);
}

void MainWindow::setWorkArea(QWidget* tree, QWidget* pageArea, QWidget* statusPanel)
{
    tree_ = tree;
    statusPanel_ = statusPanel;
    auto* right = new QWidget(workSplitter_);
    right->setObjectName(QStringLiteral("Panel3"));
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(pageArea, 1);
    column->addWidget(statusPanel);
    workSplitter_->addWidget(tree);
    workSplitter_->addWidget(right);
    workSplitter_->setStretchFactor(0, 0);
    workSplitter_->setStretchFactor(1, 1);
    workSplitter_->setSizes({147, 780});
}

void MainWindow::setStringList(QWidget* list)
{
    bottomSplitter_->addWidget(list);
    bottomSplitter_->setStretchFactor(0, 1);
    bottomSplitter_->setStretchFactor(1, 0);
    bottomSplitter_->setSizes({height() - 160, 160});
}

void MainWindow::addStatusWidget(QWidget* widget)
{
    statusBar()->addPermanentWidget(widget);
}

void MainWindow::addAction(ui::Menu id, QAction* action)
{
    QMenu* m = menu(id);
    if (!m)
        return;
    if (action)
        m->addAction(action);
    else
        m->addSeparator();
}

void MainWindow::onMenuShown(ui::Menu id, std::function<void()> update)
{
    if (QMenu* m = menu(id))
        connect(m, &QMenu::aboutToShow, this, std::move(update));
}

void MainWindow::showHint(const QString& text, int milliseconds)
{
    statusBar()->showMessage(text, milliseconds);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        // Once the window is on the screen, as the first show of the form.
        QTimer::singleShot(0, this, [this] { emit firstShown(); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (mayClose_ && !mayClose_()) {
        event->ignore();
        return;
    }
    event->accept();
    QMainWindow::closeEvent(event);
}

} // namespace lingrove::app
