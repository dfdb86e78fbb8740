// Pre-translation of a generated project: 500 units of 60 lines with 30
// literals each (two in three known to the dictionary), and 100 binary forms
// of 20 captions, from a table of 20,000 records. Every run starts from the
// untranslated files.
#include "core/formfile/FormFile.h"
#include "model/PreTranslation.h"
#include "model/ProjectStatistics.h"
#include "model/Workspace.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace lingrove;
using namespace lingrove::model;

namespace {

constexpr int kUnits = 500;
constexpr int kForms = 100;
constexpr int kLiterals = 30;
constexpr int kRecords = 20000;

QString sourceText(int n)
{
    return QStringLiteral("Meldung Nummer %1 f\u00fcr den Benutzer").arg(n);
}

struct Project {
    QTemporaryDir home;
    QString folder;
    std::vector<std::pair<QString, QByteArray>> files;   // the untranslated files
    model::Project project;
    Workspace workspace;
    std::vector<ProjectPage> pages;

    Project()
    {
        qputenv("LINGROVE_HOME", home.path().toLocal8Bit());
        qputenv("LINGROVE_KEYSTORE", (home.path() + "/registry.txt").toLocal8Bit());
        folder = home.filePath("project");
        QDir().mkpath(folder);
        QByteArray dpr = "program Big;\r\nuses\r\n";
        for (int u = 0; u < kUnits; ++u) {
            dpr += QStringLiteral("  Unit%1 in 'Unit%1.pas',\r\n").arg(u).toLatin1();
            QString unit = QStringLiteral("unit Unit%1;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\n"
                                          "procedure Show;\r\nbegin\r\n")
                               .arg(u);
            for (int i = 0; i < kLiterals; ++i)
                unit += QStringLiteral("  ShowMessage('%1');\r\n  Log(Count);\r\n")
                            .arg(sourceText((u * kLiterals + i) % (kRecords * 3 / 2)));
            unit += QStringLiteral("end;\r\n\r\nend.\r\n");
            files.emplace_back(QStringLiteral("Unit%1.pas").arg(u), unit.toLatin1());
            if (u < kForms) {
                std::string text = QStringLiteral("object Form%1: TForm%1\r\n  Caption = '%2'\r\n")
                                       .arg(u)
                                       .arg(sourceText(u))
                                       .toStdString();
                for (int i = 0; i < 20; ++i)
                    text += QStringLiteral("  object Button%1: TButton\r\n    Width = 75\r\n    Caption = "
                                           "'%2'\r\n  end\r\n")
                                .arg(i)
                                .arg(sourceText(u * 20 + i))
                                .toStdString();
                text += "end\r\n";
                std::string form;
                formfile::TextToResource(text, form);
                files.emplace_back(QStringLiteral("Unit%1.dfm").arg(u), QByteArray::fromStdString(form));
            }
        }
        dpr += "  Last in 'Last.pas';\r\nbegin\r\nend.\r\n";
        files.emplace_back(QStringLiteral("Big.dpr"), dpr);
        files.emplace_back(QStringLiteral("Last.pas"), "unit Last;\r\nend.\r\n");
        restore();

        QString error;
        if (!createTable("Big", 50, &error))
            qFatal("%s", qPrintable(error));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench-fill");
            db.setDatabaseName(tableFilePath("Big"));
            db.open();
            db.transaction();
            QSqlQuery insert(db);
            insert.prepare("INSERT INTO Dictionary (Source, Dest1) VALUES (?, ?)");
            for (int i = 0; i < kRecords; ++i) {
                insert.addBindValue(sourceText(i));
                insert.addBindValue(QStringLiteral("Message number %1 for the user").arg(i));
                insert.exec();
            }
            insert.finish();
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase("bench-fill");
        project.name = QStringLiteral("Big");
        project.delphiProjectFile = folder + QStringLiteral("/Big.dpr");
        project.dictionaryTable = QStringLiteral("Big");
        workspace.setProject(project);
        if (!workspace.dictionary().open(QStringLiteral("Big"), &error))
            qFatal("%s", qPrintable(error));
        if (!listProjectPages(project, &pages, &error))
            qFatal("%s", qPrintable(error));
    }

    void restore()
    {
        for (const auto& [name, bytes] : files) {
            QFile f(folder + u'/' + name);
            f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            f.write(bytes);
        }
    }
};

Project& project()
{
    static Project p;
    return p;
}

void BM_PreTranslateProject(benchmark::State& state)
{
    Project& p = project();
    const bool dryRun = state.range(0) != 0;
    int entries = 0;
    for (auto _ : state) {
        state.PauseTiming();
        p.restore();
        state.ResumeTiming();
        PreTranslator translator(p.workspace);
        const PreTranslationReport report = translator.translateProject(p.pages, dryRun);
        entries = report.writtenEntries();
        if (report.problems() > 0)
            state.SkipWithError("a file could not be pre-translated");
    }
    state.counters["entries"] = entries;
    state.counters["files"] = double(p.pages.size());
}
BENCHMARK(BM_PreTranslateProject)->ArgName("dry_run")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ProjectStatistics(benchmark::State& state)
{
    Project& p = project();
    p.restore();
    for (auto _ : state) {
        DictionaryIndex index;
        index.read(p.workspace.dictionary());
        benchmark::DoNotOptimize(projectStatistics(p.pages, p.workspace.settings(), index));
    }
}
BENCHMARK(BM_ProjectStatistics)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
