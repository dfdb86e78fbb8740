#pragma once
// The string list of a page: one row per literal that Get strings collected,
// then the end line. Column 0 is the Changed column (" Yes ", " No ", and
// "****" beside the end line), column 1 the entry line ("  COL POSA POSB
// String" layout, see core/scanner/StringEntry.h). Before Get strings, and
// after the list was emptied, there are no rows at all.
#include <QAbstractTableModel>
#include <QString>

#include <optional>
#include <vector>

namespace lingrove::model {

struct ListEntry {
    int line = 0;       // 1-based page line
    int posA = 0;       // 1-based column of the literal's first character
    int posB = 0;       // 1-based column of its last character
    QString text;       // the literal's content as it stands in the page (apostrophes doubled)
    bool changed = false;
};

class StringListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ChangedColumn = 0, EntryColumn = 1 };

    explicit StringListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Replaces the list by entries and the end line.
    void setEntries(std::vector<ListEntry> entries);
    // No rows at all.
    void clear();

    bool hasRows() const { return shown_; }
    int entryCount() const { return static_cast<int>(entries_.size()); }
    // The row of the end line; -1 when there are no rows.
    int endRow() const { return shown_ ? entryCount() : -1; }
    bool isEndRow(int row) const { return shown_ && row == entryCount(); }
    // The entry of row, or nullptr for the end line and rows out of range.
    const ListEntry* entry(int row) const;

    // After a commit: the entry shows its new text and is marked changed.
    void setEntryText(int row, const QString& text);
    void setChanged(int row, bool changed);

    // The texts of a row as the two columns show them.
    QString entryLine(int row) const;
    QString changedMark(int row) const;

private:
    std::vector<ListEntry> entries_;
    bool shown_ = false;
};

} // namespace lingrove::model
