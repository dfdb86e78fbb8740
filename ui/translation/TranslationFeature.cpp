#include "ui/translation/TranslationFeature.h"

#include "core/scanner/StringEntry.h"
#include "model/Workspace.h"
#include "ui/shell/Actions.h"
#include "ui/shell/PageArea.h"
#include "ui/shell/Shell.h"
#include "ui/shell/UserInterface.h"
#include "model/TranslationChecks.h"
#include "ui/translation/ChecksWindow.h"
#include "ui/translation/DictionaryExchangeCommands.h"
#include "ui/translation/DictionaryWindow.h"
#include "ui/translation/PreTranslationWindow.h"
#include "ui/translation/ProjectPreTranslation.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/UndoWindow.h"

#include <QAction>
#include <QToolButton>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lingrove::ui {

namespace {

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QFont listFont()
{
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    return courier;
}

bool isFormPage(const QString& caption)
{
    return caption.endsWith(QLatin1String(".dfm"), Qt::CaseInsensitive);
}

// How long a warning stays in the hint line.
constexpr int kWarningHintTime = 15000;

} // namespace

TranslationFeature::TranslationFeature(model::Workspace& workspace, Shell& shell, QObject* parent)
    : QObject(parent)
    , workspace_(workspace)
    , shell_(shell)
    , session_(workspace)
    , bar_(new TranslationBar)
{
    buildListPanel();

    getStrings_ = makeAction(this, "Getstrings1", QStringLiteral("&Get strings"));
    editDictionary_ = makeAction(this, "Editdatabase1", QStringLiteral("&Edit database"));
    undoWindowToggle_ = makeAction(this, "Undoform1", QStringLiteral("Undo form"));
    undoWindowToggle_->setCheckable(true);
    showChecks_ = makeAction(this, "Checks1", QStringLiteral("&Checks"));
    preTranslate_ = makeAction(this, "Pretranslate1", QStringLiteral("&Pre-translate project..."));
    previewPreTranslation_ = makeAction(this, "Pretranslationpreview1", QStringLiteral("Pre-translation pre&view"));

    undoWindow_ = new UndoWindow(shell_.window(), undoWindowToggle_);
    undoWindow_->refresh(session_.undoBuffer());
    dictionaryWindow_ = new DictionaryWindow(workspace_, shell_.window());
    dictionaryExchange_ = new DictionaryExchangeCommands(*dictionaryWindow_, workspace_);
    checksWindow_ = new ChecksWindow(shell_.window());
    preTranslationWindow_ = new PreTranslationWindow(shell_.window());

    checksIndicator_ = new QToolButton;
    checksIndicator_->setObjectName(QStringLiteral("ChecksIndicator"));
    checksIndicator_->setAutoRaise(true);
    checksIndicator_->setFocusPolicy(Qt::NoFocus);
    checksIndicator_->setToolTip(QStringLiteral("Show the warnings of the checks"));
    checksIndicator_->setVisible(false);
    connect(checksIndicator_, &QToolButton::clicked, this, [this] { checksWindow_->showAndRaise(); });
    connect(showChecks_, &QAction::triggered, this, [this] { checksWindow_->showAndRaise(); });
    connect(checksWindow_, &ChecksWindow::showItem, this, [this](const CheckItem& item) { showCheck(item); });
    connect(checksWindow_, &ChecksWindow::countChanged, this, [this](int n) {
        checksIndicator_->setText(n == 1 ? QStringLiteral("\u26A0 1 warning") : QStringLiteral("\u26A0 %1 warnings").arg(n));
        checksIndicator_->setVisible(n > 0);
    });
    connect(preTranslate_, &QAction::triggered, this, [this] { preTranslate(false); });
    connect(previewPreTranslation_, &QAction::triggered, this, [this] { preTranslate(true); });
    connect(preTranslationWindow_, &PreTranslationWindow::translateRequested, this, [this] { preTranslate(false); });

    connect(getStrings_, &QAction::triggered, this, [this] { collect(); });
    connect(editDictionary_, &QAction::triggered, this, [this] { dictionaryWindow_->showAndRaise(); });
    connect(undoWindowToggle_, &QAction::triggered, this, [this](bool shown) {
        if (shown) {
            refreshUndoWindow();
            undoWindow_->show();
            undoWindow_->raise();
        } else {
            undoWindow_->hide();
        }
    });
    connect(&session_, &model::TranslationSession::undoChanged, this, [this] { refreshUndoWindow(); });

    connect(bar_->wordButton(), &QPushButton::clicked, this, [this] { nextWord(); });
    connect(bar_->undoButton(), &QPushButton::clicked, this, [this] { undo(); });
    for (int i = 0; i < model::kProposalCount; ++i)
        connect(bar_->proposalButton(i), &QPushButton::clicked, this, [this, i] { chooseProposal(i); });
    bar_->translationField()->installEventFilter(this);

    shell_.onMenuShown(Menu::Operation, [this] {
        // The project page has no string list of its own.
        getStrings_->setEnabled(!shell_.pages().isProjectPageActive());
        const bool ready = workspace_.project().isOpen() && workspace_.dictionary().isOpen();
        preTranslate_->setEnabled(ready);
        previewPreTranslation_->setEnabled(ready);
    });
}

TranslationFeature::~TranslationFeature()
{
    // The windows go before the main window, which the undo window places.
    delete preTranslationWindow_;
    delete checksWindow_;
    delete dictionaryWindow_;
    delete undoWindow_;
    if (!checksIndicator_->parent())
        delete checksIndicator_;
}

void TranslationFeature::buildListPanel()
{
    listPanel_ = new QWidget;
    listPanel_->setObjectName(QStringLiteral("Panel2"));
    listPanel_->setMinimumHeight(60);
    auto* column = new QVBoxLayout(listPanel_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* header = new QWidget(listPanel_);
    header->setObjectName(QStringLiteral("Panel5"));
    auto* headings = new QHBoxLayout(header);
    headings->setContentsMargins(0, 0, 0, 0);
    headings->setSpacing(0);
    QLineEdit* changedHeading = labelField(latin1(scanner::ChangedHeading), header);
    changedHeading->setObjectName(QStringLiteral("Edit3"));
    changedHeading->setFixedWidth(66);
    QLineEdit* entryHeading = labelField(latin1(scanner::EntryHeading), header);
    entryHeading->setObjectName(QStringLiteral("Edit4"));
    headings->addWidget(changedHeading);
    headings->addWidget(entryHeading, 1);
    column->addWidget(header);

    auto* lists = new QWidget(listPanel_);
    auto* row = new QHBoxLayout(lists);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    changedView_ = new QListView(lists);
    changedView_->setObjectName(QStringLiteral("ListBox3"));
    changedView_->setModel(&session_.list());
    changedView_->setModelColumn(model::StringListModel::ChangedColumn);
    changedView_->setFixedWidth(66);
    changedView_->setFont(listFont());
    changedView_->setEnabled(false);
    changedView_->setFocusPolicy(Qt::NoFocus);
    changedView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    changedView_->setUniformItemSizes(true);
    entryView_ = new QListView(lists);
    entryView_->setObjectName(QStringLiteral("StringEdit"));
    entryView_->setModel(&session_.list());
    entryView_->setModelColumn(model::StringListModel::EntryColumn);
    entryView_->setFont(listFont());
    entryView_->setUniformItemSizes(true);
    entryView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    row->addWidget(changedView_);
    row->addWidget(entryView_, 1);
    column->addWidget(lists, 1);

    entryView_->installEventFilter(this);
    entryView_->viewport()->installEventFilter(this);
    connect(entryView_, &QListView::doubleClicked, this, [this] { locate(); });
    connect(entryView_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { syncChangedColumn(); });
    connect(entryView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { syncChangedColumn(); });
}

// ---- The string list -------------------------------------------------------------

void TranslationFeature::collect(int selectRow)
{
    // The project page has no page editor of its own: nothing is collected.
    QPlainTextEdit* editor = shell_.pages().activeFileEditor();
    session_.collect(editor ? editor->document() : nullptr, shell_.pages().activeCaption());
    clearProposalSlots();
    if (editor)
        editor->viewport()->update();
    listPanel_->setVisible(true);
    if (selectRow >= 0 && selectRow < session_.list().rowCount())
        this->selectRow(selectRow);
    syncChangedColumn();
    if (session_.list().entryCount() > 0)
        entryView_->setFocus();
}

void TranslationFeature::clear()
{
    session_.clear();
}

int TranslationFeature::selectedRow() const
{
    const QModelIndex current = entryView_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TranslationFeature::selectRow(int row)
{
    entryView_->setCurrentIndex(session_.list().index(row, model::StringListModel::EntryColumn));
}

void TranslationFeature::syncChangedColumn()
{
    int top = 0;
    if (entryView_->verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
        top = entryView_->verticalScrollBar()->value();
    } else {
        const QModelIndex first = entryView_->indexAt(QPoint(1, 1));
        top = first.isValid() ? first.row() : 0;
    }
    if (changedView_->verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        changedView_->verticalScrollBar()->setValue(top);
    else if (top < session_.list().rowCount())
        changedView_->scrollTo(session_.list().index(top, model::StringListModel::ChangedColumn),
                               QAbstractItemView::PositionAtTop);
}

// ---- Locate ------------------------------------------------------------------------

void TranslationFeature::locateSelectedEntry()
{
    setWord(1);
    locate();
}

void TranslationFeature::locate()
{
    QPlainTextEdit* editor = shell_.pages().activeFileEditor();
    const int row = selectedRow();
    // No list, no selected line or no page editor: nothing to locate.
    if (!editor || row < 0 || row >= session_.list().rowCount())
        return;
    if (session_.list().isEndRow(row)) {
        finishPage();
        return;
    }
    const auto at = session_.locate(editor->document(), row);
    if (!at)
        return;   // not found from the entry's line on: nothing changes
    QTextCursor cursor(editor->document());
    cursor.setPosition(at->start);
    cursor.setPosition(at->start + at->length, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    // The found literal stands well inside the page, not at its edge.
    const QRect found = editor->cursorRect();
    const int line = found.height();
    if (found.top() < line || found.bottom() > editor->viewport()->height() - 2 * line)
        editor->centerCursor();
    else
        editor->ensureCursorVisible();
    bar_->sourceField()->setText(session_.source());
    if (!session_.lookupError().isEmpty())
        ui().error(shell_.window(), session_.lookupError());
    fillProposalSlots();
    if (slots_[0].isSimilar()) {
        // A similar match waits on its button until the translator chooses it.
        selector_ = -1;
        bar_->releaseProposals();
        bar_->translationField()->clear();
    } else {
        selector_ = 0;
        if (slots_[0].kind == ProposalSlot::Kind::Exact)
            bar_->proposalButton(0)->setChecked(true);
        else
            bar_->releaseProposals();   // no proposal is shown as chosen
        showProposal(0);
    }
    bar_->translationField()->setFocus();
}

// ---- Commit ------------------------------------------------------------------------

void TranslationFeature::commit()
{
    const int row = selectedRow();
    if (row < 0 || row >= session_.list().rowCount())
        return;
    if (session_.list().isEndRow(row)) {
        finishPage();
        return;
    }
    QPlainTextEdit* editor = shell_.pages().activeFileEditor();
    const std::optional<model::TranslationSession::Location> located = session_.located();
    const QString typed = bar_->translationField()->text();
    // The translation replaces exactly the literal that Locate selected for
    // this entry; anything else (no Locate yet, the selection moved, another
    // entry or page chosen since) is not written.
    const auto done = editor ? session_.commit(row, typed, editor->textCursor()) : std::nullopt;
    if (!done) {
        shell_.showHint(QStringLiteral("Press Enter on the entry in the string list to locate it first."));
        return;
    }
    editor->setTextCursor(done->written);
    // The translation stays in the page whatever the dictionary says; a
    // store that failed (a server away for a moment) can be tried again.
    for (QString error = done->storeError; !error.isEmpty();) {
        if (!ui().question(shell_.window(),
                           error + QStringLiteral("\n\nThe translation is in the page. Try again to store it in "
                                                  "the dictionary?"),
                           BoxKind::Error))
            break;
        model::Dictionary& dictionary = workspace_.dictionary();
        error = dictionary.store(session_.source(), typed) ? QString() : dictionary.lastError();
    }
    checkCommit(shell_.pages().activeCaption(), *located, typed);
    selectRow(row + 1);
    entryView_->setFocus();
}

// ---- Checks ------------------------------------------------------------------------

std::optional<QString> TranslationFeature::originalSource(const QString& page,
                                                          const model::TranslationSession::Location& at)
{
    // A literal translated before holds that translation; the checks compare
    // the new one with the text it was translated from: the undo record of
    // the earlier commit knows it, or the warnings listed for it.
    const model::UndoBuffer& buffer = session_.undoBuffer();
    for (int i = 0; i < buffer.count(); ++i) {
        const model::UndoRecord& r = buffer.at(i);
        if (r.line == at.line && r.column == at.column && r.inserted == at.content)
            return model::pascalUnquoted(r.original);
    }
    const QString current = model::pascalUnquoted(at.content);
    for (const CheckItem& item : checksWindow_->items())
        if (item.page == page && item.line == at.line && item.column == at.column && item.translation == current)
            return item.source;
    return std::nullopt;
}

void TranslationFeature::checkCommit(const QString& page, const model::TranslationSession::Location& at,
                                     const QString& typed)
{
    QPlainTextEdit* editor = shell_.pages().activeFileEditor();
    const QString source = originalSource(page, at).value_or(session_.source());
    const std::vector<model::CheckWarning> warnings =
        model::checkCommit(source, typed, isFormPage(page) ? editor->document() : nullptr, at.line);
    checksWindow_->setWarnings(CheckedLiteral{page, at.line, at.column, source, typed, warnings});
    if (warnings.empty())
        return;
    QString hint = hintText(CheckItem{page, at.line, at.column, source, typed, warnings.front()});
    if (warnings.size() > 1)
        hint += QStringLiteral(" (%1 more in View > Checks)").arg(warnings.size() - 1);
    shell_.showHint(hint, kWarningHintTime);
}

void TranslationFeature::addPreTranslationWarnings(const PreTranslationOutcome& outcome)
{
    std::vector<CheckedLiteral> literals;
    int warnings = 0;
    for (const model::PreTranslatedFile& f : outcome.report.files) {
        if (!f.problem.isEmpty())
            continue;
        for (const model::PreTranslatedEntry& e : f.entries) {
            if (!e.skipped.isEmpty())
                continue;
            literals.push_back(CheckedLiteral{f.name, e.line, e.column, e.source, e.translation, e.warnings});
            warnings += int(e.warnings.size());
        }
    }
    checksWindow_->setWarnings(literals);
    if (warnings > 0)
        shell_.showHint(QStringLiteral("The checks found %1 %2 in the pre-translated entries (View > Checks).")
                            .arg(warnings)
                            .arg(warnings == 1 ? QStringLiteral("warning") : QStringLiteral("warnings")),
                        kWarningHintTime);
}

bool TranslationFeature::showCheck(const CheckItem& item)
{
    PageArea& pages = shell_.pages();
    if (!pages.activatePage(item.page)) {
        pages.openPages({item.page});
        if (!pages.activatePage(item.page)) {
            shell_.showHint(QStringLiteral("The page %1 cannot be opened.").arg(item.page));
            return false;
        }
    }
    collect();
    // The literal as written, else the one at the column, else the line's first.
    const QString written = model::pascalQuoted(item.translation);
    int best = -1;
    int rank = 0;
    const model::StringListModel& list = session_.list();
    for (int row = 0; row < list.entryCount(); ++row) {
        const model::ListEntry* e = list.entry(row);
        if (e->line != item.line)
            continue;
        const int r = e->text == written ? 3 : e->posA == item.column ? 2 : 1;
        if (r > rank) {
            rank = r;
            best = row;
        }
    }
    if (best < 0) {
        shell_.showHint(QStringLiteral("Line %1 of %2 holds no entry any more.").arg(item.line).arg(item.page));
        return false;
    }
    selectRow(best);
    locateSelectedEntry();
    // What the translator types next goes into the input.
    shell_.window()->activateWindow();
    shell_.showHint(hintText(item), kWarningHintTime);
    return true;
}

// ---- Pre-translation --------------------------------------------------------------

std::optional<PreTranslationOutcome> TranslationFeature::preTranslate(bool dryRun)
{
    const bool listed = session_.list().rowCount() > 0;
    const int row = selectedRow();
    ProjectPreTranslation run(workspace_, shell_, session_);
    std::optional<PreTranslationOutcome> outcome = run.run(dryRun);
    if (!outcome)
        return outcome;
    if (!dryRun) {
        // The open pages were collected in turn: the list shows the active page again.
        bar_->sourceField()->clear();
        bar_->translationField()->clear();
        if (listed)
            collect(row);
        else
            session_.clear();
        clearProposalSlots();
        refreshUndoWindow();
        addPreTranslationWarnings(*outcome);
    }
    preTranslationWindow_->showOutcome(*outcome);
    return outcome;
}

void TranslationFeature::finishPage()
{
    PageArea& pages = shell_.pages();
    if (!pages.activeFileEditor())
        return;
    // A page that could not be saved stays open, and so do its list and its
    // undo records.
    if (!pages.saveAndCloseActivePage())
        return;
    session_.clear();
    bar_->sourceField()->clear();
    bar_->translationField()->clear();
    clearProposalSlots();
    collect();
    session_.undoBuffer().clear();
    refreshUndoWindow();
}

// ---- Proposals -------------------------------------------------------------------

void TranslationFeature::fillProposalSlots()
{
    const model::Proposals& exact = session_.proposals();
    bool free = false;
    for (int i = 0; i < model::kProposalCount; ++i) {
        ProposalSlot& slot = slots_[std::size_t(i)];
        slot = {};
        if (!exact[std::size_t(i)].isEmpty()) {
            slot.kind = ProposalSlot::Kind::Exact;
            slot.text = exact[std::size_t(i)];
        } else {
            free = true;
        }
    }
    model::Dictionary& dictionary = workspace_.dictionary();
    if (free && dictionary.isOpen() && session_.lookupError().isEmpty()) {
        const std::vector<model::SimilarMatch> similar =
            dictionary.similarMatches(model::withoutAmpersands(session_.source()), exact);
        if (!dictionary.lastError().isEmpty())
            shell_.showHint(QStringLiteral("Similar matches could not be read: %1").arg(dictionary.lastError()));
        auto match = similar.begin();
        for (ProposalSlot& slot : slots_) {
            if (match == similar.end())
                break;
            if (slot.kind != ProposalSlot::Kind::Empty)
                continue;
            slot = ProposalSlot{ProposalSlot::Kind::Similar, match->translation, match->source, match->similarity};
            ++match;
        }
    }
    for (int i = 0; i < model::kProposalCount; ++i)
        bar_->setProposal(i, slots_[std::size_t(i)]);
}

void TranslationFeature::clearProposalSlots()
{
    for (int i = 0; i < model::kProposalCount; ++i) {
        slots_[std::size_t(i)] = {};
        bar_->setProposal(i, {});
    }
}

void TranslationFeature::showProposal(int index)
{
    bar_->translationField()->setText(slots_[static_cast<std::size_t>(index)].text);
    // As an edit box entered by the keyboard: typing replaces the proposal.
    bar_->translationField()->selectAll();
}

void TranslationFeature::nextProposal()
{
    selector_ = (selector_ + 1) % model::kProposalCount;
    bar_->proposalButton(selector_)->setChecked(true);
    showProposal(selector_);
}

void TranslationFeature::copySourceToInput()
{
    bar_->translationField()->setText(session_.source());
}

void TranslationFeature::chooseProposal(int index)
{
    if (index < 0 || index >= model::kProposalCount)
        return;
    selector_ = index;
    bar_->proposalButton(index)->setChecked(true);
    showProposal(index);
    bar_->translationField()->setFocus();
}

void TranslationFeature::setWord(int n)
{
    word_ = n;
    bar_->wordButton()->setText(QStringLiteral("Word %1").arg(n));
}

void TranslationFeature::nextWord()
{
    setWord(word_ == model::kProposalCount ? 1 : word_ + 1);
    showProposal(word_ - 1);
}

// ---- Undo ---------------------------------------------------------------------------

void TranslationFeature::undo()
{
    QPlainTextEdit* editor = shell_.pages().activeFileEditor();
    if (session_.undoBuffer().isEmpty()) {
        ui().message(shell_.window(), QString::fromLatin1(model::MessageEmptyBuffer));
        return;
    }
    const model::UndoRecord undone = session_.undoBuffer().top();
    if (const auto refusal = session_.undo(editor ? editor->document() : nullptr)) {
        ui().message(shell_.window(), *refusal, BoxKind::Warning);
        return;
    }
    // What the checks said of the translation is gone with it; a literal
    // that holds an earlier translation again is checked as that one was.
    const QString page = shell_.pages().activeCaption();
    model::TranslationSession::Location at;
    at.line = undone.line;
    at.column = undone.column;
    at.content = undone.original;
    const std::optional<QString> source = originalSource(page, at);
    if (!source) {
        checksWindow_->forget(page, undone.line, undone.column);
        return;
    }
    const QString restored = model::pascalUnquoted(undone.original);
    checksWindow_->setWarnings(CheckedLiteral{
        page, at.line, at.column, *source, restored,
        model::checkCommit(*source, restored, isFormPage(page) ? editor->document() : nullptr, at.line)});
}

void TranslationFeature::refreshUndoWindow()
{
    undoWindow_->refresh(session_.undoBuffer());
}

// ---- Keys ------------------------------------------------------------------------------

bool TranslationFeature::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == entryView_) {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
            locateSelectedEntry();
            return true;
        }
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            syncChangedColumn();
    } else if (watched == entryView_->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonPress)
            syncChangedColumn();
    } else if (watched == bar_->translationField() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key)) {
            commit();
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
        if (key->modifiers() == Qt::ControlModifier && key->key() >= Qt::Key_1
            && key->key() < Qt::Key_1 + model::kProposalCount) {
            const int index = key->key() - Qt::Key_1;
            if (slots_[std::size_t(index)].kind != ProposalSlot::Kind::Empty)
                chooseProposal(index);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lingrove::ui
