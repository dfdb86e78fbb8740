#include "model/UndoBuffer.h"

#include <cstdlib>

namespace lingrove::model {

UndoRecord makeUndoRecord(qint32 line, qint32 pos, const QString& oldText, const QString& inserted)
{
    return UndoRecord{line, pos, static_cast<qint32>(inserted.size()), oldText, inserted};
}

int UndoBuffer::push(const UndoRecord& record)
{
    head_ = (head_ + Capacity - 1) % Capacity;
    slots_[static_cast<std::size_t>(head_)] = record; // overwrites the oldest when full
    if (count_ < Capacity)
        ++count_;
    status_ = QString::number(count_) + QLatin1String(count_ == 1 ? StatusOneString : StatusStrings);
    return count_;
}

UndoRecord UndoBuffer::top() const
{
    return count_ > 0 ? at(0) : UndoRecord{};
}

int UndoBuffer::pop()
{
    if (count_ <= 1) {
        clear();
        return 0;
    }
    slots_[static_cast<std::size_t>(head_)] = UndoRecord{};
    head_ = (head_ + 1) % Capacity;
    --count_;
    status_ = QString::number(count_) + QLatin1String(StatusStrings);
    return count_;
}

void UndoBuffer::clear()
{
    slots_.fill(UndoRecord{});
    head_ = 0;
    count_ = 0;
    status_ = QString::fromLatin1(StatusEmpty);
}

std::optional<UndoRecord> UndoBuffer::take()
{
    if (count_ == 0)
        return std::nullopt;
    UndoRecord top = at(0);
    pop();
    return top;
}

const UndoRecord& UndoBuffer::at(int i) const
{
    Q_ASSERT(i >= 0 && i < count_);
    return slots_[static_cast<std::size_t>((head_ + i) % Capacity)];
}

std::vector<UndoRecord> UndoBuffer::records() const
{
    std::vector<UndoRecord> all;
    all.reserve(static_cast<std::size_t>(count_));
    for (int i = 0; i < count_; ++i)
        all.push_back(at(i));
    return all;
}

namespace {

// True when the translation stands at 0-based index i, enclosed in apostrophes.
bool standsAt(const QString& lineText, const QString& inserted, qsizetype i)
{
    if (i < 1 || i + inserted.size() >= lineText.size())
        return false;
    return lineText[i - 1] == u'\'' && lineText[i + inserted.size()] == u'\''
        && QStringView(lineText).mid(i, inserted.size()) == inserted;
}

} // namespace

std::optional<int> findUndoTarget(const QString& lineText, const UndoRecord& record)
{
    if (record.length != record.inserted.size())
        return std::nullopt;
    const qsizetype recorded = static_cast<qsizetype>(record.column) - 1;
    if (standsAt(lineText, record.inserted, recorded))
        return record.column;
    const QString quoted = QLatin1Char('\'') + record.inserted + QLatin1Char('\'');
    std::optional<qsizetype> best;
    for (qsizetype at = lineText.indexOf(quoted); at >= 0; at = lineText.indexOf(quoted, at + 1)) {
        const qsizetype start = at + 1;
        if (!best || std::llabs(start - recorded) < std::llabs(*best - recorded))
            best = start;
    }
    if (!best)
        return std::nullopt;
    return static_cast<int>(*best + 1);
}

bool applyUndo(QString& lineText, const UndoRecord& record)
{
    const auto column = findUndoTarget(lineText, record);
    if (!column)
        return false;
    lineText.replace(*column - 1, record.length, record.original);
    return true;
}

} // namespace lingrove::model
