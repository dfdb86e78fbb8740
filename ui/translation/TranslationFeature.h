#pragma once
// The translation loop in the window: the translation bar, the string list
// (the entries of the active page and their Changed column), the keys of
// the loop, the undo window and the dictionary window.
//
// Enter on an entry locates its literal in the page (the "Word" counter
// starts again at 1) and shows the first proposal in the input; Enter in
// the input commits the translation and moves to the next entry; F2 shows
// the next proposal, F3 copies the source into the input. Enter on the end
// line (in the list or in the input) saves and closes the page and collects
// the strings of the page that comes to the front.
#include "model/TranslationSession.h"
#include "ui/shell/StringList.h"

#include <QObject>

class QAction;
class QListView;
class QWidget;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class DictionaryWindow;
class Shell;
class TranslationBar;
class UndoWindow;

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
    // S1..S5 pressed (index 0..4).
    void chooseProposal(int index);
    // "Word n": the next word counter and its proposal.
    void nextWord();
    // "UNDO": the newest recorded translation is put back.
    void undo();
    // Saves and closes the active file page, empties the undo buffer and
    // collects the strings of the page in front; nothing on the project page.
    void finishPage();
    // Keeps the Changed column's top row equal to the string list's.
    void syncChangedColumn();

    int selectedProposal() const { return selector_; }
    int wordCounter() const { return word_; }
    UndoWindow* undoWindow() const { return undoWindow_; }
    DictionaryWindow* dictionaryWindow() const { return dictionaryWindow_; }

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
    void selectRow(int row);
    void refreshUndoWindow();

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
    UndoWindow* undoWindow_ = nullptr;
    DictionaryWindow* dictionaryWindow_ = nullptr;
    int selector_ = 0;   // 0..4: which of S1..S5 is down
    int word_ = 1;       // 1..5
};

} // namespace lingrove::ui
