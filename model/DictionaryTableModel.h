#pragma once
// The records of one dictionary table for a grid, read a page at a time, so
// that a table of a million records opens, sorts and shows its last record
// without reading the others.
//
// Order. Rows follow the sort column, records of equal values in the order
// they were added (rowid); unsorted, in the order added. The record count
// comes from the table; a page is read as the records that follow the page
// before it (or precede the page after it) when that one is at hand, else by
// LIMIT/OFFSET from the nearer end of the table. A few pages are kept; the
// table's indexes on the sorted columns (ensureSortIndexes) make each read
// short.
//
// Changes. Edited cells, rows marked for deletion and one inserted row are
// kept until submitAll() writes them in one transaction, or revertAll()
// drops them. Changes belong to their record, not to a row number, so they
// stay with it when the table is sorted or read again. A record is written
// only while it still holds the source it was read with: a record another
// program changed or deleted meanwhile is reported, not overwritten. Edits
// never write NULL (an empty cell is an empty text).
#include <QAbstractTableModel>
#include <QCache>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace lingrove::model {

// Where the grid's records are and how the engine is spoken to.
struct GridTable {
    QString table = QStringLiteral("Dictionary");   // the relation, as SQL names it
    QString id = QStringLiteral("rowid");           // the column that tells records apart
    bool server = false;                            // PostgreSQL rather than SQLite
};

class DictionaryTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kDefaultPageSize = 256;
    static constexpr int kCachedPages = 16;

    // Shows the table Dictionary of db; nothing is read before select().
    explicit DictionaryTableModel(const QSqlDatabase& db, QObject* parent = nullptr);
    // Shows the table of db that where describes.
    DictionaryTableModel(const QSqlDatabase& db, GridTable where, QObject* parent = nullptr);

    // Read the columns (the first time) and the record count again and drop
    // the pages read; pending changes are kept. False with lastError() when
    // the table cannot be read.
    bool select();
    QString lastError() const { return lastError_; }

    // Rows per page read; takes effect with the next select().
    void setPageSize(int rows);
    int pageSize() const { return pageSize_; }

    // A read-only model takes no edits, insertions or deletions.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    bool isDirty() const { return inserted_.has_value() || !changes_.isEmpty(); }
    // The inserted row, or a row with edits or marked for deletion.
    bool isRowDirty(int row) const;
    // Write every pending change in one transaction and read the table
    // again. On failure nothing is written, the changes stay pending and
    // lastError() says which record failed and why.
    bool submitAll();
    void revertAll();
    // Drop the changes of row; the inserted row disappears.
    void revertRow(int row);

    // The row inserted and not yet posted, or -1.
    int insertedRow() const { return inserted_ ? inserted_->row : -1; }
    // Every cell of row empty.
    bool isBlank(int row) const;
    // The rowid of the record shown in row; -1 for the inserted row and rows
    // out of range.
    qint64 recordId(int row) const;
    // The rowid the inserted row got from the last submitAll(), or -1.
    qint64 lastInsertedId() const { return lastInsertedId_; }
    // The row that shows record id in the current order, or -1 when the
    // table does not hold it.
    int rowOfRecord(qint64 id);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Column names; row numbers, "*" on the inserted row and "!" on rows
    // marked for deletion.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // One row at a time, while no other inserted row is pending.
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    // Marks the rows for deletion (the inserted row is dropped at once).
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;
    // A column out of range shows the records in the order added.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    // A page could not be read; its rows stay empty until select().
    void readFailed(const QString& message);

private:
    struct Record {
        qint64 id = -1;
        QVariantList values;
    };
    using Page = QList<Record>;
    struct Change {
        QVariant source;   // the source the record was read with
        QMap<int, QString> values;
        bool deleted = false;
    };
    struct NewRow {
        int row = 0;
        QMap<int, QString> values;
    };
    // Records that follow the anchor (value, id) in one direction, as
    // disjoint ranges each read in that direction.
    struct Range {
        QString where;
        QVariantList values;
        QString orderBy;
    };

    bool fail(const QString& message);
    int storedPosition(int row) const;
    int rowOfPosition(int position) const;
    const Record* recordAt(int position) const;
    Page readPage(int page, QString* why) const;
    bool readRecords(const QString& where, const QVariantList& values, const QString& orderBy, int limit,
                     int offset, Page* into, QString* why) const;
    bool ascendingWhen(bool forward) const;
    QString orderBy(bool forward) const;
    QList<Range> rangesAfter(const QVariant& value, qint64 id, bool ascending) const;
    QString column(int index) const;
    QVariant shownValue(int row, int column) const;
    void emitRowChanged(int row);

    GridTable where_;
    QSqlDatabase db_;
    QStringList columns_;
    int sourceColumn_ = 0;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    int count_ = 0;
    int pageSize_ = kDefaultPageSize;
    bool readOnly_ = false;
    QString lastError_;
    qint64 lastInsertedId_ = -1;
    mutable QCache<int, Page> pages_{kCachedPages};
    QMap<qint64, Change> changes_;
    std::optional<NewRow> inserted_;
};

} // namespace lingrove::model
