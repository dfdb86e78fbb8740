#include "ui/translation/TranslationFeature.h"

#include "core/scanner/StringEntry.h"
#include "model/Workspace.h"
#include "ui/shell/Actions.h"
#include "ui/shell/PageArea.h"
#include "ui/shell/Shell.h"
#include "ui/shell/UserInterface.h"
#include "ui/translation/DictionaryWindow.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/UndoWindow.h"

#include <QAction>
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

    undoWindow_ = new UndoWindow(shell_.window(), undoWindowToggle_);
    undoWindow_->refresh(session_.undoBuffer());
    dictionaryWindow_ = new DictionaryWindow(workspace_, shell_.window());

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

    // The project page has no string list of its own.
    shell_.onMenuShown(Menu::Operation, [this] { getStrings_->setEnabled(!shell_.pages().isProjectPageActive()); });
}

TranslationFeature::~TranslationFeature()
{
    // The windows go before the main window, which the undo window places.
    delete dictionaryWindow_;
    delete undoWindow_;
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
    selector_ = 0;
    bar_->proposalButton(0)->setChecked(true);
    showProposal(0);
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
    // The translation replaces exactly the literal that Locate selected for
    // this entry; anything else (no Locate yet, the selection moved, another
    // entry or page chosen since) is not written.
    const auto done = editor ? session_.commit(row, bar_->translationField()->text(), editor->textCursor())
                             : std::nullopt;
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
        error = dictionary.store(session_.source(), bar_->translationField()->text()) ? QString()
                                                                                      : dictionary.lastError();
    }
    selectRow(row + 1);
    entryView_->setFocus();
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
    collect();
    session_.undoBuffer().clear();
    refreshUndoWindow();
}

// ---- Proposals -------------------------------------------------------------------

void TranslationFeature::showProposal(int index)
{
    bar_->translationField()->setText(session_.proposals()[static_cast<std::size_t>(index)]);
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
    if (const auto refusal = session_.undo(editor ? editor->document() : nullptr))
        ui().message(shell_.window(), *refusal, BoxKind::Warning);
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
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lingrove::ui
