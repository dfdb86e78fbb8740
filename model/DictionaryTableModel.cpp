#include "model/DictionaryTableModel.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace lingrove::model {

namespace {

const QString kSourceField = QStringLiteral("Source");

QString errorText(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

// Prepare sql, bind values in order and run it.
bool run(QSqlQuery& query, const QString& sql, const QVariantList& values, QString* why)
{
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    if (ok) {
        for (const QVariant& value : values)
            query.addBindValue(value);
        ok = query.exec();
    }
    if (!ok && why)
        *why = errorText(query.lastError());
    return ok;
}

bool countRecords(const QSqlDatabase& db, const QString& table, const QString& where, const QVariantList& values,
                  qint64* result, QString* why)
{
    QSqlQuery query(db);
    QString sql = QStringLiteral("SELECT count(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    if (!run(query, sql, values, why))
        return false;
    *result = query.next() ? query.value(0).toLongLong() : 0;
    return true;
}

} // namespace

DictionaryTableModel::DictionaryTableModel(const QSqlDatabase& db, QObject* parent)
    : DictionaryTableModel(db, GridTable{}, parent)
{
}

DictionaryTableModel::DictionaryTableModel(const QSqlDatabase& db, GridTable where, QObject* parent)
    : QAbstractTableModel(parent)
    , where_(std::move(where))
    , db_(db)
{
}

bool DictionaryTableModel::fail(const QString& message)
{
    lastError_ = message;
    return false;
}

void DictionaryTableModel::setPageSize(int rows)
{
    pageSize_ = std::max(1, rows);
}

QString DictionaryTableModel::column(int index) const
{
    return db_.driver()->escapeIdentifier(columns_.value(index), QSqlDriver::FieldName);
}

bool DictionaryTableModel::select()
{
    QString why;
    QStringList columns = columns_;
    if (columns.isEmpty()) {
        const QSqlRecord record = db_.record(where_.table);
        // The column that tells records apart is read beside the others,
        // not shown (a server's "Id"; SQLite's rowid is no column).
        for (int i = 0; i < record.count(); ++i)
            if (record.fieldName(i) != QString(where_.id).remove(QLatin1Char('"')))
                columns << record.fieldName(i);
        if (!columns.contains(kSourceField))
            return fail(QStringLiteral("The database holds no dictionary table."));
    }
    qint64 records = 0;
    if (!countRecords(db_, where_.table, {}, {}, &records, &why))
        return fail(why);

    beginResetModel();
    columns_ = columns;
    sourceColumn_ = int(columns_.indexOf(kSourceField));
    if (sortColumn_ >= columns_.size())
        sortColumn_ = -1;
    count_ = int(records);
    pages_.clear();
    if (inserted_)
        inserted_->row = std::clamp(inserted_->row, 0, count_);
    endResetModel();
    lastError_.clear();
    return true;
}

// ---------------------------------------------------------------------------
// Reading

int DictionaryTableModel::storedPosition(int row) const
{
    return inserted_ && row > inserted_->row ? row - 1 : row;
}

int DictionaryTableModel::rowOfPosition(int position) const
{
    return inserted_ && position >= inserted_->row ? position + 1 : position;
}

bool DictionaryTableModel::ascendingWhen(bool forward) const
{
    if (sortColumn_ < 0)
        return forward;
    return (sortOrder_ == Qt::AscendingOrder) == forward;
}

QString DictionaryTableModel::orderBy(bool forward) const
{
    const QString direction = ascendingWhen(forward) ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    if (sortColumn_ < 0)
        return where_.id + direction;
    return column(sortColumn_) + direction + QStringLiteral(", ") + where_.id + direction;
}

// The records after (value, id) in the order "sort column, then rowid" when
// ascending, or its reverse: first those of the same value, then the others.
// SQLite puts NULL before every text. Each range is one index search.
QList<DictionaryTableModel::Range> DictionaryTableModel::rangesAfter(const QVariant& value, qint64 id,
                                                                     bool ascending) const
{
    const QString direction = ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    const QString beyond = ascending ? QStringLiteral(" > ?") : QStringLiteral(" < ?");
    const QString byId = where_.id + direction;
    if (sortColumn_ < 0)
        return {{where_.id + beyond, {id}, byId}};
    const QString name = column(sortColumn_);
    const QString byValue = name + direction + QStringLiteral(", ") + where_.id + direction;
    if (value.isNull()) {
        QList<Range> ranges{{name + QStringLiteral(" IS NULL AND ") + where_.id + beyond, {id}, byId}};
        if (ascending)
            ranges.append({name + QStringLiteral(" IS NOT NULL"), {}, byValue});
        return ranges;
    }
    QList<Range> ranges{{name + QStringLiteral(" = ? AND ") + where_.id + beyond, {value, id}, byId},
                        {name + beyond, {value}, byValue}};
    if (!ascending)
        ranges.append({name + QStringLiteral(" IS NULL"), {}, byId});
    return ranges;
}

bool DictionaryTableModel::readRecords(const QString& where, const QVariantList& values, const QString& orderBy,
                                       int limit, int offset, Page* into, QString* why) const
{
    QString sql = QStringLiteral("SELECT ") + where_.id;
    for (int i = 0; i < columns_.size(); ++i)
        sql += QStringLiteral(", ") + column(i);
    sql += QStringLiteral(" FROM ") + where_.table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    sql += QStringLiteral(" ORDER BY ") + orderBy + QStringLiteral(" LIMIT ? OFFSET ?");
    QVariantList bound = values;
    bound << limit << offset;
    QSqlQuery query(db_);
    if (!run(query, sql, bound, why))
        return false;
    while (query.next()) {
        Record record;
        record.id = query.value(0).toLongLong();
        record.values.reserve(columns_.size());
        for (int i = 0; i < columns_.size(); ++i)
            record.values << query.value(i + 1);
        into->append(std::move(record));
    }
    return true;
}

DictionaryTableModel::Page DictionaryTableModel::readPage(int page, QString* why) const
{
    const int start = page * pageSize_;
    const int wanted = std::min(pageSize_, count_ - start);
    Page records;
    if (wanted <= 0)
        return records;
    records.reserve(wanted);

    // Next to a page at hand, the records that follow (or precede) it;
    // otherwise by position from the nearer end.
    const Page* before = page > 0 ? pages_.object(page - 1) : nullptr;
    const Page* after = pages_.object(page + 1);
    if ((before && before->size() == pageSize_) || (after && !after->isEmpty())) {
        const bool forward = before && before->size() == pageSize_;
        const Record& anchor = forward ? before->last() : after->first();
        const QList<Range> ranges = rangesAfter(anchor.values.value(sortColumn_), anchor.id, ascendingWhen(forward));
        for (const Range& range : ranges) {
            if (records.size() >= wanted)
                break;
            if (!readRecords(range.where, range.values, range.orderBy, wanted - int(records.size()), 0, &records, why))
                return {};
        }
        if (!forward)
            std::reverse(records.begin(), records.end());
        return records;
    }
    const int fromEnd = count_ - start - wanted;
    const bool forward = start <= fromEnd;
    if (!readRecords({}, {}, orderBy(forward), wanted, forward ? start : fromEnd, &records, why))
        return {};
    if (!forward)
        std::reverse(records.begin(), records.end());
    return records;
}

const DictionaryTableModel::Record* DictionaryTableModel::recordAt(int position) const
{
    if (position < 0 || position >= count_)
        return nullptr;
    const int page = position / pageSize_;
    const Page* records = pages_.object(page);
    if (!records) {
        QString why;
        auto* read = new Page(readPage(page, &why));
        // A page that failed stays empty until the table is read again,
        // rather than being asked for at every repaint.
        pages_.insert(page, read);
        records = read;
        if (!why.isEmpty())
            emit const_cast<DictionaryTableModel*>(this)->readFailed(
                QStringLiteral("Cannot read the table: %1").arg(why));
    }
    const int at = position - page * pageSize_;
    return at < records->size() ? &records->at(at) : nullptr;
}

int DictionaryTableModel::rowOfRecord(qint64 id)
{
    if (id < 0)
        return -1;
    const QList<int> cached = pages_.keys();
    for (int page : cached) {
        const Page* records = pages_.object(page);
        for (qsizetype i = 0; records && i < records->size(); ++i) {
            if (records->at(i).id == id)
                return rowOfPosition(page * pageSize_ + int(i));
        }
    }
    // Its position: the number of records before it in the current order.
    QString why;
    QSqlQuery query(db_);
    const QString key = sortColumn_ < 0 ? where_.id : column(sortColumn_);
    if (!run(query, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(key, where_.table, where_.id), {id}, &why)
        || !query.next())
        return -1;
    const QVariant value = query.value(0);
    qint64 position = 0;
    for (const Range& range : rangesAfter(value, id, ascendingWhen(false))) {
        qint64 some = 0;
        if (!countRecords(db_, where_.table, range.where, range.values, &some, &why))
            return -1;
        position += some;
    }
    return position < count_ ? rowOfPosition(int(position)) : -1;
}

QVariant DictionaryTableModel::shownValue(int row, int column) const
{
    if (inserted_ && row == inserted_->row) {
        const auto value = inserted_->values.constFind(column);
        return value == inserted_->values.cend() ? QVariant() : QVariant(*value);
    }
    const Record* record = recordAt(storedPosition(row));
    if (!record)
        return {};
    const auto change = changes_.constFind(record->id);
    if (change != changes_.cend()) {
        const auto value = change->values.constFind(column);
        if (value != change->values.cend())
            return *value;
    }
    return record->values.value(column);
}

// ---------------------------------------------------------------------------
// The item model

int DictionaryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_ + (inserted_ ? 1 : 0);
}

int DictionaryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DictionaryTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return shownValue(index.row(), index.column());
}

bool DictionaryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (readOnly_ || role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    QString text = value.toString();
    if (text.isNull())
        text = QStringLiteral("");
    const int row = index.row();
    const int col = index.column();
    if (inserted_ && row == inserted_->row) {
        inserted_->values.insert(col, text);
    } else {
        const Record* record = recordAt(storedPosition(row));
        if (!record)
            return false;
        const qint64 id = record->id;
        const QVariant stored = record->values.value(col);
        auto change = changes_.find(id);
        if (!stored.isNull() && stored.toString() == text) {
            // Back to the stored text: nothing to write for this cell.
            if (change != changes_.end()) {
                change->values.remove(col);
                if (change->values.isEmpty() && !change->deleted)
                    changes_.erase(change);
            }
        } else {
            if (change == changes_.end())
                change = changes_.insert(id, Change{record->values.value(sourceColumn_), {}, false});
            change->values.insert(col, text);
        }
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags DictionaryTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (!readOnly_)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant DictionaryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return columns_.value(section);
    if (inserted_ && section == inserted_->row)
        return QStringLiteral("*");
    if (!changes_.isEmpty()) {
        if (const Record* record = recordAt(storedPosition(section))) {
            const auto change = changes_.constFind(record->id);
            if (change != changes_.cend() && change->deleted)
                return QStringLiteral("!");
        }
    }
    return section + 1;
}

bool DictionaryTableModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count != 1 || row < 0 || row > rowCount())
        return false;
    if (readOnly_)
        return fail(QStringLiteral("The table is read-only."));
    if (inserted_)
        return fail(QStringLiteral("Post or cancel the new record first."));
    beginInsertRows({}, row, row);
    inserted_ = NewRow{row, {}};
    endInsertRows();
    return true;
}

bool DictionaryTableModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row + count > rowCount())
        return false;
    if (readOnly_)
        return fail(QStringLiteral("The table is read-only."));
    for (int r = row + count - 1; r >= row; --r) {
        if (inserted_ && r == inserted_->row) {
            revertRow(r);
            continue;
        }
        const Record* record = recordAt(storedPosition(r));
        if (!record)
            continue;
        auto change = changes_.find(record->id);
        if (change == changes_.end())
            change = changes_.insert(record->id, Change{record->values.value(sourceColumn_), {}, false});
        change->deleted = true;
        emit headerDataChanged(Qt::Vertical, r, r);
    }
    return true;
}

void DictionaryTableModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column >= 0 && column < columns_.size() ? column : -1;
    sortOrder_ = order;
    if (select())
        return;
    // The pages read in the other order must go all the same.
    beginResetModel();
    pages_.clear();
    endResetModel();
    emit readFailed(lastError_);
}

// ---------------------------------------------------------------------------
// Changes

void DictionaryTableModel::emitRowChanged(int row)
{
    if (columns_.isEmpty())
        return;
    emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1), {Qt::DisplayRole, Qt::EditRole});
    emit headerDataChanged(Qt::Vertical, row, row);
}

bool DictionaryTableModel::isBlank(int row) const
{
    for (int col = 0; col < columns_.size(); ++col) {
        if (!shownValue(row, col).toString().isEmpty())
            return false;
    }
    return true;
}

bool DictionaryTableModel::isRowDirty(int row) const
{
    if (inserted_ && row == inserted_->row)
        return true;
    if (changes_.isEmpty())
        return false;
    const qint64 id = recordId(row);
    return id >= 0 && changes_.contains(id);
}

qint64 DictionaryTableModel::recordId(int row) const
{
    if (row < 0 || row >= rowCount() || (inserted_ && row == inserted_->row))
        return -1;
    const Record* record = recordAt(storedPosition(row));
    return record ? record->id : -1;
}

void DictionaryTableModel::revertRow(int row)
{
    if (inserted_ && row == inserted_->row) {
        beginRemoveRows({}, row, row);
        inserted_.reset();
        endRemoveRows();
        return;
    }
    if (row < 0 || row >= rowCount() || changes_.isEmpty())
        return;
    const Record* record = recordAt(storedPosition(row));
    if (record && changes_.remove(record->id) > 0)
        emitRowChanged(row);
}

void DictionaryTableModel::revertAll()
{
    if (inserted_)
        revertRow(inserted_->row);
    if (changes_.isEmpty())
        return;
    changes_.clear();
    if (count_ > 0 && !columns_.isEmpty()) {
        emit dataChanged(index(0, 0), index(count_ - 1, int(columns_.size()) - 1), {Qt::DisplayRole, Qt::EditRole});
        emit headerDataChanged(Qt::Vertical, 0, count_ - 1);
    }
}

bool DictionaryTableModel::submitAll()
{
    if (!isDirty())
        return true;
    if (readOnly_)
        return fail(QStringLiteral("The table is read-only."));
    QString why;
    QSqlQuery query(db_);
    if (!query.exec(where_.server ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")))
        return fail(QStringLiteral("Cannot post: %1").arg(errorText(query.lastError())));
    auto rollBack = [&](const QString& message) {
        QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
        return fail(message);
    };

    // Each record only while it holds the source it was read with.
    // The record still holds the Source it was read with (NULL included).
    const QString keyed = QStringLiteral(" WHERE %1 = ? AND %2 %3 ?")
                              .arg(where_.id, column(sourceColumn_),
                                   where_.server ? QStringLiteral("IS NOT DISTINCT FROM") : QStringLiteral("IS"));
    for (auto it = changes_.cbegin(); it != changes_.cend(); ++it) {
        const Change& change = it.value();
        QString sql;
        QVariantList values;
        if (change.deleted) {
            sql = QStringLiteral("DELETE FROM ") + where_.table + keyed;
        } else {
            QStringList assignments;
            for (auto value = change.values.cbegin(); value != change.values.cend(); ++value) {
                assignments << column(value.key()) + QStringLiteral(" = ?");
                values << value.value();
            }
            sql = QStringLiteral("UPDATE %1 SET %2").arg(where_.table, assignments.join(QStringLiteral(", "))) + keyed;
        }
        values << it.key() << change.source;
        const QString shown = change.values.value(sourceColumn_, change.source.toString());
        if (!run(query, sql, values, &why))
            return rollBack(QStringLiteral("Cannot %1 the record \"%2\": %3")
                                .arg(change.deleted ? QStringLiteral("delete") : QStringLiteral("post"), shown, why));
        if (query.numRowsAffected() != 1)
            return rollBack(QStringLiteral("The record \"%1\" was changed or deleted by another program; "
                                           "Refresh shows the table as it is now.")
                                .arg(change.source.toString()));
    }

    qint64 insertedId = -1;
    if (inserted_) {
        QStringList names;
        QStringList marks;
        QVariantList values;
        for (auto value = inserted_->values.cbegin(); value != inserted_->values.cend(); ++value) {
            names << column(value.key());
            marks << QStringLiteral("?");
            values << value.value();
        }
        QString sql = names.isEmpty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(where_.table)
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(where_.table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        if (where_.server)
            sql += QStringLiteral(" RETURNING ") + where_.id;
        if (!run(query, sql, values, &why))
            return rollBack(QStringLiteral("Cannot post the record \"%1\": %2")
                                .arg(inserted_->values.value(sourceColumn_), why));
        insertedId = where_.server ? (query.next() ? query.value(0).toLongLong() : -1)
                                   : query.lastInsertId().toLongLong();
    }
    if (!query.exec(QStringLiteral("COMMIT")))
        return rollBack(QStringLiteral("Cannot post: %1").arg(errorText(query.lastError())));

    lastInsertedId_ = insertedId;
    qint64 records = count_;
    const bool counted = countRecords(db_, where_.table, {}, {}, &records, &why);
    beginResetModel();
    changes_.clear();
    inserted_.reset();
    pages_.clear();
    count_ = int(records);
    endResetModel();
    return counted || fail(QStringLiteral("Posted, but the table cannot be read again: %1").arg(why));
}

} // namespace lingrove::model
