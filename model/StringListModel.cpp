#include "model/StringListModel.h"

#include "core/scanner/StringEntry.h"

namespace lingrove::model {

StringListModel::StringListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int StringListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !shown_ ? 0 : entryCount() + 1;
}

int StringListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant StringListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return index.column() == ChangedColumn ? changedMark(index.row()) : entryLine(index.row());
}

void StringListModel::setEntries(std::vector<ListEntry> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    shown_ = true;
    endResetModel();
}

void StringListModel::clear()
{
    beginResetModel();
    entries_.clear();
    shown_ = false;
    endResetModel();
}

const ListEntry* StringListModel::entry(int row) const
{
    if (row < 0 || row >= entryCount())
        return nullptr;
    return &entries_[static_cast<std::size_t>(row)];
}

void StringListModel::setEntryText(int row, const QString& text)
{
    if (row < 0 || row >= entryCount())
        return;
    entries_[static_cast<std::size_t>(row)].text = text;
    emit dataChanged(index(row, EntryColumn), index(row, EntryColumn));
}

void StringListModel::setChanged(int row, bool changed)
{
    if (row < 0 || row >= entryCount())
        return;
    entries_[static_cast<std::size_t>(row)].changed = changed;
    emit dataChanged(index(row, ChangedColumn), index(row, ChangedColumn));
}

QString StringListModel::entryLine(int row) const
{
    if (isEndRow(row))
        return QString::fromLatin1(scanner::EndLine.data(), qsizetype(scanner::EndLine.size()));
    const ListEntry* e = entry(row);
    if (!e)
        return {};
    std::string prefix;
    scanner::appendEntry(prefix, e->line, e->posA, e->posB, {});
    return QString::fromLatin1(prefix.data(), qsizetype(prefix.size())) + e->text;
}

QString StringListModel::changedMark(int row) const
{
    const auto latin1 = [](std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); };
    if (isEndRow(row))
        return latin1(scanner::MarkEnd);
    const ListEntry* e = entry(row);
    if (!e)
        return {};
    return latin1(e->changed ? scanner::MarkYes : scanner::MarkNo);
}

} // namespace lingrove::model
