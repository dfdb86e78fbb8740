#include "ui/pages/PagesFeature.h"

#include "model/ColourScheme.h"
#include "model/ProjectSources.h"
#include "model/RtfReader.h"
#include "model/StringFilters.h"
#include "model/Workspace.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "ui/pages/ProjectTree.h"
#include "ui/pages/SourcePage.h"
#include "ui/shell/Actions.h"
#include "ui/shell/Shell.h"
#include "ui/shell/UserInterface.h"
#include "ui/shell/WaitCursor.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <memory>

namespace lingrove::ui {

namespace {

// The editors of the pages: the page font, no wrapping, both scroll bars,
// Tab moves the focus on. Plain-text editors: they lay out only the lines
// shown, so a unit of any length opens and scrolls at once.
void setUpEditor(QPlainTextEdit* editor)
{
    editor->setFont(model::pageFont());
    editor->document()->setDefaultFont(model::pageFont());
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setTabChangesFocus(true);
}

// The mark of a page with unsaved changes: a small dot on its tab.
QIcon modifiedIcon()
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 90, 0));
    p.drawEllipse(QRectF(2.5, 2.5, 7, 7));
    return QIcon(pixmap);
}

} // namespace

PagesFeature::PagesFeature(model::Workspace& workspace, Shell& shell, QObject* parent)
    : QObject(parent)
    , workspace_(workspace)
    , shell_(shell)
    , tree_(new ProjectTree)
    , tabs_(new QTabWidget)
    , projectPage_(new QWidget)
    , projectEditor_(new QPlainTextEdit(projectPage_))
    , statusPanel_(new QWidget)
    , positionLabel_(new QLabel(statusPanel_))
    , progressBar_(new QProgressBar(statusPanel_))
    , modifiedMark_(modifiedIcon())
{
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->setDocumentMode(true);
    projectPage_->setObjectName(QStringLiteral("MainTabSheet"));
    auto* sheet = new QVBoxLayout(projectPage_);
    sheet->setContentsMargins(0, 0, 0, 0);
    projectEditor_->setObjectName(QStringLiteral("MainRichEdit"));
    setUpEditor(projectEditor_);
    sheet->addWidget(projectEditor_);
    tabs_->addTab(projectPage_, QStringLiteral("noname"));

    statusPanel_->setObjectName(QStringLiteral("Panel6"));
    statusPanel_->setFixedHeight(28);
    positionLabel_->setObjectName(QStringLiteral("Panel6Caption"));
    positionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setFixedSize(200, 16);
    auto* status = new QHBoxLayout(statusPanel_);
    status->setContentsMargins(4, 0, 10, 0);
    status->addWidget(positionLabel_, 1);
    status->addWidget(progressBar_);

    addFile_ = makeAction(this, "Add1", QStringLiteral("&Add File"));
    removeFile_ = makeAction(this, "Remove1", QStringLiteral("&Remove File"));
    saveFile_ = makeAction(this, "SaveDFM1", QStringLiteral("&Save file"));
    loadFileUnderCursor_ = makeAction(this, "LoadfileunderCursor1", QStringLiteral("Load file under Cursor"));
    loadAllFiles_ = makeAction(this, "LoadallprojectFiles1", QStringLiteral("Load all project Ffles"));
    tree_->popupMenu()->addAction(loadFileUnderCursor_);
    tree_->popupMenu()->addAction(loadAllFiles_);

    connect(addFile_, &QAction::triggered, this, [this] { openSelectedFile(); });
    connect(removeFile_, &QAction::triggered, this, [this] { closeActivePage(); });
    connect(saveFile_, &QAction::triggered, this, [this] { saveActivePage(); });
    connect(loadFileUnderCursor_, &QAction::triggered, this, [this] { openSelectedFile(); });
    connect(loadAllFiles_, &QAction::triggered, this, [this] { reloadAllPages(); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { openSelectedFile(); });
    connect(projectEditor_, &QPlainTextEdit::cursorPositionChanged, this, [this] { showPosition(projectEditor_); });
    // New options may change what the tree finds.
    connect(&workspace_, &model::Workspace::settingsChanged, this, [this] {
        if (projectSource_)
            buildTree();
    });
}

PagesFeature::~PagesFeature()
{
    // The editors may outlive this object inside the window; their signals
    // must not reach it any more.
    QObject::disconnect(projectEditor_, nullptr, this, nullptr);
    for (int i = 0; i < tabs_->count(); ++i)
        if (auto* page = dynamic_cast<SourcePage*>(tabs_->widget(i)))
            QObject::disconnect(page->editor, nullptr, this, nullptr);
}

QString PagesFeature::projectFolder() const
{
    return workspace_.project().delphiProjectFolder();
}

// ---- Pages ---------------------------------------------------------------------

SourcePage* PagesFeature::activePage() const
{
    return dynamic_cast<SourcePage*>(tabs_->currentWidget());
}

QPlainTextEdit* PagesFeature::activeFileEditor() const
{
    const SourcePage* page = activePage();
    return page ? page->editor : nullptr;
}

QPlainTextEdit* PagesFeature::activeEditor() const
{
    if (QPlainTextEdit* editor = activeFileEditor())
        return editor;
    return projectEditor_;
}

QString PagesFeature::activeCaption() const
{
    return tabs_->tabText(tabs_->currentIndex());
}

QString PagesFeature::activeFilePath() const
{
    if (const SourcePage* page = activePage())
        return page->file.path();
    return projectSource_ ? projectSource_->path() : QString();
}

bool PagesFeature::isProjectPageActive() const
{
    return tabs_->currentWidget() == projectPage_;
}

QStringList PagesFeature::captions() const
{
    QStringList all;
    for (int i = 0; i < tabs_->count(); ++i)
        all << tabs_->tabText(i);
    return all;
}

std::vector<OpenFilePage> PagesFeature::openFilePages() const
{
    std::vector<OpenFilePage> open;
    for (int i = 0; i < tabs_->count(); ++i) {
        const auto* page = dynamic_cast<const SourcePage*>(tabs_->widget(i));
        if (page && page->loaded)
            open.push_back(OpenFilePage{tabs_->tabText(i), page->editor, &page->file});
    }
    return open;
}

model::SourceFile* PagesFeature::projectSource()
{
    return projectSource_ ? &*projectSource_ : nullptr;
}

SourcePage* PagesFeature::newPage(const QString& caption)
{
    // k = the pages open before this one; the names stay unique after a page
    // in the middle was closed.
    int k = tabs_->count();
    while (tabs_->findChild<QWidget*>(QStringLiteral("TabSheet%1").arg(k)))
        ++k;
    auto* page = new SourcePage;
    page->setObjectName(QStringLiteral("TabSheet%1").arg(k));
    QPlainTextEdit* editor = page->editor;
    editor->setObjectName(QStringLiteral("RichEdit%1").arg(k));
    setUpEditor(editor);
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this, editor] { showPosition(editor); });
    tabs_->addTab(page, caption);
    tabs_->setCurrentWidget(page);
    return page;
}

bool PagesFeature::loadFile(QPlainTextEdit* editor, model::SourceFile& file)
{
    const platform::KeyStore store;
    pascal::ColourScheme scheme;
    model::FileProblem problem;
    bool loaded = false;
    try {
        scheme = model::readColourScheme(workspace_.settings().colourScheme, store);
        // A new document, filled before the editor shows it, is laid out
        // once instead of piece by piece while it is filled.
        auto document = std::make_unique<QTextDocument>();
        loading_ = true;
        // A large unit fills its document in steps, between which the
        // windows are painted; what the user types waits until it is shown.
        loaded = file.load(*document, scheme, &problem,
                           [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
        if (loaded) {
            document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
            document->setParent(editor);
            editor->setDocument(document.release());
            editor->moveCursor(QTextCursor::Start);
            watchModification(editor);
        }
        loading_ = false;
    } catch (const pascal::HighlightVersionError& e) {
        problem = {model::FileProblem::Kind::Source, QString::fromUtf8(e.what())};
    }
    if (loaded)
        return true;
    if (problem.kind == model::FileProblem::Kind::FormText)
        ui().message(shell_.window(), problem.message, BoxKind::Warning);
    else
        ui().error(shell_.window(), problem.message);
    return false;
}

void PagesFeature::openPage(const QString& name)
{
    const QString path = model::findProjectFile(projectFolder(), name);
    if (path.isEmpty())
        return;
    // One page per file: a second page of it would hold the text from
    // before the first one was saved, and saving it would undo that.
    for (int i = 0; i < tabs_->count(); ++i) {
        const auto* open = dynamic_cast<const SourcePage*>(tabs_->widget(i));
        if (open && QFileInfo(open->file.path()) == QFileInfo(path)) {
            tabs_->setCurrentIndex(i);
            return;
        }
    }
    QWidget* previous = tabs_->currentWidget();
    SourcePage* page = newPage(name);
    page->file = model::SourceFile(path);

    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    if (extension != QLatin1String(".dfm") && extension != QLatin1String(".pas"))
        return;
    page->loaded = loadFile(page->editor, page->file);
    if (!page->loaded) {
        // No half page: a page whose file could not be shown is not kept,
        // so that it can never be saved over the file.
        tabs_->removeTab(tabs_->indexOf(page));
        delete page;
        tabs_->setCurrentWidget(previous ? previous : projectPage_);
    }
}

void PagesFeature::openPages(const QStringList& names)
{
    if (names.isEmpty())
        return;
    progressBar_->setValue(0);
    progressBar_->setVisible(true);
    progressBar_->setMaximum(int(names.size()));
    {
        WaitCursor wait;
        for (int i = 0; i < names.size(); ++i) {
            progressBar_->setValue(i + 1);
            progressBar_->repaint();
            openPage(names[i].toLower());
        }
    }
    progressBar_->setVisible(false);
}

void PagesFeature::openAllProjectFiles()
{
    WaitCursor wait;
    model::FileFinder finder(projectFolder());
    for (const QString& node : tree_->nodeNames()) {
        const QString name = node.toLower();
        if (!finder.find(name).isEmpty())
            openPage(name);
    }
}

void PagesFeature::reloadAllPages()
{
    closeAllPages();
    openAllProjectFiles();
}

void PagesFeature::openSelectedFile()
{
    const QString name = tree_->selectedFile().toLower();
    if (name.isEmpty())
        return;
    const QString folder = projectFolder();
    if (folder.isEmpty() || !QDir(folder).exists()) {
        ui().error(shell_.window(), QStringLiteral("The folder %1 of the project source does not exist.").arg(folder));
        return;
    }
    if (activatePage(name))
        return;
    if (!model::findProjectFile(folder, name).isEmpty())
        openPage(name);
}

bool PagesFeature::activatePage(const QString& caption)
{
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabs_->tabText(i) == caption) {
            tabs_->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

void PagesFeature::showProjectPage()
{
    tabs_->setCurrentWidget(projectPage_);
}

QPlainTextEdit* PagesFeature::editorOf(const QWidget* page) const
{
    if (page == projectPage_)
        return projectEditor_;
    const auto* source = dynamic_cast<const SourcePage*>(page);
    return source ? source->editor : nullptr;
}

bool PagesFeature::isModified(const QWidget* page) const
{
    const QPlainTextEdit* editor = editorOf(page);
    return editor && editor->document()->isModified();
}

void PagesFeature::watchModification(QPlainTextEdit* editor)
{
    QWidget* page = editor == projectEditor_ ? projectPage_ : editor->parentWidget();
    connect(editor->document(), &QTextDocument::modificationChanged, this, [this, page](bool modified) {
        const int index = tabs_->indexOf(page);
        if (index >= 0)
            tabs_->setTabIcon(index, modified ? modifiedMark_ : QIcon());
    });
    const int index = tabs_->indexOf(page);
    if (index >= 0)
        tabs_->setTabIcon(index, editor->document()->isModified() ? modifiedMark_ : QIcon());
}

bool PagesFeature::askToSave(QWidget* page)
{
    if (!isModified(page))
        return true;
    const int index = tabs_->indexOf(page);
    switch (ui().choice(shell_.window(), QStringLiteral("Save changes to %1?").arg(tabs_->tabText(index)))) {
    case Answer::Yes:
        tabs_->setCurrentIndex(index);
        return saveActivePage();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool PagesFeature::askToSaveModifiedPages()
{
    for (int i = 0; i < tabs_->count(); ++i)
        if (!askToSave(tabs_->widget(i)))
            return false;
    return true;
}

bool PagesFeature::askToSaveProjectPage()
{
    return askToSave(projectPage_);
}

void PagesFeature::closeActivePage()
{
    QWidget* page = tabs_->currentWidget();
    if (!page || page == projectPage_) {
        ui().message(shell_.window(), QStringLiteral("Project page not removable"));
        return;
    }
    // Nothing typed into the page is thrown away without the user's word.
    if (!askToSave(page))
        return;
    tabs_->removeTab(tabs_->indexOf(page));
    delete page;
    tabs_->setCurrentWidget(projectPage_);
}

void PagesFeature::closeAllPages()
{
    for (int i = tabs_->count() - 1; i >= 0; --i) {
        QWidget* page = tabs_->widget(i);
        if (page == projectPage_)
            continue;
        tabs_->removeTab(i);
        delete page;
    }
    tabs_->setCurrentWidget(projectPage_);
}

void PagesFeature::showPosition(const QPlainTextEdit* editor)
{
    if (!editor || loading_)
        return;
    const int start = editor->textCursor().selectionStart();
    const QTextBlock block = editor->document()->findBlock(start);
    const int line = block.isValid() ? block.blockNumber() : 0;
    const int column = block.isValid() ? start - block.position() : 0;
    positionLabel_->setText(QStringLiteral("  %1 : %2").arg(line + 1).arg(column + 1));
}

// ---- The project page and the tree -------------------------------------------------

void PagesFeature::reloadProjectSource()
{
    const QString stored = workspace_.project().delphiProjectFile;
    model::SourceFile file(model::existingSpelling(platform::toNative(stored)));
    if (!loadFile(projectEditor_, file)) {
        // Nothing of the failed source stays on the project page, so that it
        // cannot be saved over the file.
        projectSource_.reset();
        projectEditor_->clear();
        tabs_->setTabText(tabs_->indexOf(projectPage_), QStringLiteral("noname"));
        buildTree();
        return;
    }
    projectSource_ = std::move(file);
    tabs_->setTabText(tabs_->indexOf(projectPage_), platform::fileNameOf(stored));
    buildTree();
}

void PagesFeature::buildTree()
{
    const QString folder = projectFolder();
    const model::ProjectSources sources = model::findProjectSources(*projectEditor_->document(), folder);
    quotedNames_ = sources.quotedNames;
    tree_->fill(sources.units, sources.forms, sources.formKinds);
    if (!quotedNames_.isEmpty() && (folder.isEmpty() || !QDir(folder).exists()))
        ui().error(shell_.window(), QStringLiteral("The folder %1 of the project source does not exist.").arg(folder));
}

// ---- Saving -----------------------------------------------------------------------------

bool PagesFeature::saveActivePage()
{
    const QString caption = activeCaption();
    const QString kind = pageKind(caption);
    SourcePage* page = activePage();

    // Only a page that shows a file it was loaded from is written.
    const bool onProjectPage = isProjectPageActive() && kind == QLatin1String("dpr") && projectSource_;
    const bool onFilePage = page && page->loaded
                            && (kind == QLatin1String("pas") || kind == QLatin1String("dfm")
                                || kind == QLatin1String("dpr"));
    if (!onProjectPage && !onFilePage)
        return true;

    QPlainTextEdit* editor = onProjectPage ? projectEditor_ : page->editor;
    model::SourceFile& file = onProjectPage ? *projectSource_ : page->file;
    model::FileProblem problem;
    if (!file.save(model::documentText(*editor->document()), &problem)) {
        switch (problem.kind) {
        case model::FileProblem::Kind::Unencodable:
            ui().message(shell_.window(),
                         QStringLiteral("%1 was not saved: line %2, column %3 holds a character that "
                                        "the file's code page cannot hold.")
                             .arg(caption)
                             .arg(problem.line)
                             .arg(problem.column),
                         BoxKind::Warning);
            break;
        case model::FileProblem::Kind::FormSave:
            ui().message(shell_.window(),
                         QStringLiteral("The form %1 was not saved: its text cannot be converted into "
                                        "a form file.\n%2\nThe form file is unchanged.")
                             .arg(caption, problem.message),
                         BoxKind::Warning);
            break;
        default:
            ui().error(shell_.window(), problem.message);
            break;
        }
        return false;
    }
    editor->document()->setModified(false);
    workspace_.notifySourceSaved(file.path());
    // A saved project source is read again: its file list may have changed.
    if (onProjectPage
        || (kind == QLatin1String("dpr") && projectSource_
            && QFileInfo(page->file.path()) == QFileInfo(projectSource_->path())))
        reloadProjectSource();
    return true;
}

bool PagesFeature::saveAndCloseActivePage()
{
    ui().message(shell_.window(), QStringLiteral("The current file will saved and removed"));
    // A page that could not be saved stays open, so that nothing typed into
    // it is lost.
    if (!saveActivePage())
        return false;
    closeActivePage();
    tabs_->setCurrentIndex(tabs_->count() - 1);
    return true;
}

} // namespace lingrove::ui
