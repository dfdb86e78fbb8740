#pragma once
// The translation loop in the window: the translation bar, the string list
// (the entries of the active page and their Changed column), the keys of
// the loop, the undo window and the dictionary window.
//
// Enter on an entry locates its literal in the page (the "Word" counter
// starts again at 1) and shows the first proposal in the input; Enter in
// the input commits the translation and moves to the next entry; F2 shows
// the next proposal, F3 copies the source into the input, Ctrl+1..Ctrl+5
// the proposal of that button. Enter on the end line (in the list or in the
// input) saves and closes the page and collects the strings of the page
// that comes to the front.
//
// Proposal slots the dictionary's exact translations leave free show
// translations of similar sources. Such a match is never put into the input
// by Locate: only choosing it (a click, its key, F2 or "Word n") does, so
// Enter commits it only when the translator picked it.
//
// Each commit is checked (model/TranslationChecks.h); warnings go to the
// hint line and into the Checks window, which steps from warning to entry.
// Around the loop: pre-translating the project (with a preview), and the
// dictionary window's export and import.
#include "model/TranslationSession.h"
#include "ui/shell/StringList.h"
#include "ui/translation/TranslationBar.h"

#include <QObject>

#include <array>
#include <optional>

class QAction;
class QListView;
class QToolButton;
class QWidget;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class ChecksWindow;
class DictionaryExchangeCommands;
class DictionaryWindow;
class PreTranslationWindow;
class Shell;
class UndoWindow;
struct CheckItem;
struct PreTranslationOutcome;

class TranslationFeature : public QObject, public StringList {
    Q_OBJECT

public:
    TranslationFeature(model::Workspace& workspace, Shell& shell, QObject* parent = nullptr);
    ~TranslationFeature() override;

    // ---- Widgets, placed by the main window ---------------------------
    TranslationBar* bar() const { return bar_; }
    QWidget* listPanel() const { return listPanel_; }
    QListView* entryView() const { return entryView_; }
    QListView* changedView() const { return changedView_; }

    // ---- Commands -------------------------------------------------------
    QAction* getStringsAction() const { return getStrings_; }
    QAction* editDictionaryAction() const { return editDictionary_; }
    QAction* undoWindowAction() const { return undoWindowToggle_; }
    QAction* checksAction() const { return showChecks_; }
    QAction* preTranslateAction() const { return preTranslate_; }
    QAction* previewPreTranslationAction() const { return previewPreTranslation_; }
    // For the hint line: how many warnings the Checks window lists; opens it.
    QToolButton* checksIndicator() const { return checksIndicator_; }

    // ---- The loop -------------------------------------------------------
    model::TranslationSession& session() { return session_; }
    // Enter in the string list: "Word 1", then locate.
    void locateSelectedEntry();
    // Locate the selected entry (a double click does this too).
    void locate();
    // Enter in the input.
    void commit();
    // F2: the next proposal (S1 -> S2 -> ... -> S5 -> S1).
    void nextProposal();
    // F3: the source into the input.
    void copySourceToInput();
    // S1..S5 pressed (index 0..4), or Ctrl+1..Ctrl+5.
    void chooseProposal(int index);
    // What the proposal buttons offer for the located entry.
    const std::array<ProposalSlot, model::kProposalCount>& proposalSlots() const { return slots_; }
    // "Word n": the next word counter and its proposal.
    void nextWord();
    // "UNDO": the newest recorded translation is put back.
    void undo();
    // Saves and closes the active file page, empties the undo buffer and
    // collects the strings of the page in front; nothing on the project page.
    void finishPage();
    // Keeps the Changed column's top row equal to the string list's.
    void syncChangedColumn();

    // Pre-translates the project (asking first) or previews it; nullopt
    // when nothing was done.
    std::optional<PreTranslationOutcome> preTranslate(bool dryRun);
    // Brings item's page to the front (opening it when it is closed) and
    // locates its entry; false when neither page nor entry is there.
    bool showCheck(const CheckItem& item);

    // -1 when no proposal is chosen (Locate found only similar matches).
    int selectedProposal() const { return selector_; }
    int wordCounter() const { return word_; }
    UndoWindow* undoWindow() const { return undoWindow_; }
    DictionaryWindow* dictionaryWindow() const { return dictionaryWindow_; }
    DictionaryExchangeCommands* dictionaryExchange() const { return dictionaryExchange_; }
    ChecksWindow* checksWindow() const { return checksWindow_; }
    PreTranslationWindow* preTranslationWindow() const { return preTranslationWindow_; }

    // ---- StringList ------------------------------------------------------
    void collect(int selectRow = -1) override;
    void clear() override;
    int selectedRow() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildListPanel();
    void setWord(int n);
    void showProposal(int index);
    void fillProposalSlots();
    void clearProposalSlots();
    void selectRow(int row);
    void refreshUndoWindow();
    // The checks of the translation typed just written at at of page (the active one).
    void checkCommit(const QString& page, const model::TranslationSession::Location& at, const QString& typed);
    // The text the literal at at (holding a translation) was translated
    // from; nullopt when it was not translated in the window.
    std::optional<QString> originalSource(const QString& page, const model::TranslationSession::Location& at);
    void addPreTranslationWarnings(const PreTranslationOutcome& outcome);

    model::Workspace& workspace_;
    Shell& shell_;
    model::TranslationSession session_;
    TranslationBar* bar_;
    QWidget* listPanel_ = nullptr;
    QListView* entryView_ = nullptr;
    QListView* changedView_ = nullptr;
    QAction* getStrings_;
    QAction* editDictionary_;
    QAction* undoWindowToggle_;
    QAction* showChecks_;
    QAction* preTranslate_;
    QAction* previewPreTranslation_;
    QToolButton* checksIndicator_ = nullptr;
    UndoWindow* undoWindow_ = nullptr;
    DictionaryWindow* dictionaryWindow_ = nullptr;
    DictionaryExchangeCommands* dictionaryExchange_ = nullptr;
    ChecksWindow* checksWindow_ = nullptr;
    PreTranslationWindow* preTranslationWindow_ = nullptr;
    std::array<ProposalSlot, model::kProposalCount> slots_;
    int selector_ = 0;   // 0..4: which of S1..S5 is down; -1: none
    int word_ = 1;       // 1..5
};

} // namespace lingrove::ui
