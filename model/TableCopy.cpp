#include "model/TableCopy.h"

namespace lingrove::model {

namespace {

bool sameTable(const DictionaryLocation& a, const QString& aName, const DictionaryLocation& b, const QString& bName)
{
    if (a.isServer() != b.isServer() || QString::compare(aName, bName, Qt::CaseInsensitive) != 0)
        return false;
    if (a.isServer())
        return a.server.describe() == b.server.describe();
    const QString aFolder = a.folder.isEmpty() ? dictionaryFolder() : a.folder;
    const QString bFolder = b.folder.isEmpty() ? dictionaryFolder() : b.folder;
    return tableFilePath(aName, aFolder) == tableFilePath(bName, bFolder);
}

} // namespace

bool copyTable(const DictionaryLocation& from, const QString& fromName, const DictionaryLocation& to,
    const QString& toName, CopyReport* report, QString* error)
{
    CopyReport done;
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (sameTable(from, fromName, to, toName))
        return fail(QStringLiteral("The table \"%1\" cannot be copied onto itself.").arg(fromName));

    std::vector<std::pair<QString, Proposals>> records;
    int fieldSize = kDefaultFieldSize;
    {
        Dictionary source;
        QString why;
        if (!source.open(fromName, from, &why))
            return fail(why);
        fieldSize = source.fieldSize();
        if (!source.forEachRecord(
                [&](const QString& text, const Proposals& dests) { records.emplace_back(text, dests); }))
            return fail(QStringLiteral("Cannot read the table \"%1\": %2").arg(fromName, source.lastError()));
    }
    done.records = int(records.size());

    QStringList existing;
    QString why;
    if (!listTables(to, &existing, &why))
        return fail(why);
    const bool exists = std::any_of(existing.begin(), existing.end(),
        [&](const QString& name) { return QString::compare(name, toName, Qt::CaseInsensitive) == 0; });
    if (!exists) {
        if (!createTable(toName, fieldSize, to, &why))
            return fail(why);
        done.created = true;
    }
    Dictionary target;
    if (!target.open(toName, to, &why))
        return fail(why);
    if (done.created) {
        if (!target.insertRecords(records))
            return fail(QStringLiteral("The table \"%1\" was made on %2, but the records could not be written "
                                       "into it: %3")
                            .arg(toName, to.describe(), target.lastError()));
    } else {
        std::vector<std::pair<QString, QStringList>> incoming;
        incoming.reserve(records.size());
        for (const auto& [text, dests] : records) {
            QStringList translations;
            for (const QString& t : dests)
                if (!t.isEmpty())
                    translations << t;
            incoming.emplace_back(text, translations);
        }
        MergeOptions options;
        options.addAlternatives = true;
        std::vector<MergeResult> results;
        if (!target.merge(incoming, options, &results))
            return fail(QStringLiteral("Cannot copy into the table \"%1\": %2").arg(toName, target.lastError()));
        for (const MergeResult& r : results) {
            done.added += r.added ? 1 : 0;
            done.updated += r.updated() ? 1 : 0;
            done.conflicting += r.conflicting() ? 1 : 0;
        }
    }
    if (report)
        *report = done;
    return true;
}

} // namespace lingrove::model
