// Pages, project tree and saving: the main window's handlers.
//
// Every file page is a SourcePage (sources/SourcePage.h) holding its own
// editor, the file it shows as found on disk, and how that file was decoded.
// Names from the project source ("Frm\Input.pas", "HELLOF.PAS") are found as
// Windows finds them: "\" separates folders and letter case does not matter.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "formfile/FormFile.h"
#include "platform/FileUtil.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"
#include "sources/ColourScheme.h"
#include "sources/RtfReader.h"
#include "sources/SourcePage.h"
#include "sources/TextCodec.h"
#include "core/pascal/PasConversion.h"
#include "translation/StringFilters.h"
#include "core/scanner/Scanner.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QTreeWidgetItemIterator>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace lingrove::app {

using sources::SourcePage;

namespace {

// The pictures of the tree nodes.
enum Picture { FormPicture = 0, BlankPagePicture = 1, FormsPicture = 2, TextPagePicture = 3 };

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

QPixmap picture(Picture which)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (which) {
    case FormPicture:
        drawBuilding(p);
        drawFormWindow(p, 3, 0, 10, 7);
        break;
    case BlankPagePicture:
        drawBuilding(p);
        drawPage(p, 4, 0, 8, 8, false);
        break;
    case FormsPicture:
        drawBuilding(p);
        drawFormWindow(p, 1, 0, 9, 6);
        drawFormWindow(p, 5, 2, 9, 6);
        break;
    case TextPagePicture:
        drawPage(p, 2, 0, 11, 15, true);
        break;
    }
    return pixmap;
}

// A press of the right button in the tree opens the tree's pop-up menu at the
// mouse position and leaves the selection as it was.
class TreeMouseFilter : public QObject {
public:
    TreeMouseFilter(QObject* parent, QMenu* menu)
        : QObject(parent), menu_(menu)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::RightButton)
                break;
            if (event->type() == QEvent::MouseButtonPress && menu_)
                menu_->popup(mouse->globalPosition().toPoint());
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
        return QObject::eventFilter(watched, event);
    }

private:
    QMenu* menu_;
};

// The hourglass while a long operation runs; restored also when it throws.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// path with the extension of its file-name part replaced by ext (appended
// when the name has none).
QString withExtension(const QString& path, const QString& ext)
{
    const qsizetype nameStart = path.size() - platform::fileNameOf(path).size();
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= nameStart ? path.left(dot) + ext : path + ext;
}

// The file that path names, in whatever letter case its name has on disk;
// path itself when there is none.
QString existingSpelling(const QString& path)
{
    if (QFileInfo(path).isFile())
        return path;
    const QString folder = platform::folderOf(path);
    const QString found =
        platform::findCaseInsensitive(folder.isEmpty() ? QStringLiteral(".") : folder, platform::fileNameOf(path));
    return !found.isEmpty() && QFileInfo(found).isFile() ? found : path;
}

// The regular file that relName (a name from the project source, "\" or "/"
// separated, any letter case) names inside folder; empty when there is none.
QString findProjectFile(const QString& folder, const QString& relName)
{
    if (folder.isEmpty() || relName.trimmed().isEmpty())
        return {};
    const QString found = platform::findCaseInsensitive(folder, relName);
    return !found.isEmpty() && QFileInfo(found).isFile() ? found : QString();
}

// Finds names from the project source inside one folder as
// findProjectFile() does, reading each folder's listing once: a project
// source may name hundreds of units whose letter case differs from the files.
class FileFinder {
public:
    explicit FileFinder(QString base)
        : base_(std::move(base))
    {
    }

    QString find(const QString& relName)
    {
        if (base_.isEmpty() || relName.trimmed().isEmpty())
            return {};
        const QString rel = QString(relName).replace(u'\\', u'/');
        if (rel.startsWith(u'/'))
            return findProjectFile(base_, relName);
        QString path = base_;
        for (const QString& part : rel.split(u'/', Qt::SkipEmptyParts)) {
            if (part == u".")
                continue;
            const QString exact = path + u'/' + part;
            if (part == u".." || QFileInfo::exists(exact)) {
                path = exact;
                continue;
            }
            const QHash<QString, QString>& names = listing(path);
            const auto it = names.constFind(part.toCaseFolded());
            if (it == names.constEnd())
                return {};
            path += u'/' + *it;
        }
        return QFileInfo(path).isFile() ? path : QString();
    }

private:
    // Case-folded name -> name on disk; of names that differ only in case,
    // the first in name order.
    const QHash<QString, QString>& listing(const QString& folder)
    {
        auto it = listings_.find(folder);
        if (it == listings_.end()) {
            QHash<QString, QString> names;
            const QStringList entries = QDir(folder).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            for (const QString& e : entries) {
                const QString key = e.toCaseFolded();
                if (!names.contains(key))
                    names.insert(key, e);
            }
            it = listings_.insert(folder, names);
        }
        return *it;
    }

    QString base_;
    QHash<QString, QHash<QString, QString>> listings_;
};

// Writes bytes over path through a temporary file beside it and a rename, so
// that a failed write leaves the previous file as it was. Read-only files
// are refused.
bool writeFileSafely(const QString& path, const QByteArray& bytes, QString& why)
{
    return platform::writeFileAtomically(path, bytes, &why);
}

// A line of an editor as the scanner takes it: Windows-1252 bytes, or UTF-8
// when the line holds a character that code page lacks.
std::string scannerBytes(const QString& line, bool& utf8)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(line.size()));
    for (QChar c : line) {
        const int b = sources::unicodeToWindows1252(c.unicode());
        if (b < 0) {
            utf8 = true;
            return line.toStdString();
        }
        bytes.push_back(static_cast<char>(b));
    }
    utf8 = false;
    return bytes;
}

SourcePage* pageOfEditor(const QTextEdit* editor)
{
    return editor ? dynamic_cast<SourcePage*>(editor->parentWidget()) : nullptr;
}

} // namespace

struct MainWindow::PagesState {
    std::array<QIcon, 4> icons;
    bool loading = false;   // a page's text is being loaded
    TreeMouseFilter* treeFilter = nullptr;
    // The project source shown on the project page.
    bool projectLoaded = false;
    QString projectSourcePath;          // as found on disk
    sources::DecodedText projectDecoded;
};

// ---------------------------------------------------------------------------
// Set-up

void MainWindow::initPages()
{
    pagesState = new PagesState;
    for (int i = 0; i < 4; ++i) {
        QIcon icon(picture(static_cast<Picture>(i)));
        // A selected node shows the form picture.
        icon.addPixmap(picture(FormPicture), QIcon::Selected);
        pagesState->icons[static_cast<std::size_t>(i)] = icon;
    }

    TreeView1->setExpandsOnDoubleClick(false);
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1DblClick(); });
    pagesState->treeFilter = new TreeMouseFilter(this, PopupMenu1);
    TreeView1->viewport()->installEventFilter(pagesState->treeFilter);
    // The menu key opens the pop-up menu at the selected node.
    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(pos));
    });

    connect(MainRichEdit, &QTextEdit::cursorPositionChanged, this, [this] { GetPosition(MainRichEdit); });
}

void MainWindow::finishPages()
{
    // The editors outlive this call; their signals must not reach the
    // half-destroyed window.
    if (MainRichEdit)
        QObject::disconnect(MainRichEdit, nullptr, this, nullptr);
    if (PageControl1) {
        for (int i = 0; i < PageControl1->count(); ++i)
            if (auto* page = dynamic_cast<SourcePage*>(PageControl1->widget(i)))
                QObject::disconnect(page->editor, nullptr, this, nullptr);
    }
    delete pagesState;
    pagesState = nullptr;
}

QString MainWindow::delphiProjectFolder() const
{
    if (state().project.DelphiProjectFile.isEmpty())
        return {};
    return state().project.delphiProjectFolder();
}

// ---------------------------------------------------------------------------
// Pages

QTextEdit* MainWindow::activeEditor() const
{
    if (QTextEdit* editor = activeFileEditor())
        return editor;
    return MainRichEdit;
}

QTextEdit* MainWindow::activeFileEditor() const
{
    auto* page = dynamic_cast<SourcePage*>(PageControl1->currentWidget());
    return page ? page->editor : nullptr;
}

QWidget* MainWindow::CreateNewPage(const QString& name)
{
    // k = the pages open before this one; the names stay unique after a page
    // in the middle was closed.
    int k = PageControl1->count();
    while (PageControl1->findChild<QWidget*>(QString("TabSheet%1").arg(k)))
        ++k;

    auto* page = new SourcePage;
    page->setObjectName(QString("TabSheet%1").arg(k));
    page->kind = sources::pageKind(name);
    QTextEdit* e = page->editor;
    e->setObjectName(QString("RichEdit%1").arg(k));
    e->setFont(MainRichEdit->font());
    e->document()->setDefaultFont(MainRichEdit->document()->defaultFont());
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    e->setLineWrapMode(QTextEdit::NoWrap);
    e->setReadOnly(false);
    e->setAcceptRichText(false);
    e->setTabChangesFocus(true);
    e->clear();
    connect(e, &QTextEdit::cursorPositionChanged, this, [this, e] { GetPosition(e); });

    PageControl1->addTab(page, name);
    PageControl1->setCurrentWidget(page);
    return page;
}

// Shows the bytes of a source file coloured in editor. On failure the editor
// is unchanged and why holds what the user is told. With freshDocument the
// text is loaded into a new document that the editor then shows: a document
// without a view is laid out once, when it is first shown, instead of piece
// by piece while it is filled.
static bool showColoured(QTextEdit& editor, const QByteArray& bytes, const QString& fileName,
                         sources::DecodedText& how, QString& why, bool freshDocument = false)
{
    try {
        platform::KeyStore store;
        const pascal::ColourScheme scheme = sources::readColourScheme(state().settings.Highlights, store);
        if (freshDocument) {
            auto document = std::make_unique<QTextDocument>();
            how = sources::loadPascalSource(*document, bytes, scheme);
            document->setParent(&editor);
            editor.setDocument(document.release());
        } else {
            how = sources::loadPascalSource(editor, bytes, scheme);
        }
    } catch (const pascal::HighlightVersionError& e) {
        why = QString::fromUtf8(e.what());
        return false;
    } catch (const std::exception& e) {
        why = QString("Cannot load %1:\n%2").arg(fileName, QString::fromUtf8(e.what()));
        return false;
    }
    how.text.clear();   // the editor holds the text; only the form is kept
    return true;
}

static bool readSource(const QString& fileName, QByteArray& bytes, QString& why)
{
    QString reason;
    if (platform::readFile(fileName, bytes, &reason) == platform::ReadResult::Read)
        return true;
    why = QString("Cannot read %1:\n%2").arg(fileName, reason);
    return false;
}

static bool loadColoured(QTextEdit& editor, const QString& fileName, sources::DecodedText& how, QString& why,
                         bool freshDocument = false)
{
    QByteArray bytes;
    return readSource(fileName, bytes, why) && showColoured(editor, bytes, fileName, how, why, freshDocument);
}

bool MainWindow::PASLaden(QTextEdit* editor, const QString& fileName)
{
    if (!editor)
        return false;
    QByteArray bytes;
    QString why;
    if (!readSource(fileName, bytes, why)) {
        showError(why);
        return false;
    }
    return showPage(editor, bytes, fileName);
}

bool MainWindow::showPage(QTextEdit* editor, const QByteArray& bytes, const QString& fileName)
{
    sources::DecodedText how;
    QString why;
    // The caret moves with every piece of text inserted; it is shown once
    // the page is loaded.
    pagesState->loading = true;
    // A file page's editor is new and nothing else holds its document.
    const bool loaded = showColoured(*editor, bytes, fileName, how, why, editor != MainRichEdit);
    pagesState->loading = false;
    if (!loaded) {
        showError(why);
        return false;
    }
    if (editor == MainRichEdit) {
        pagesState->projectDecoded = how;
    } else if (SourcePage* page = pageOfEditor(editor)) {
        page->decoded = how;
        page->loaded = true;
        if (page->filePath.isEmpty())
            page->filePath = fileName;
    }
    return true;
}

// A form page shows the form file's text form, converted in memory: nothing
// is written beside the user's files.
bool MainWindow::DFMLaden(QTextEdit* editor, const QString& fileName)
{
    if (!editor)
        return false;
    const QString form = existingSpelling(withExtension(fileName, ".DFM"));
    QByteArray bytes;
    QString why;
    if (!readSource(form, bytes, why)) {
        showError(why);
        return false;
    }
    std::string text;
    try {
        formfile::ResourceToText(std::string_view(bytes.constData(), std::size_t(bytes.size())), text);
    } catch (const formfile::FormError& e) {
        platform::ui().message(this,
                               QString("The form file %1 cannot be shown: it cannot be converted into its "
                                       "text form.\n%2")
                                   .arg(form, QString::fromUtf8(e.what())),
                               platform::BoxKind::Warning);
        return false;
    }
    if (SourcePage* page = pageOfEditor(editor))
        page->filePath = form;
    return showPage(editor, QByteArray::fromStdString(text), form);
}

void MainWindow::OpenSourcePage(const QString& name)
{
    const QString path = findProjectFile(delphiProjectFolder(), name);
    if (path.isEmpty())
        return;
    QWidget* previous = PageControl1->currentWidget();
    auto* page = static_cast<SourcePage*>(CreateNewPage(name));
    page->filePath = path;

    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    bool ok = true;
    if (extension == ".dfm")
        ok = DFMLaden(page->editor, path);
    else if (extension == ".pas")
        ok = PASLaden(page->editor, path);
    if (!ok) {
        // No half page: a page whose file could not be shown is not kept,
        // so that it can never be saved over the file.
        PageControl1->removeTab(PageControl1->indexOf(page));
        delete page;
        PageControl1->setCurrentWidget(previous ? previous : MainTabSheet);
    }
}

void MainWindow::DateiLaden1()
{
    const int count = ListBox4->count();
    if (count == 0)
        return;
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(true);
    ProgressBar1->setMaximum(count);
    {
        WaitCursor wait;
        for (int i = 0; i < count; ++i) {
            ProgressBar1->setValue(i + 1);
            ProgressBar1->repaint();
            OpenSourcePage(ListBox4->item(i)->text().toLower());
        }
    }
    ProgressBar1->setVisible(false);
}

void MainWindow::DeletePage()
{
    QWidget* page = PageControl1->currentWidget();
    if (!page || page == MainTabSheet) {
        platform::ui().message(this, "Project page not removable");
        return;
    }
    PageControl1->removeTab(PageControl1->indexOf(page));
    delete page;
    PageControl1->setCurrentWidget(MainTabSheet);
}

void MainWindow::DeletePages()
{
    for (int i = PageControl1->count() - 1; i >= 0; --i) {
        QWidget* page = PageControl1->widget(i);
        if (page == MainTabSheet)
            continue;
        PageControl1->removeTab(i);
        delete page;
    }
    PageControl1->setCurrentWidget(MainTabSheet);
}

void MainWindow::GetPosition(QTextEdit* editor)
{
    if (!editor || !Panel6Caption || (pagesState && pagesState->loading))
        return;
    const int start = editor->textCursor().selectionStart();
    const QTextBlock block = editor->document()->findBlock(start);
    const int line = block.isValid() ? block.blockNumber() : 0;
    const int column = block.isValid() ? start - block.position() : 0;
    Panel6Caption->setText(QString("  %1 : %2").arg(line + 1).arg(column + 1));
}

// ---------------------------------------------------------------------------
// Project tree

void MainWindow::AlteDatei(const QString& fileName)
{
    const QString native = platform::toNative(fileName);
    const QString path = existingSpelling(native);
    sources::DecodedText how;
    QString why;
    pagesState->loading = true;
    const bool loaded = loadColoured(*MainRichEdit, path, how, why);
    pagesState->loading = false;
    if (!loaded) {
        // Nothing of the failed source stays on the project page, so that it
        // cannot be saved over the file.
        pagesState->projectLoaded = false;
        MainRichEdit->clear();
        PageControl1->setTabText(PageControl1->indexOf(MainTabSheet), "noname");
        DatenLesen();
        showError(why);
        return;
    }
    pagesState->projectLoaded = true;
    pagesState->projectSourcePath = path;
    pagesState->projectDecoded = how;
    PageControl1->setTabText(PageControl1->indexOf(MainTabSheet), platform::fileNameOf(fileName));
    DatenLesen();
}

void MainWindow::DatenLesen()
{
    ListBox1->clear();
    Dateinamen();

    TreeView1->clear();
    const auto& icons = pagesState->icons;
    auto* root = new QTreeWidgetItem(TreeView1, QStringList{"Project"});
    root->setIcon(0, icons[FormsPicture]);
    auto* units = new QTreeWidgetItem(root, QStringList{"Units"});
    units->setIcon(0, icons[TextPagePicture]);
    auto* forms = new QTreeWidgetItem(root, QStringList{"Forms"});
    forms->setIcon(0, icons[FormPicture]);

    if (ListBox1->count() > 0) {
        const QString folder = delphiProjectFolder();
        if (folder.isEmpty() || !QDir::setCurrent(folder)) {
            TreeView1->expandAll();
            showError(QString("Cannot change to the folder %1").arg(folder));
            return;
        }
        QStringList names;
        for (int i = 0; i < ListBox1->count(); ++i)
            names << ListBox1->item(i)->text();
        FileFinder finder(folder);
        for (const QString& name : names) {
            if (finder.find(name).isEmpty())
                continue;
            auto* node = new QTreeWidgetItem(units, QStringList{name});
            node->setIcon(0, icons[FormPicture]);
        }
        for (const QString& name : names) {
            const QString form = name.left(qMax<qsizetype>(0, name.size() - 4)) + ".dfm";
            if (finder.find(form).isEmpty())
                continue;
            auto* node = new QTreeWidgetItem(forms, QStringList{form});
            node->setIcon(0, icons[FormPicture]);
        }
    }
    TreeView1->expandAll();
}

void MainWindow::Dateinamen()
{
    const Settings& s = state().settings;
    scanner::ScanFilters filters;
    filters.accept = {s.Empty, s.Fonts, s.Numbers, s.DateTime, s.Dirs, s.Extentions, s.Separator};
    filters.kinds = translation::currentKindTests();

    std::vector<std::string> found;
    const QTextDocument* document = MainRichEdit->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        bool utf8 = false;
        const std::string line = scannerBytes(block.text(), utf8);
        found.clear();
        scanner::ScanLine(line, found, false, 0, filters);
        for (const std::string& text : found)
            ListBox1->addItem(utf8 ? QString::fromStdString(text) : translation::fromWindows1252(text));
    }
}

void MainWindow::TreeView1DblClick()
{
    int nodes = 0;
    for (QTreeWidgetItemIterator it(TreeView1); *it && nodes < 2; ++it)
        ++nodes;
    if (nodes < 2)
        return;
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    QTreeWidgetItem* item = selected.isEmpty() ? nullptr : selected.first();
    if (!item || !item->parent())
        return;

    const QString folder = delphiProjectFolder();
    if (folder.isEmpty() || !QDir::setCurrent(folder)) {
        showError(QString("Cannot change to the folder %1").arg(folder));
        return;
    }
    const QString name = item->text(0).toLower();
    for (int i = 0; i < PageControl1->count(); ++i) {
        if (PageControl1->tabText(i) == name) {
            PageControl1->setCurrentIndex(i);
            return;
        }
    }
    if (!findProjectFile(folder, name).isEmpty())
        OpenSourcePage(name);
}

void MainWindow::LoadallprojectFiles1Click()
{
    DeletePages();
    DateiLaden();
}

void MainWindow::DateiLaden()
{
    const QString folder = delphiProjectFolder();
    QStringList names;
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        names << (*it)->text(0).toLower();
    WaitCursor wait;
    FileFinder finder(folder);
    for (const QString& name : names)
        if (!finder.find(name).isEmpty())
            OpenSourcePage(name);
}

void MainWindow::Remove1Click()
{
    DeletePage();
}

// ---------------------------------------------------------------------------
// Saving

bool MainWindow::SaveDFM1Click()
{
    QWidget* current = PageControl1->currentWidget();
    auto* page = dynamic_cast<SourcePage*>(current);
    const QString caption = PageControl1->tabText(PageControl1->currentIndex());
    const QString kind = sources::pageKind(caption);

    // Only a page that shows a file it was loaded from is written.
    const bool projectPage = current == MainTabSheet && kind == "dpr" && pagesState->projectLoaded;
    const bool filePage = page && page->loaded && (kind == "pas" || kind == "dfm" || kind == "dpr");
    if (!projectPage && !filePage)
        return true;

    const QString folder = delphiProjectFolder();
    if (folder.isEmpty() || !QDir::setCurrent(folder)) {
        showError(QString("Cannot change to the folder %1").arg(folder));
        return false;
    }

    QTextEdit* editor = projectPage ? MainRichEdit : page->editor;
    const sources::DecodedText& how = projectPage ? pagesState->projectDecoded : page->decoded;
    QByteArray bytes;
    try {
        bytes = sources::encode(sources::documentText(*editor->document()), how);
    } catch (const sources::EncodeError& e) {
        platform::ui().message(this,
                               QString("%1 was not saved: line %2, column %3 holds a character that "
                                       "the file's code page cannot hold.")
                                   .arg(caption)
                                   .arg(e.line())
                                   .arg(e.column()),
                               platform::BoxKind::Warning);
        return false;
    }

    QString why;
    if (projectPage) {
        if (!writeFileSafely(pagesState->projectSourcePath, bytes, why)) {
            showError(why);
            return false;
        }
        MainRichEdit->clear();
        AlteDatei(state().project.DelphiProjectFile);
        return true;
    }

    if (kind == "dfm") {
        // The text form is converted back in memory; the form file is
        // replaced only when that succeeds.
        std::string form;
        try {
            formfile::TextToResource(std::string_view(bytes.constData(), std::size_t(bytes.size())), form);
        } catch (const formfile::FormError& e) {
            platform::ui().message(this,
                                   QString("The form %1 was not saved: its text cannot be converted into "
                                           "a form file.\n%2\nThe form file is unchanged.")
                                       .arg(caption, QString::fromUtf8(e.what())),
                                   platform::BoxKind::Warning);
            return false;
        }
        if (!writeFileSafely(page->filePath, QByteArray::fromStdString(form), why)) {
            showError(why);
            return false;
        }
    } else {
        if (!writeFileSafely(page->filePath, bytes, why)) {
            showError(why);
            return false;
        }
    }
    // The file now has the page's line breaks: the next save starts from them.
    page->decoded = sources::decode(bytes);
    page->decoded.text.clear();
    if (kind == "dpr" && QFileInfo(page->filePath) == QFileInfo(pagesState->projectSourcePath))
        AlteDatei(state().project.DelphiProjectFile);
    return true;
}

void MainWindow::SaveAndRemove()
{
    platform::ui().message(this, "The current file will saved and removed");
    // A page that could not be saved stays open, so that nothing typed into
    // it is lost.
    if (!SaveDFM1Click())
        return;
    DeletePage();
    clearStringList();
    Edit1->clear();
    Edit2->clear();
    PageControl1->setCurrentIndex(PageControl1->count() - 1);
    Getstrings1Click();
}

} // namespace lingrove::app
