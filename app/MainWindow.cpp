#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/AppState.h"
#include "app/DelphiInstallation.h"
#include "app/NewProjectWizard.h"
#include "app/OptionsDialog.h"
#include "app/ProjectInfoDialog.h"
#include "app/RecentProjects.h"
#include "platform/FileUtil.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lingrove::app {

namespace {

constexpr int kDesignedWidth = 930;
constexpr int kDesignedHeight = 659;

// A panel painted with a vertical colour gradient, standing in for the
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

QLineEdit* labelField(const QString& text, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

} // namespace

QSize MainWindow::sizeForScreenWidth(int width)
{
    if (width < 800)
        return {640, 480};
    if (width < 1024)
        return {800, 600};
    return {kDesignedWidth, kDesignedHeight};
}

QString MainWindow::recentProjectsFile()
{
    return platform::joinPath(platform::programFolder(), "mru.dat");
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    state().mainWindow = this;
    setObjectName("MainForm");
    setWindowTitle("Source translator");
    QFont base("MS Sans Serif");
    base.setPixelSize(13);
    setFont(base);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    buildToolBar();
    buildTranslationBar();
    buildWorkArea();
    buildStringList();
    layout->addWidget(Panel1);
    layout->addWidget(Panel7);
    bottomSplitter = new QSplitter(Qt::Vertical, central);
    bottomSplitter->setObjectName("Splitter2");
    bottomSplitter->addWidget(workSplitter);
    bottomSplitter->addWidget(Panel2);
    bottomSplitter->setStretchFactor(0, 1);
    bottomSplitter->setStretchFactor(1, 0);
    bottomSplitter->setChildrenCollapsible(false);
    layout->addWidget(bottomSplitter, 1);

    StatusBar2 = new QStatusBar(this);
    StatusBar2->setObjectName("StatusBar2");
    StatusBar2->setSizeGripEnabled(true);
    setStatusBar(StatusBar2);

    buildMenus();

    // Window size by screen width, centred.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QSize size = sizeForScreenWidth(screen ? screen->geometry().width() : 1280);
    resize(size);
    move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
    bottomSplitter->setSizes({size.height() - 160, 160});

    createDialogs();
    initPages();
    initTranslation();
    initBuild();
}

MainWindow::~MainWindow()
{
    finishBuild();
    finishTranslation();
    finishPages();
    if (state().mainWindow == this)
        state().mainWindow = nullptr;
}

void MainWindow::buildToolBar()
{
    Panel1 = new GradientPanel(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(38);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);

    auto button = [&](const char* name, const QString& hint, QStyle::StandardPixmap icon, int width = 34) {
        auto* b = new QToolButton(Panel1);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setFixedSize(width, 34);
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(22, 22));
        b->setFocusPolicy(Qt::NoFocus);
        // The hint goes to the hint line, not into a balloon.
        b->setStatusTip(hint);
        row->addWidget(b);
        return b;
    };
    SpeedButton2 = button("SpeedButton2", "Create new project", QStyle::SP_FileDialogNewFolder);
    SpeedButton3 = button("SpeedButton3", "Open existing project", QStyle::SP_DialogOpenButton);
    SpeedButton17 = button("SpeedButton17", QString(), QStyle::SP_ArrowDown, 13);
    SpeedButton17->setIconSize(QSize(9, 9));
    row->addSpacing(8);
    SpeedButton4 = button("SpeedButton4", "Save file", QStyle::SP_DialogSaveButton);
    SpeedButton5 = button("SpeedButton5", "Get strings from the current file", QStyle::SP_FileDialogContentsView);
    SpeedButton11 = button("SpeedButton11", "Open table for editing", QStyle::SP_FileDialogDetailedView);
    row->addSpacing(8);
    SpeedButton12 = button("SpeedButton12", "Compile project", QStyle::SP_BrowserReload);
    SpeedButton13 = button("SpeedButton13", "Run project", QStyle::SP_MediaPlay);
    SpeedButton14 = button("SpeedButton14", "Open project with Delphi IDE", QStyle::SP_ComputerIcon);
    row->addSpacing(8);
    SpeedButton18 = button("SpeedButton18", "Options", QStyle::SP_FileDialogInfoView);
    SpeedButton15 = button("SpeedButton15", "Help", QStyle::SP_DialogHelpButton);
    SpeedButton16 = button("SpeedButton16", "Exit", QStyle::SP_DialogCloseButton);
    row->addStretch(1);

    connect(SpeedButton2, &QToolButton::clicked, this, [this] { Newproject1Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { Open1Click(); });
    connect(SpeedButton17, &QToolButton::clicked, this, [this] { SpeedButton17Click(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SaveDFM1Click(); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { Getstrings1Click(); });
    connect(SpeedButton11, &QToolButton::clicked, this, [this] { Editdatabase1Click(); });
    connect(SpeedButton12, &QToolButton::clicked, this, [this] { Compile1Click(); });
    connect(SpeedButton13, &QToolButton::clicked, this, [this] { Run2Click(); });
    connect(SpeedButton14, &QToolButton::clicked, this, [this] { Run1Click(); });
    connect(SpeedButton18, &QToolButton::clicked, this, [this] { Preferenses1Click(); });
    connect(SpeedButton15, &QToolButton::clicked, this, [this] { Info1Click(); });
    connect(SpeedButton16, &QToolButton::clicked, this, [this] { Exit1Click(); });
}

void MainWindow::buildTranslationBar()
{
    Panel7 = new QWidget(this);
    Panel7->setObjectName("Panel7");
    Panel7->setFixedHeight(55);

    Edit6 = labelField("Source", Panel7);
    Edit6->setObjectName("Edit6");
    Edit7 = labelField("Destination", Panel7);
    Edit7->setObjectName("Edit7");
    Edit6->setGeometry(4, 3, 101, 23);
    Edit7->setGeometry(4, 29, 101, 23);

    Edit1 = new QLineEdit(Panel7);
    Edit1->setObjectName("Edit1");
    Edit1->setReadOnly(true);
    QPalette red = Edit1->palette();
    red.setColor(QPalette::Text, Qt::red);
    red.setColor(QPalette::Base, palette().color(QPalette::Button));
    Edit1->setPalette(red);
    Edit2 = new QLineEdit(Panel7);
    Edit2->setObjectName("Edit2");
    Edit1->setGeometry(109, 3, 600, 23);
    Edit2->setGeometry(109, 29, 600, 23);

    SpeedButton19 = new QPushButton("Word 1", Panel7);
    SpeedButton19->setObjectName("SpeedButton19");
    SpeedButton19->setFocusPolicy(Qt::NoFocus);
    SpeedButton1 = new QPushButton("UNDO", Panel7);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton19->resize(70, 49);
    SpeedButton1->resize(70, 49);

    for (int i = 0; i < 5; ++i) {
        auto* s = new QPushButton(QString("S%1").arg(i + 1), Panel7);
        s->setObjectName(QString("SpeedButton%1").arg(6 + i));
        s->setCheckable(true);
        s->setAutoExclusive(true);
        s->setVisible(false);
        proposalButtons[static_cast<size_t>(i)] = s;
    }
    proposalButtons[0]->setChecked(true);
}

void MainWindow::buildWorkArea()
{
    workSplitter = new QSplitter(Qt::Horizontal, this);
    workSplitter->setObjectName("Panel8");
    workSplitter->setChildrenCollapsible(false);

    TreeView1 = new QTreeWidget(workSplitter);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    TreeView1->setMinimumWidth(60);

    auto* panel3 = new QWidget(workSplitter);
    panel3->setObjectName("Panel3");
    auto* v = new QVBoxLayout(panel3);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    PageControl1 = new QTabWidget(panel3);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setDocumentMode(true);
    MainTabSheet = new QWidget;
    MainTabSheet->setObjectName("MainTabSheet");
    auto* sheetLayout = new QVBoxLayout(MainTabSheet);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    MainRichEdit = new QTextEdit(MainTabSheet);
    MainRichEdit->setObjectName("MainRichEdit");
    QFont courier("Courier New");
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(17);
    MainRichEdit->setFont(courier);
    MainRichEdit->document()->setDefaultFont(courier);
    MainRichEdit->setLineWrapMode(QTextEdit::NoWrap);
    MainRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MainRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MainRichEdit->setAcceptRichText(false);
    MainRichEdit->setTabChangesFocus(true);
    sheetLayout->addWidget(MainRichEdit);
    // Hidden work controls of the project page.
    Kopf = new QTextEdit(MainTabSheet);
    Kopf->setObjectName("Kopf");
    Kopf->setVisible(false);
    Schwanz = new QTextEdit(MainTabSheet);
    Schwanz->setObjectName("Schwanz");
    Schwanz->setVisible(false);
    ListBox2 = new QListWidget(MainTabSheet);
    ListBox2->setObjectName("ListBox2");
    ListBox2->setVisible(false);
    PageControl1->addTab(MainTabSheet, "noname");
    v->addWidget(PageControl1, 1);

    Panel6 = new QWidget(panel3);
    Panel6->setObjectName("Panel6");
    Panel6->setFixedHeight(28);
    Panel6Caption = new QLabel(Panel6);
    Panel6Caption->setObjectName("Panel6Caption");
    Panel6Caption->setGeometry(4, 0, 300, 28);
    Panel6Caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ProgressBar1 = new QProgressBar(Panel6);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(300, 6, 200, 16);
    Edit5 = new QLineEdit(Panel6);
    Edit5->setObjectName("Edit5");
    Edit5->setVisible(false);
    v->addWidget(Panel6);

    workSplitter->addWidget(TreeView1);
    workSplitter->addWidget(panel3);
    workSplitter->setStretchFactor(0, 0);
    workSplitter->setStretchFactor(1, 1);
    workSplitter->setSizes({147, 780});

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setVisible(false);
    ListBox4 = new QListWidget(this);
    ListBox4->setObjectName("ListBox4");
    ListBox4->setVisible(false);
    Edit8 = new QLineEdit(this);
    Edit8->setObjectName("Edit8");
    Edit8->setVisible(false);
}

void MainWindow::buildStringList()
{
    Panel2 = new QWidget(this);
    Panel2->setObjectName("Panel2");
    Panel2->setMinimumHeight(60);
    auto* grid = new QVBoxLayout(Panel2);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    auto* header = new QWidget(Panel2);
    header->setObjectName("Panel5");
    auto* h = new QHBoxLayout(header);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    Edit3 = labelField(" Changed", header);
    Edit3->setObjectName("Edit3");
    Edit3->setFixedWidth(66);
    Edit4 = labelField("  COL POSA POSB String", header);
    Edit4->setObjectName("Edit4");
    h->addWidget(Edit3);
    h->addWidget(Edit4, 1);
    grid->addWidget(header);

    auto* lists = new QWidget(Panel2);
    auto* l = new QHBoxLayout(lists);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    QFont courier("Courier New");
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    ListBox3 = new QListWidget(lists);
    ListBox3->setObjectName("ListBox3");
    ListBox3->setFixedWidth(66);
    ListBox3->setFont(courier);
    ListBox3->setEnabled(false);
    ListBox3->setFocusPolicy(Qt::NoFocus);
    ListBox3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringEdit = new QListWidget(lists);
    StringEdit->setObjectName("StringEdit");
    StringEdit->setFont(courier);
    StringEdit->setUniformItemSizes(true);
    l->addWidget(ListBox3);
    l->addWidget(StringEdit, 1);
    grid->addWidget(lists, 1);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    File1 = bar->addMenu("&File");
    File1->setObjectName("File1");
    Newproject1 = item(File1, "Newproject1", "&New project", [this] { Newproject1Click(); });
    Open1 = item(File1, "Open1", "&Open Project", [this] { Open1Click(); });
    Saveproject1 = item(File1, "Saveproject1", "Save &project", [this] { Saveproject1Click(); });
    File1->addSeparator();
    Add1 = item(File1, "Add1", "&Add File", [this] { TreeView1DblClick(); });
    Remove1 = item(File1, "Remove1", "&Remove File", [this] { Remove1Click(); });
    SaveDFM1 = item(File1, "SaveDFM1", "&Save file", [this] { SaveDFM1Click(); });
    File1->addSeparator();
    Exit1 = item(File1, "Exit1", "&Exit", [this] { Exit1Click(); });

    Operation1 = bar->addMenu("&Operation");
    Operation1->setObjectName("Operation1");
    Getstrings1 = item(Operation1, "Getstrings1", "&Get strings", [this] { Getstrings1Click(); });
    Operation1->addSeparator();
    Preferenses1 = item(Operation1, "Preferenses1", "&Preferenses", [this] { Preferenses1Click(); });
    Editdatabase1 = item(Operation1, "Editdatabase1", "&Edit database", [this] { Editdatabase1Click(); });
    connect(Operation1, &QMenu::aboutToShow, this, [this] { Operation1Click(); });

    Project1 = bar->addMenu("&Project");
    Project1->setObjectName("Project1");
    Compile1 = item(Project1, "Compile1", "&Compile", [this] { Compile1Click(); });
    Compile1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    Compileall1 = item(Project1, "Compileall1", "Compile &all", [this] { Compileall1Click(); });
    Run2 = item(Project1, "Run2", "R&un", [this] { Run2Click(); });
    Project1->addSeparator();
    Run1 = item(Project1, "Run1", "&Run Delphi IDE", [this] { Run1Click(); });

    Version1 = bar->addMenu("&Extras");
    Version1->setObjectName("Version1");
    Create1 = item(Version1, "Create1", "&Create versioninfo", [this] { Create1Click(); });
    AddinProject1 = item(Version1, "AddinProject1", "&Remove versioninfo", [this] { AddinProject1Click(); });
    Version1->addSeparator();
    Projectinfo1 = item(Version1, "Projectinfo1", "&Projectinfo", [this] { Projectinfo1Click(); });
    Compilerinfo1 = item(Version1, "Compilerinfo1", "Compiler &info", [this] { Compilerinfo1Click(); });
    Version1->addSeparator();
    Viewasform1 = item(Version1, "Viewasform1", "&View as form", [this] { Viewasform1Click(); });
    connect(Version1, &QMenu::aboutToShow, this, [this] { Version1Click(); });

    View1 = bar->addMenu("&View");
    View1->setObjectName("View1");
    Toolbar1 = item(View1, "Toolbar1", "&Toolbar", [this] { Toolbar1Click(); });
    Statusbar1 = item(View1, "Statusbar1", "&Status bar", [this] { Statusbar1Click(); });
    Projecttree1 = item(View1, "Projecttree1", "&Project tree", [this] { Projecttree1Click(); });
    for (QAction* a : {Toolbar1, Statusbar1, Projecttree1}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    View1->addSeparator();
    Undoform1 = item(View1, "Undoform1", "Undo form", [this] { Undoform1Click(); });
    Undoform1->setCheckable(true);

    Tools1 = bar->addMenu("&Tools");
    Tools1->setObjectName("Tools1");
    Resourcecreator1 = item(Tools1, "Resourcecreator1", "&Explorer", [this] { Resourcecreator1Click(); });
    Pictureeditor1 = item(Tools1, "Pictureeditor1", "&Picture editor", [this] { Pictureeditor1Click(); });
    Notepad1 = item(Tools1, "Notepad1", "&Notepad", [this] { Notepad1Click(); });

    Help1 = bar->addMenu("?");
    Help1->setObjectName("Help1");
    Info1 = item(Help1, "Info1", "Info", [this] { Info1Click(); });
    Credits1 = item(Help1, "Credits1", "&Credits", [this] { Credits1Click(); });
    Help1->addSeparator();
    Viewreadme1 = item(Help1, "Viewreadme1", "&View readme", [this] { Viewreadme1Click(); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    LoadfileunderCursor1 = item(PopupMenu1, "LoadfileunderCursor1", "Load file under Cursor",
                                [this] { TreeView1DblClick(); });
    LoadallprojectFiles1 = item(PopupMenu1, "LoadallprojectFiles1", "Load all project Ffles",
                                [this] { LoadallprojectFiles1Click(); });
}

void MainWindow::createDialogs()
{
    Newpro = new NewProjectWizard(this);
    OptForm = new OptionsDialog(this);
    AboutBox1 = new AboutBox(this);
    PInform = new ProjectInfoDialog(this);
    MRUForm = new RecentProjectsDialog(this);
    Credits = new CreditsWindow(this);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormPaint();
    if (!shown_) {
        shown_ = true;
        // Once the window is on the screen, as the first show of the form.
        QTimer::singleShot(0, this, [this] { FormShow(); });
    }
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormPaint();
}

void MainWindow::FormPaint()
{
    ProgressBar1->move(Panel6->width() - ProgressBar1->width() - 10, ProgressBar1->y());
    Panel6Caption->resize(qMax(0, ProgressBar1->x() - 8), Panel6->height());
    const int w = Panel7->width() - Edit1->x() - SpeedButton19->width() - SpeedButton1->width() - 9;
    Edit1->resize(qMax(40, w), Edit1->height());
    Edit2->resize(Edit1->width(), Edit2->height());
    SpeedButton19->move(Edit1->x() + Edit1->width() + 3, 3);
    SpeedButton1->move(Edit1->x() + Edit1->width() + 4 + SpeedButton19->width(), 3);
}

void MainWindow::reportSettingsDamage(const platform::KeyStore& store)
{
    const platform::KeyStore::Damage& damage = store.damage();
    if (damage.line == 0)
        return;
    QString text = QString("The settings file %1 is damaged: line %2 cannot be read (%3)")
                       .arg(store.file())
                       .arg(damage.line)
                       .arg(damage.reason);
    if (damage.lines > 1)
        text += QString(", nor can %1 more lines").arg(damage.lines - 1);
    text += ".\n";
    if (damage.keptAs.isEmpty())
        text += "The file cannot be copied aside, so the settings are not saved until it is repaired.";
    else
        text += QString("The file as it was is kept as %1. The settings that could be read are used.")
                    .arg(damage.keptAs);
    platform::ui().message(this, text, platform::BoxKind::Warning);
}

void MainWindow::FormShow()
{
    AppState& st = state();
    platform::KeyStore store;
    reportSettingsDamage(store);
    for (const QString& folder : {platform::programFolder(), platform::folderOf(store.file())})
        platform::removeStaleTemporaries(folder);
    if (store.keyExists(delphi::kSettingsKey)) {
        st.ConfigOK = true;
        try {
            OptForm->LoadSettings();
        } catch (const std::exception& e) {
            // A bad value stops the loading where it stands; the recent
            // projects are not loaded then.
            showError(QString::fromUtf8(e.what()));
            return;
        }
        MRUForm->loadFile(recentProjectsFile());
        return;
    }
    if (platform::ui().question(this, "You need to config the application.\r\nDo you want to do it now?")) {
        st.ConfigOK = false;
        platform::ui().exec(*OptForm);
    } else {
        platform::ui().message(this, "The application is not correctly installed.\r\n"
                                     "Some important functions are not aviable.");
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Any close writes the recent projects, with no question about unsaved work.
    QString why;
    if (!MRUForm->saveFile(recentProjectsFile(), &why))
        showError(why);
    event->accept();
    QMainWindow::closeEvent(event);
}

void MainWindow::Exit1Click()
{
    if (state().ProjectSaved) {
        close();
        return;
    }
    if (!platform::ui().question(this, "Do you want to save the current project"))
        return;
    // A project that could not be saved keeps the program running, so that
    // nothing is lost; the user has been told why.
    if (Saveproject1Click())
        close();
}

void MainWindow::Toolbar1Click()
{
    Panel1->setVisible(Toolbar1->isChecked());
}

void MainWindow::Statusbar1Click()
{
    Panel6->setVisible(Statusbar1->isChecked());
}

void MainWindow::Projecttree1Click()
{
    TreeView1->setVisible(Projecttree1->isChecked());
}

void MainWindow::Operation1Click()
{
    Getstrings1->setEnabled(PageControl1->currentWidget() != MainTabSheet);
}

void MainWindow::Version1Click()
{
    const QString caption = PageControl1->tabText(PageControl1->currentIndex());
    Viewasform1->setEnabled(caption.right(3).toLower() == "dfm");
    const bool open = state().project.isOpen();
    Create1->setEnabled(open);
    AddinProject1->setEnabled(open);
}

void MainWindow::SpeedButton17Click()
{
    if (state().project.isOpen()) {
        platform::ui().message(this, "You must restart the program");
        return;
    }
    platform::ui().exec(*MRUForm);
}

void MainWindow::Preferenses1Click()
{
    platform::ui().exec(*OptForm);
}

void MainWindow::Projectinfo1Click()
{
    platform::ui().exec(*PInform);
}

void MainWindow::Info1Click()
{
    platform::ui().exec(*AboutBox1);
}

void MainWindow::Credits1Click()
{
    platform::ui().exec(*Credits);
}

void MainWindow::showError(const QString& text)
{
    platform::ui().error(this, text);
}

} // namespace lingrove::app
