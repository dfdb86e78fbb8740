#include "translation/TranslationLoop.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/NewProjectWizard.h"
#include "platform/UserInterface.h"
#include "sources/TextCodec.h"
#include "translation/CreateTableDialog.h"
#include "translation/DictionaryWindow.h"
#include "translation/StringFilters.h"
#include "translation/UndoWindow.h"
#include "core/scanner/StringEntry.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace lingrove::translation {

// ---- Helpers -------------------------------------------------------------

QString pascalQuoted(const QString& typed)
{
    QString out = typed;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString pascalUnquoted(const QString& written)
{
    QString out = written;
    out.replace(QStringLiteral("''"), QStringLiteral("'"));
    return out;
}

std::string toScannerBytes(const QString& line, bool* exact)
{
    std::string bytes(static_cast<std::size_t>(line.size()), '\0');
    bool allMapped = true;
    const QChar* chars = line.constData();
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = chars[i].unicode();
        int b = c < 0x80 ? int(c) : sources::unicodeToWindows1252(c);
        if (b < 0) {
            b = '?';
            allMapped = false;
        }
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(b);
    }
    if (exact)
        *exact = allMapped;
    return bytes;
}

std::optional<ListEntry> parseListEntry(const QString& entryLine)
{
    const std::optional<scanner::StringEntry> e = scanner::parseEntry(toScannerBytes(entryLine));
    if (!e)
        return std::nullopt;
    // One byte per UTF-16 unit: the text is the last text.size() characters.
    const qsizetype textLength = static_cast<qsizetype>(e->text.size());
    return ListEntry{e->line, e->posA, e->posB, entryLine.right(textLength),
                     entryLine.left(entryLine.size() - textLength)};
}

QStringList scanDocument(const QTextDocument& document, const scanner::ScanFilters& filters)
{
    QStringList entries;
    std::vector<std::string> found;
    int lineNumber = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        ++lineNumber;
        const QString text = block.text();
        if (!text.contains(QLatin1Char('\'')))
            continue;
        bool exact = true;
        const std::string bytes = toScannerBytes(text, &exact);
        found.clear();
        scanner::ScanLine(bytes, found, true, lineNumber, filters);
        for (const std::string& entry : found) {
            if (exact) {
                entries.append(fromWindows1252(entry));
                continue;
            }
            // A character the scanner saw as '?': take the text from the
            // editor line itself, at the literal's columns.
            const std::optional<scanner::StringEntry> e = scanner::parseEntry(entry);
            if (!e)
                continue;
            const std::size_t prefixLength = entry.size() - e->text.size();
            entries.append(QString::fromLatin1(entry.data(), static_cast<qsizetype>(prefixLength))
                           + text.mid(e->posA - 1, static_cast<qsizetype>(e->text.size())));
        }
    }
    return entries;
}

scanner::ScanFilters currentScanFilters()
{
    const app::Settings& s = app::state().settings;
    scanner::ScanFilters filters;
    filters.accept = {s.Empty, s.Fonts, s.Numbers, s.DateTime, s.Dirs, s.Extentions, s.Separator};
    filters.kinds = currentKindTests();
    return filters;
}

namespace {

QTextCharFormat lookFormat(QTextCharFormat format, const app::TextLook& look)
{
    format.setForeground(look.color);
    format.setFontWeight(look.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(look.italic);
    format.setFontUnderline(look.underline);
    format.setFontStrikeOut(look.strikeOut);
    return format;
}

// The character format in front of document position pos (that of the
// literal's opening apostrophe when pos is the start of its content).
QTextCharFormat formatBefore(QTextDocument* document, int pos)
{
    QTextCursor probe(document);
    probe.setPosition(pos);
    return probe.charFormat();
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

// ---- The loop ------------------------------------------------------------

TranslationLoop::TranslationLoop(app::MainWindow* main)
    : main_(main)
{
    undoForm_ = new TUndoForm(main_, main_->Undoform1);
    undoForm_->refresh(undo_);
    dbank_ = new TDbank(main_);
    dataEditForm_ = new TDataEditForm(main_);

    // Both lists show the same number of equally high rows.
    main_->ListBox3->setUniformItemSizes(true);
    main_->StringEdit->installEventFilter(this);
    main_->StringEdit->viewport()->installEventFilter(this);
    main_->Edit2->installEventFilter(this);

    connect(main_->StringEdit, &QListWidget::itemDoubleClicked, this, [this] { ReplaceDialog1Find(); });
    connect(main_->StringEdit->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { syncChangedColumn(); });
    connect(main_->StringEdit, &QListWidget::currentRowChanged, this, [this] { syncChangedColumn(); });
    connect(main_->SpeedButton19, &QPushButton::clicked, this, [this] { SpeedButton19Click(); });
    connect(main_->SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    for (int i = 0; i < kProposalCount; ++i)
        connect(main_->proposalButtons[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { proposalButtonClicked(i); });
}

TranslationLoop::~TranslationLoop()
{
    // The windows go before the main window, which the undo window places.
    delete dataEditForm_;
    delete dbank_;
    delete undoForm_;
}

// ---- String list -----------------------------------------------------------

void TranslationLoop::Getstrings1Click()
{
    app::MainWindow& m = *main_;
    m.ListBox2->clear();
    m.ListBox3->clear();
    located_.reset();

    // The project page has no page editor of its own: nothing is collected.
    QStringList entries;
    if (QTextEdit* editor = m.activeFileEditor()) {
        entries = scanDocument(*editor->document(), currentScanFilters());
        editor->viewport()->update();
    }
    m.ListBox2->addItems(entries);

    // A page without entries shows just the end line, never the entries of
    // the page scanned before.
    m.StringEdit->clear();
    const app::AppState& st = app::state();
    std::optional<long long> resume;
    if (st.ResumeMode)
        resume = st.project.OpenedPosition;
    const std::vector<std::string> marks = scanner::changedMarks(static_cast<std::size_t>(entries.size()), resume);

    const int n = static_cast<int>(entries.size());
    if (n > 0)
        m.ProgressBar1->setRange(0, n);
    constexpr int kChunk = 512;
    for (int j = 0; j < n; j += kChunk) {
        const int end = std::min(n, j + kChunk);
        m.StringEdit->addItems(entries.mid(j, end - j));
        QStringList chunkMarks;
        chunkMarks.reserve(end - j);
        for (int k = j; k < end; ++k)
            chunkMarks.append(QString::fromLatin1(marks[static_cast<std::size_t>(k)]));
        m.ListBox3->addItems(chunkMarks);
        m.ProgressBar1->setValue(end);
    }
    m.StringEdit->addItem(QString::fromLatin1(scanner::EndLine));
    m.ListBox3->addItem(QString::fromLatin1(scanner::MarkEnd));

    m.Panel2->setVisible(true);
    m.ProgressBar1->setRange(0, 100);
    m.ProgressBar1->setValue(0);
    syncChangedColumn();
    if (n > 0)
        m.StringEdit->setFocus();
}

void TranslationLoop::clearStringList()
{
    main_->StringEdit->clear();
    main_->ListBox3->clear();
    main_->ListBox2->clear();
    located_.reset();
}

void TranslationLoop::syncChangedColumn()
{
    QListWidget* list = main_->StringEdit;
    QListWidget* marks = main_->ListBox3;
    int top = 0;
    if (list->verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
        top = list->verticalScrollBar()->value();
    } else {
        const QModelIndex first = list->indexAt(QPoint(1, 1));
        top = first.isValid() ? first.row() : 0;
    }
    if (marks->verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
        marks->verticalScrollBar()->setValue(top);
    } else if (QListWidgetItem* item = marks->item(top)) {
        marks->scrollToItem(item, QAbstractItemView::PositionAtTop);
    }
}

// ---- Locate ------------------------------------------------------------------

void TranslationLoop::StringEditEnter()
{
    setWord(1);
    ReplaceDialog1Find();
}

void TranslationLoop::ReplaceDialog1Find()
{
    QTextEdit* editor = main_->activeFileEditor();
    QListWidget* list = main_->StringEdit;
    const int count = list->count();
    const int index = list->currentRow();
    // No list, no selected line or no page editor: nothing to locate.
    if (!editor || count == 0 || index < 0 || index >= count)
        return;
    if (index == count - 1) {
        finishPage();
        return;
    }
    const std::optional<ListEntry> entry = parseListEntry(list->item(index)->text());
    if (!entry)
        return;

    const int startLine = index > 0 ? entry->line : 1;
    const QString search = QLatin1Char('\'') + entry->text + QLatin1Char('\'');
    findText_ = search;

    QTextDocument* document = editor->document();
    for (QTextBlock block = document->findBlockByNumber(startLine - 1); block.isValid(); block = block.next()) {
        const qsizetype p = block.text().indexOf(search);
        if (p < 0)
            continue;
        const int start = block.position() + static_cast<int>(p) + 1;
        const int length = static_cast<int>(search.size()) - 2;
        QTextCursor cursor(document);
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(lookFormat(QTextCharFormat(), app::state().settings.selectedLook));
        editor->setTextCursor(cursor);
        editor->ensureCursorVisible();

        located_ = Located{editor, index, start, length, block.blockNumber() + 1, static_cast<int>(p) + 2,
                           entry->text};
        currentSource_ = pascalUnquoted(entry->text);
        main_->Edit1->setText(currentSource_);
        main_->GetPosition(editor);

        Dictionary& table = DM().Table1;
        proposals_ = table.TableState(withoutAmpersands(currentSource_));
        if (!table.lastError().isEmpty())
            platform::ui().error(main_, table.lastError());

        selector_ = 0;
        main_->proposalButtons[0]->setChecked(true);
        showProposal(0);
        main_->Edit2->setFocus();
        return;
    }
    // Not found from the entry's line on: nothing changes.
}

bool TranslationLoop::hasLocatedEntry() const
{
    if (!located_ || !located_->editor || located_->editor != main_->activeFileEditor())
        return false;
    if (located_->row != main_->StringEdit->currentRow())
        return false;
    const QTextCursor cursor = located_->editor->textCursor();
    return cursor.selectionStart() == located_->start
        && cursor.selectionEnd() == located_->start + located_->length
        && cursor.selectedText() == located_->content;
}

// ---- Commit ------------------------------------------------------------------

void TranslationLoop::Commit()
{
    QListWidget* list = main_->StringEdit;
    const int count = list->count();
    const int index = list->currentRow();
    if (count == 0 || index < 0 || index >= count)
        return;
    if (index == count - 1) {
        finishPage();
        return;
    }
    // The translation replaces exactly the literal that Locate selected for
    // this entry; anything else (no Locate yet, the selection moved, another
    // entry or page chosen since) is not written.
    if (!hasLocatedEntry()) {
        hint("Press Enter on the entry in the string list to locate it first.");
        return;
    }
    const std::optional<ListEntry> entry = parseListEntry(list->item(index)->text());
    if (!entry)
        return;

    app::state().ProjectSaved = false;
    const Located at = *located_;
    located_.reset();

    const QString typed = main_->Edit2->text();
    const QString written = pascalQuoted(typed);
    QTextEdit* editor = at.editor;
    QTextDocument* document = editor->document();
    QTextCursor cursor(document);
    cursor.setPosition(at.start);
    cursor.setPosition(at.start + at.length, QTextCursor::KeepAnchor);
    cursor.insertText(written, lookFormat(formatBefore(document, at.start), app::state().settings.changedLook));
    editor->setTextCursor(cursor);

    if (QListWidgetItem* mark = main_->ListBox3->item(index))
        mark->setText(QString::fromLatin1(scanner::MarkYes));

    undo_.UndoPush(makeUndoRecord(at.line, at.column, entry->text, written));
    refreshUndoForm();

    list->item(index)->setText(entry->prefix + written);

    // A read-only table was announced when it was opened.
    Dictionary& table = DM().Table1;
    if (!table.isReadOnly() && !table.store(currentSource_, typed))
        platform::ui().error(main_, table.lastError());

    list->setCurrentRow(index + 1);
    list->setFocus();
}

void TranslationLoop::finishPage()
{
    if (!main_->activeFileEditor())
        return;
    located_.reset();
    const QPointer<QWidget> page = main_->PageControl1->currentWidget();
    main_->SaveAndRemove();
    // A page that could not be saved stays open, and so do its undo records.
    if (page && main_->PageControl1->indexOf(page) >= 0)
        return;
    undo_.UndoClear();
    refreshUndoForm();
}

// ---- Proposals -----------------------------------------------------------------

void TranslationLoop::showProposal(int index)
{
    main_->Edit2->setText(proposals_[static_cast<std::size_t>(index)]);
    // As an edit box entered by the keyboard: typing replaces the proposal.
    main_->Edit2->selectAll();
}

void TranslationLoop::nextProposal()
{
    selector_ = (selector_ + 1) % kProposalCount;
    main_->proposalButtons[static_cast<std::size_t>(selector_)]->setChecked(true);
    showProposal(selector_);
}

void TranslationLoop::copySourceToInput()
{
    main_->Edit2->setText(currentSource_);
}

void TranslationLoop::proposalButtonClicked(int index)
{
    if (index < 0 || index >= kProposalCount)
        return;
    selector_ = index;
    main_->proposalButtons[static_cast<std::size_t>(index)]->setChecked(true);
    showProposal(index);
}

void TranslationLoop::setWord(int n)
{
    word_ = n;
    main_->SpeedButton19->setText(QStringLiteral("Word %1").arg(n));
}

void TranslationLoop::SpeedButton19Click()
{
    setWord(word_ == kProposalCount ? 1 : word_ + 1);
    showProposal(word_ - 1);
}

// ---- Undo --------------------------------------------------------------------------

void TranslationLoop::SpeedButton1Click()
{
    if (undo_.isEmpty()) {
        platform::ui().message(main_, QString::fromLatin1(MessageEmptyBuffer));
        return;
    }
    const UndoRecord record = undo_.UndoTop();
    QTextEdit* editor = main_->activeFileEditor();
    QString refusal;
    QTextBlock block;
    std::optional<int> column;
    if (!editor) {
        refusal = QStringLiteral("Nothing was undone: the project page holds no translation. "
                                 "Activate the page of the last translation and press UNDO again.");
    } else {
        block = editor->document()->findBlockByNumber(record.Line - 1);
        if (block.isValid())
            column = findUndoTarget(block.text(), record);
        if (!column)
            refusal = QStringLiteral("Nothing was undone: the translation '%1' is not on line %2 of the "
                                     "active page any more. Activate the page of the last translation "
                                     "and press UNDO again.")
                          .arg(record.Inserted)
                          .arg(record.Line);
    }
    if (!refusal.isEmpty()) {
        platform::ui().message(main_, refusal, platform::BoxKind::Warning);
        return;
    }

    QTextDocument* document = editor->document();
    const int start = block.position() + *column - 1;
    QTextCursor cursor(document);
    cursor.setPosition(start);
    cursor.setPosition(start + record.Length, QTextCursor::KeepAnchor);
    cursor.insertText(record.Text, formatBefore(document, start));
    located_.reset();
    undo_.UndoPop();
    refreshUndoForm();
}

void TranslationLoop::refreshUndoForm()
{
    undoForm_->refresh(undo_);
}

// ---- Dictionary and windows ------------------------------------------------------------

bool TranslationLoop::openDictionary()
{
    QString error;
    Dictionary& table = DM().Table1;
    if (table.open(app::state().project.DictionaryTable, &error)) {
        if (table.isReadOnly())
            platform::ui().message(main_,
                                   QString("The dictionary table \"%1\" cannot be written, so it is open for "
                                           "lookups only: new translations are not stored in it.")
                                       .arg(table.tableName()),
                                   platform::BoxKind::Warning);
        return true;
    }
    platform::ui().message(main_, error, platform::BoxKind::Error);
    return false;
}

void TranslationLoop::Editdatabase1Click()
{
    dataEditForm_->showAndRaise();
}

void TranslationLoop::Undoform1Click()
{
    if (main_->Undoform1->isChecked()) {
        undoForm_->refresh(undo_);
        undoForm_->show();
        undoForm_->raise();
    } else {
        undoForm_->hide();
    }
}

void TranslationLoop::createTableForWizard(app::NewProjectWizard& wizard)
{
    dbank_->setProposedName(wizard.Edit3->text() + QLatin1Char('_') + wizard.Edit4->text());
    platform::ui().exec(*dbank_);
    const QString name = dbank_->createdName();
    if (name.isEmpty())
        return;
    wizard.Tabellen();
    const int at = wizard.ComboBox1->findText(name);
    if (at >= 0)
        wizard.ComboBox1->setCurrentIndex(at);
    else
        wizard.ComboBox1->setCurrentText(name);
}

void TranslationLoop::hint(const QString& text)
{
    main_->StatusBar2->showMessage(text, 5000);
}

// ---- Keys ------------------------------------------------------------------------------

bool TranslationLoop::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == main_->StringEdit) {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
            StringEditEnter();
            return true;
        }
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            syncChangedColumn();
    } else if (watched == main_->StringEdit->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonPress)
            syncChangedColumn();
    } else if (watched == main_->Edit2 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key)) {
            Commit();
            return true;
        }
        if (key->key() == Qt::Key_F2) {
            nextProposal();
            return true;
        }
        if (key->key() == Qt::Key_F3) {
            copySourceToInput();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lingrove::translation
