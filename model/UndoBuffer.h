#pragma once
// The undo buffer of committed translations: at most 256 records, newest
// first, and the status text the undo window shows for it. No widgets: the
// window rebuilds its list from records() and statusText() after each change.
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace lingrove::model {

struct UndoRecord {
    qint32 line = 0;   // 1-based editor line of the changed literal
    qint32 column = 0;    // 1-based column where the translation was inserted (the entry's start column)
    qint32 length = 0; // characters of the inserted translation
    QString original;      // the literal's content before the change
    // The translation that was inserted (length characters). Lets undo check
    // that the text it is about to replace is still the translation.
    QString inserted;

    bool operator==(const UndoRecord&) const = default;
};

// Status texts of the undo window and the message of an undo without records.
inline constexpr char StatusEmptyAtStart[] = "Empty undo pufer";
inline constexpr char StatusEmpty[] = "Empty undo puffer";
inline constexpr char StatusOneString[] = " string in undo puffer";
inline constexpr char StatusStrings[] = " strings in undo puffer";
inline constexpr char MessageEmptyBuffer[] = "Empty undo buffer";

// The record a commit makes: line and start column of the entry, the
// translation typed and the entry's text before the change.
UndoRecord makeUndoRecord(qint32 line, qint32 pos, const QString& oldText, const QString& inserted);

class UndoBuffer {
public:
    static constexpr int Capacity = 256;

    // Adds record as the newest; when full, the oldest record is lost.
    // Returns the new count.
    int push(const UndoRecord& record);
    // A copy of the newest record; a blank record while the buffer is empty.
    UndoRecord top() const;
    // Drops the newest record. Returns the new count.
    int pop();
    // Empties the buffer.
    void clear();
    // The newest record, removed from the buffer; nullopt when empty.
    std::optional<UndoRecord> take();

    int count() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // Record i, 0 = newest; i in 0..count()-1.
    const UndoRecord& at(int i) const;
    // All records in use, newest first.
    std::vector<UndoRecord> records() const;
    // The undo window's status line for the last operation.
    QString statusText() const { return status_; }

private:
    std::array<UndoRecord, Capacity> slots_; // ring: newest at head_
    int head_ = 0;
    int count_ = 0;
    QString status_ = QString::fromLatin1(StatusEmptyAtStart);
};

// Where the translation of record stands in lineText now: the 1-based column
// of its first character, or nullopt when it cannot be found safely. The
// translation counts only as the whole content of a literal (an apostrophe
// right before and right after it). It is looked for at the recorded column
// first, then anywhere on the line, the occurrence nearest to the recorded
// column winning (earlier translations on the same line may have moved it).
std::optional<int> findUndoTarget(const QString& lineText, const UndoRecord& record);

// Puts record's old text back in place of its translation in lineText.
// False, with lineText unchanged, when the translation is not found there.
bool applyUndo(QString& lineText, const UndoRecord& record);

} // namespace lingrove::model
