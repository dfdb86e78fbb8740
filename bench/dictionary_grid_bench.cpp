// The dictionary window on a table of 1,000,000 records, as the user meets
// it: each step is timed up to the grid painted with its result. The table
// is generated once (one transaction, one prepared insert) in a program
// folder of its own.
#include "model/Dictionary.h"
#include "model/Workspace.h"
#include "ui/shell/UserInterface.h"
#include "ui/translation/DictionaryWindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace lingrove;
using Button = ui::DictionaryWindow::Button;

constexpr int kRecords = 1000000;

struct Fixture {
    QTemporaryDir home;
    std::unique_ptr<ui::ScriptedUi> ui;
    std::unique_ptr<model::Workspace> workspace;
    std::unique_ptr<ui::DictionaryWindow> window;
    double fillSeconds = 0;

    Fixture()
    {
        qputenv("LINGROVE_HOME", home.path().toLocal8Bit());
        qputenv("LINGROVE_KEYSTORE", (home.path() + "/registry.txt").toLocal8Bit());
        ui = std::make_unique<ui::ScriptedUi>();
        QString error;
        if (!model::createTable("bench", model::kDefaultFieldSize, &error))
            qFatal("%s", qPrintable(error));
        QElapsedTimer clock;
        clock.start();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench-fill");
            db.setDatabaseName(model::tableFilePath("bench"));
            db.open();
            db.transaction();
            QSqlQuery insert(db);
            insert.prepare("INSERT INTO Dictionary (Source, Dest1, Dest2) VALUES (?, ?, ?)");
            for (int i = 0; i < kRecords; ++i) {
                // Translations in another order than the sources, most
                // records with one translation only.
                insert.addBindValue(QStringLiteral("Source text number %1").arg(i));
                insert.addBindValue(QStringLiteral("Text %1").arg((i * 7919LL) % kRecords));
                insert.addBindValue(i % 10 == 0 ? QStringLiteral("Other %1").arg(i) : QStringLiteral(""));
                insert.exec();
            }
            insert.finish();
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase("bench-fill");
        fillSeconds = double(clock.elapsed()) / 1000.0;

        workspace = std::make_unique<model::Workspace>();
        workspace->project().dictionaryTable = "bench";
        window = std::make_unique<ui::DictionaryWindow>(*workspace);
        window->resize(800, 600);
        window->show();   // opens the table
        QCoreApplication::processEvents();
        if (model()->rowCount() == 0)
            qFatal("the table did not open");
    }

    QAbstractItemModel* model() const { return window->grid()->model(); }
    void trigger(Button button) const { window->action(button)->trigger(); }
    // The grid painted as it stands now.
    void paint() const
    {
        window->grid()->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    // The table read afresh, the first record current.
    void reread() const
    {
        trigger(Button::Refresh);
        trigger(Button::First);
        paint();
    }
    // Loads rows up to row where the model reads them in order.
    void reach(int row) const
    {
        QAbstractItemModel* m = model();
        while (m->rowCount() <= row && m->canFetchMore({}))
            m->fetchMore({});
    }
};

// Made at first use, gone before the application object.
std::unique_ptr<Fixture> theFixture;

Fixture& fixture()
{
    if (!theFixture)
        theFixture = std::make_unique<Fixture>();
    return *theFixture;
}

void BM_OpenTable(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        f.window->openTable("bench");
        f.paint();
    }
    state.counters["fill_s"] = f.fillSeconds;
}
BENCHMARK(BM_OpenTable)->Unit(benchmark::kMillisecond);

void BM_Last(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.reread();
        state.ResumeTiming();
        f.trigger(Button::Last);
        f.paint();
    }
    state.counters["row"] = f.window->grid()->currentIndex().row() + 1;
}
BENCHMARK(BM_Last)->Unit(benchmark::kMillisecond);

void BM_SortByTranslation(benchmark::State& state)
{
    Fixture& f = fixture();
    bool ascending = false;
    for (auto _ : state) {
        ascending = !ascending;
        f.window->grid()->sortByColumn(1, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        f.paint();
    }
    f.window->grid()->sortByColumn(1, Qt::AscendingOrder);
}
BENCHMARK(BM_SortByTranslation)->Unit(benchmark::kMillisecond);

// Sorted by the translation; the middle of the table made current, as a
// drag of the scroll bar's thumb to the middle does.
void BM_JumpToMiddle(benchmark::State& state)
{
    Fixture& f = fixture();
    const int middle = kRecords / 2;
    for (auto _ : state) {
        state.PauseTiming();
        f.reread();
        state.ResumeTiming();
        f.reach(middle);
        f.window->grid()->setCurrentIndex(f.model()->index(middle, 1));
        f.paint();
    }
    state.counters["row"] = f.window->grid()->currentIndex().row() + 1;
}
BENCHMARK(BM_JumpToMiddle)->Unit(benchmark::kMillisecond);

// An edit of the record in the middle posted; the record stays current.
void BM_PostEditInMiddle(benchmark::State& state)
{
    Fixture& f = fixture();
    const int middle = kRecords / 2;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.reread();
        f.reach(middle);
        const QModelIndex cell = f.model()->index(middle, 2);
        f.window->grid()->setCurrentIndex(cell);
        f.paint();
        state.ResumeTiming();
        f.model()->setData(cell, QStringLiteral("Edited %1").arg(++round));
        f.trigger(Button::Post);
        f.paint();
    }
    state.counters["row"] = f.window->grid()->currentIndex().row() + 1;
}
BENCHMARK(BM_PostEditInMiddle)->Unit(benchmark::kMillisecond);

// Opening a table of 1,000,000 records that has no sort indexes yet: the
// window adds them, once.
void BM_OpenOlderTable(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.window->closeTable();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench-drop");
            db.setDatabaseName(model::tableFilePath("bench"));
            db.open();
            for (int i = 1; i <= model::kProposalCount; ++i)
                QSqlQuery(db).exec(QStringLiteral("DROP INDEX IF EXISTS Dest%1Index").arg(i));
            db.close();
        }
        QSqlDatabase::removeDatabase("bench-drop");
        state.ResumeTiming();
        f.window->openTable("bench");
        f.paint();
    }
}
BENCHMARK(BM_OpenOlderTable)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theFixture.reset();
    return 0;
}
