#pragma once
// The translation loop of the main window: Get strings fills the string list
// of the active page; Locate finds the selected entry's literal in the page
// and asks the dictionary for proposals; Commit writes the translation into
// the page, marks the entry, records the change for undo, teaches the
// dictionary and moves on; the end line saves and closes the page.
//
// The loop works on the main window's controls (StringEdit, ListBox2,
// ListBox3, Edit1, Edit2, the "Word" and "UNDO" buttons, S1..S5) and owns the
// undo buffer, the undo window, the create-table dialog and the dictionary
// window.
#include "translation/Dictionary.h"
#include "translation/UndoBuffer.h"
#include "core/scanner/Scanner.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

class QTextDocument;
class QTextEdit;

namespace lingrove::app {
class MainWindow;
class NewProjectWizard;
} // namespace lingrove::app

namespace lingrove::translation {

class TDataEditForm;
class TDbank;
class TUndoForm;

// A translation as it is written between the apostrophes of a Pascal or form
// literal: every apostrophe doubled.
QString pascalQuoted(const QString& typed);
// The content of a literal as the user reads and types it: every doubled
// apostrophe as one.
QString pascalUnquoted(const QString& written);

// One line of text as 8-bit bytes for the scanner, one byte per UTF-16 unit
// so that columns stay the same. A character without a Windows-1252 byte
// becomes '?'; *exact (when given) tells whether that happened.
std::string toScannerBytes(const QString& line, bool* exact = nullptr);

// An entry line of the string list, read back.
struct ListEntry {
    int line = 0;
    int posA = 0;
    int posB = 0;
    QString text;        // the literal's content as it stands in the page
    QString prefix;      // everything before the text (numbers and blanks)
};
std::optional<ListEntry> parseListEntry(const QString& entryLine);

// The entry lines of every line of document (block i is editor line i + 1),
// without the end line.
QStringList scanDocument(const QTextDocument& document, const scanner::ScanFilters& filters);

// The filters of the current settings, with the font and locale tests.
scanner::ScanFilters currentScanFilters();

class TranslationLoop : public QObject {
    Q_OBJECT

public:
    explicit TranslationLoop(app::MainWindow* main);
    ~TranslationLoop() override;

    // ---- String list ----------------------------------------------------
    void Getstrings1Click();
    void clearStringList();
    // Keeps the Changed column's top row equal to the string list's.
    void syncChangedColumn();

    // ---- Locate and commit ----------------------------------------------
    // Enter in the string list: "Word 1", then Locate.
    void StringEditEnter();
    // Locate the selected entry (also a double click in the string list).
    void ReplaceDialog1Find();
    // Enter in the translation input.
    void Commit();
    // F2: the next proposal (S1 -> S2 -> ... -> S5 -> S1).
    void nextProposal();
    // F3: the source into the input.
    void copySourceToInput();
    // S1..S5 pressed (index 0..4).
    void proposalButtonClicked(int index);
    // The "Word n" button.
    void SpeedButton19Click();
    // The "UNDO" button.
    void SpeedButton1Click();
    // Saves and closes the active file page and empties the undo buffer;
    // nothing on the project page.
    void finishPage();

    // ---- Dictionary and windows ------------------------------------------
    bool openDictionary();
    void Editdatabase1Click();
    void Undoform1Click();
    // The wizard's "Create new table": proposes "<source>_<destination>".
    void createTableForWizard(app::NewProjectWizard& wizard);

    // ---- State, for the windows and for tests -----------------------------
    UndoBuffer& undoBuffer() { return undo_; }
    TUndoForm* undoForm() const { return undoForm_; }
    TDbank* createTableDialog() const { return dbank_; }
    TDataEditForm* dictionaryWindow() const { return dataEditForm_; }
    const Proposals& proposals() const { return proposals_; }
    int selectedProposal() const { return selector_; }
    int wordCounter() const { return word_; }
    QString currentSource() const { return currentSource_; }
    // The search text of the last Locate: the literal with its apostrophes.
    QString findText() const { return findText_; }
    // True while the page selection is the literal the last Locate selected.
    bool hasLocatedEntry() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Located {
        QPointer<QTextEdit> editor;
        int row = -1;          // index in the string list
        int start = 0;         // document position of the content
        int length = 0;
        int line = 0;          // 1-based editor line
        int column = 0;        // 1-based column of the content
        QString content;       // as it stands in the page
    };

    void refreshUndoForm();
    void setWord(int n);
    void showProposal(int index);
    void hint(const QString& text);

    app::MainWindow* main_;
    UndoBuffer undo_;
    Proposals proposals_;
    int selector_ = 0;  // 0..4: which of S1..S5 is down
    int word_ = 1;      // 1..5
    QString currentSource_;
    QString findText_;
    std::optional<Located> located_;

    TUndoForm* undoForm_ = nullptr;
    TDbank* dbank_ = nullptr;
    TDataEditForm* dataEditForm_ = nullptr;
};

} // namespace lingrove::translation
