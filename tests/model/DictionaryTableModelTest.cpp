// The dictionary grid's model on tables of a few thousand records read in
// pages of a few rows: every order and way of moving shows each record once
// at the place the sort gives it, and changes reach the right record.
#include "tests/model/DictionaryFixture.h"

#include "model/DictionaryTableModel.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace lingrove::model::testing {
namespace {

constexpr int kRecords = 1500;
constexpr int kPage = 7;

class DictionaryTableModelTest : public DictionaryFolderTest {
protected:
    struct Row {
        qint64 id;
        QString source;
        std::optional<QString> dest1;   // nullopt: NULL
        QString dest2;
    };

    void TearDown() override
    {
        connection_.close();
        DictionaryFolderTest::TearDown();
    }

    // kRecords records with rowids that have gaps, many equal Dest1 values
    // and Dest2 mostly empty. A foreign table is made by hand without the
    // NOT NULL rule, and every ninth Dest1 is NULL there.
    void fill(const QString& name, bool foreign = false)
    {
        if (foreign) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(tableFilePath(name));
            ASSERT_TRUE(db.open());
            QSqlQuery(db).exec("CREATE TABLE Dictionary (Source TEXT, Dest1 TEXT, Dest2 TEXT, Dest3 TEXT, "
                               "Dest4 TEXT, Dest5 TEXT)");
            db.close();
            db = {};
            QSqlDatabase::removeDatabase("foreign");
        } else {
            makeTable(name);
        }
        QString error;
        ASSERT_TRUE(connection_.open(name, &error)) << str(error);
        QSqlDatabase db = connection_.database();
        ASSERT_TRUE(db.transaction());
        QSqlQuery insert(db);
        insert.prepare("INSERT INTO Dictionary (rowid, Source, Dest1, Dest2) VALUES (?, ?, ?, ?)");
        for (int i = 0; i < kRecords; ++i) {
            Row row{3 * i + i % 2 + 1, QString("S%1").arg((i * 7919) % 100003), QString("T%1").arg(i * 37 % 50),
                    i % 10 == 0 ? QString("U%1").arg(i % 7) : QString("")};
            if (foreign && i % 9 == 0)
                row.dest1.reset();
            insert.addBindValue(row.id);
            insert.addBindValue(row.source);
            insert.addBindValue(row.dest1 ? QVariant(*row.dest1) : QVariant());
            insert.addBindValue(row.dest2);
            ASSERT_TRUE(insert.exec()) << str(insert.lastError().text());
            rows_.push_back(row);
            sources_[row.id] = row.source;
        }
        ASSERT_TRUE(db.commit());
    }

    std::unique_ptr<DictionaryTableModel> newModel()
    {
        auto model = std::make_unique<DictionaryTableModel>(connection_.database());
        model->setPageSize(kPage);
        EXPECT_TRUE(model->select()) << str(model->lastError());
        return model;
    }

    // The rowids in the order the grid must show: by column (NULL first),
    // equal values by rowid; column -1 by rowid alone.
    std::vector<qint64> expected(int column, Qt::SortOrder order) const
    {
        std::vector<Row> sorted = rows_;
        auto key = [column](const Row& r) -> std::optional<QString> {
            return column == 0 ? std::optional(r.source) : column == 1 ? r.dest1 : std::optional(r.dest2);
        };
        std::sort(sorted.begin(), sorted.end(), [&](const Row& a, const Row& b) {
            if (column >= 0 && key(a) != key(b))
                return key(a) < key(b);   // nullopt first
            return a.id < b.id;
        });
        std::vector<qint64> ids;
        for (const Row& r : sorted)
            ids.push_back(r.id);
        if (column >= 0 && order == Qt::DescendingOrder)
            std::reverse(ids.begin(), ids.end());
        return ids;
    }

    enum class Walk { Forward, Backward, Scattered };

    // The rowids the model shows, read in the given order from a fresh
    // select(); each row's source must be its record's.
    std::vector<qint64> shown(DictionaryTableModel& model, Walk walk) const
    {
        model.select();
        const int n = model.rowCount();
        const int pages = (n + kPage - 1) / kPage;   // 215, prime to 37
        std::vector<qint64> ids(static_cast<std::size_t>(n), -1);
        for (int k = 0; k < pages * kPage; ++k) {
            // Scattered: the pages in an order far from theirs.
            const int row = walk == Walk::Forward    ? k
                            : walk == Walk::Backward ? n - 1 - k
                                                     : (k / kPage * 37 % pages) * kPage + k % kPage;
            if (row < 0 || row >= n)
                continue;
            const qint64 id = model.recordId(row);
            ids[static_cast<std::size_t>(row)] = id;
            const auto it = sources_.find(id);
            if (it == sources_.end() || model.index(row, 0).data().toString() != it->second) {
                ADD_FAILURE() << "row " << row << " shows a record that is not " << id;
                break;
            }
        }
        return ids;
    }

    QString storedText(qint64 id, const QString& column)
    {
        QSqlQuery q(connection_.database());
        q.exec(QString("SELECT %1 FROM Dictionary WHERE rowid = %2").arg(column).arg(id));
        return q.next() ? (q.isNull(0) ? "<null>" : q.value(0).toString()) : "<none>";
    }

    TableConnection connection_;
    std::vector<Row> rows_;
    std::map<qint64, QString> sources_;
};

TEST_F(DictionaryTableModelTest, EveryOrderShowsEachRecordAtItsPlaceHoweverThePagesAreRead)
{
    for (bool foreign : {false, true}) {
        SCOPED_TRACE(foreign ? "table with NULLs" : "table of the program");
        rows_.clear();
        sources_.clear();
        fill(foreign ? "foreign" : "t", foreign);
        ASSERT_TRUE(ensureSortIndexes(connection_));
        auto model = newModel();
        EXPECT_EQ(model->rowCount(), kRecords);
        EXPECT_EQ(model->columnCount(), 6);
        for (int column : {-1, 0, 1, 2}) {
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                SCOPED_TRACE(::testing::Message() << "column " << column << " order " << order);
                model->sort(column, order);
                const std::vector<qint64> want = expected(column, order);
                for (Walk walk : {Walk::Forward, Walk::Backward, Walk::Scattered})
                    EXPECT_EQ(shown(*model, walk), want) << "walk " << int(walk);
                // A record's row, found by counting, then among the pages read.
                model->select();
                for (std::size_t i = 0; i < want.size(); i += 97)
                    EXPECT_EQ(model->rowOfRecord(want[i]), int(i));
                for (std::size_t i = 0; i < want.size(); i += 97) {
                    model->recordId(int(i));
                    EXPECT_EQ(model->rowOfRecord(want[i]), int(i));
                }
            }
        }
        EXPECT_EQ(model->rowOfRecord(999999), -1);
        connection_.close();
    }
}

TEST_F(DictionaryTableModelTest, EditsFollowTheirRecordThroughSortsAndPostInOneTransaction)
{
    fill("t");
    auto model = newModel();
    model->sort(1, Qt::AscendingOrder);
    const std::vector<qint64> order = expected(1, Qt::AscendingOrder);

    // An edit on a row in the middle of a page, kept while the table is
    // sorted the other way and read again.
    const int row = 3 * kPage + 3;
    const qint64 id = order[row];
    ASSERT_TRUE(model->setData(model->index(row, 1), "ZZZ last"));
    ASSERT_TRUE(model->setData(model->index(row, 3), ""));
    EXPECT_TRUE(model->isRowDirty(row));
    EXPECT_FALSE(model->isRowDirty(row + 1));
    model->sort(1, Qt::DescendingOrder);
    ASSERT_TRUE(model->select());
    const int now = model->rowOfRecord(id);
    ASSERT_EQ(now, kRecords - 1 - row);
    EXPECT_EQ(model->index(now, 1).data().toString(), "ZZZ last");
    EXPECT_NE(storedText(id, "Dest1"), "ZZZ last") << "nothing is written before posting";

    // A second edit that breaks the unique source: nothing is written, both
    // stay pending, and the message names the record.
    ASSERT_TRUE(model->setData(model->index(0, 0), rows_[5].source));
    EXPECT_FALSE(model->submitAll());
    EXPECT_TRUE(model->lastError().contains(rows_[5].source)) << str(model->lastError());
    EXPECT_TRUE(model->lastError().contains("UNIQUE")) << str(model->lastError());
    EXPECT_NE(storedText(id, "Dest1"), "ZZZ last");
    EXPECT_TRUE(model->isDirty());
    model->revertRow(0);
    ASSERT_TRUE(model->submitAll()) << str(model->lastError());
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(storedText(id, "Dest1"), "ZZZ last");
    EXPECT_EQ(storedText(id, "Dest3"), "") << "an emptied cell holds an empty text, not NULL";
    EXPECT_EQ(model->rowOfRecord(id), 0) << "sorted descending, the new value comes first";

    // A record another program changed meanwhile is reported, not overwritten.
    const qint64 other = model->recordId(10);
    ASSERT_TRUE(model->setData(model->index(10, 2), "mine"));
    QSqlQuery(connection_.database()).exec(QString("UPDATE Dictionary SET Source = 'renamed' WHERE rowid = %1").arg(other));
    EXPECT_FALSE(model->submitAll());
    EXPECT_TRUE(model->lastError().contains("another program")) << str(model->lastError());
    EXPECT_NE(storedText(other, "Dest2"), "mine");
    model->revertAll();
    EXPECT_FALSE(model->isDirty());
    EXPECT_NE(model->index(10, 2).data().toString(), "mine");
}

TEST_F(DictionaryTableModelTest, InsertAndDeleteAcrossPageBoundaries)
{
    fill("t");
    auto model = newModel();
    model->sort(0, Qt::DescendingOrder);
    std::vector<qint64> order = expected(0, Qt::DescendingOrder);

    // The inserted row stands where it was inserted, the rows after it one
    // lower, until it is posted into its sorted place.
    const int at = 2 * kPage - 1;
    ASSERT_TRUE(model->insertRow(at));
    EXPECT_FALSE(model->insertRow(0)) << "one new record at a time";
    EXPECT_EQ(model->rowCount(), kRecords + 1);
    EXPECT_EQ(model->insertedRow(), at);
    EXPECT_EQ(model->headerData(at, Qt::Vertical).toString(), "*");
    EXPECT_TRUE(model->isBlank(at));
    EXPECT_EQ(model->recordId(at - 1), order[at - 1]);
    EXPECT_EQ(model->recordId(at + 1), order[at]);
    EXPECT_EQ(model->recordId(kRecords), order[kRecords - 1]);
    EXPECT_EQ(model->rowOfRecord(order[at - 1]), at - 1);
    EXPECT_EQ(model->rowOfRecord(order[at]), at + 1);
    ASSERT_TRUE(model->setData(model->index(at, 0), "ZZZ new"));
    ASSERT_TRUE(model->setData(model->index(at, 1), "new"));
    ASSERT_TRUE(model->submitAll()) << str(model->lastError());
    const qint64 id = model->lastInsertedId();
    EXPECT_EQ(model->rowCount(), kRecords + 1);
    EXPECT_EQ(model->rowOfRecord(id), 0);
    EXPECT_EQ(storedText(id, "Dest1"), "new");
    EXPECT_EQ(storedText(id, "Dest2"), "");

    // Deleting the last row, then the one that became last.
    for (int round = 0; round < 2; ++round) {
        const int last = model->rowCount() - 1;
        const qint64 gone = model->recordId(last);
        ASSERT_EQ(gone, order[order.size() - 1]);
        ASSERT_TRUE(model->removeRow(last));
        EXPECT_EQ(model->headerData(last, Qt::Vertical).toString(), "!");
        ASSERT_TRUE(model->submitAll()) << str(model->lastError());
        order.pop_back();
        EXPECT_EQ(model->rowCount(), last);
        EXPECT_EQ(storedText(gone, "Source"), "<none>");
        EXPECT_EQ(model->recordId(model->rowCount() - 1), order.back());
    }
}

TEST_F(DictionaryTableModelTest, SortIndexesAreAddedToOlderTablesOnce)
{
    makeTable("old", {{"Yes", "Ja"}});
    QString error;
    ASSERT_TRUE(connection_.open("old", &error)) << str(error);
    auto indexes = [&] {
        QStringList names;
        QSqlQuery q(connection_.database());
        q.exec("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Dictionary' ORDER BY name");
        while (q.next())
            names << q.value(0).toString();
        return names;
    };
    ASSERT_EQ(indexes(), QStringList{"SourceIndex"});
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(ensureSortIndexes(connection_, &error)) << str(error);
        EXPECT_EQ(indexes(), QStringList({"Dest1Index", "Dest2Index", "Dest3Index", "Dest4Index", "Dest5Index",
                                          "SourceIndex"}));
    }
    Dictionary working;
    ASSERT_TRUE(working.open("old"));
    EXPECT_EQ(working.lookup("Yes")[0], "Ja");
}

} // namespace
} // namespace lingrove::model::testing
