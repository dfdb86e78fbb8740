// trial_run FOLDER...: tries the translation loop on real projects, as a user
// would, each on a copy in a temporary folder (the originals are only read).
// For every project source under the folders: open it as a new project, open
// all of its files as pages, and on every page translate the first entry and
// save. Then checks that each saved file differs from the original in that one
// line of its page text and nowhere else. Prints one line per page that did
// not go so, and the counts at the end; what the program told the user is
// printed with the project.
#include "tools/shots/ShotSupport.h"

#include "app/Application.h"
#include "core/formfile/FormDocument.h"
#include "model/Dictionary.h"
#include "model/ProjectFile.h"
#include "model/SourceFile.h"
#include "model/StringListModel.h"
#include "model/TextCodec.h"
#include "model/TranslationSession.h"
#include "model/Workspace.h"
#include "ui/pages/PagesFeature.h"
#include "ui/project/ProjectFeature.h"
#include "ui/shell/UserInterface.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/TranslationFeature.h"

#include <QApplication>
#include <QDirIterator>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace lingrove;
using namespace lingrove::shots;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}


// The page text of a file: the form's for a form, else the file as text.
QStringList pageLines(const QString& path)
{
    QByteArray bytes = readAll(path);
    if (path.endsWith(".dfm", Qt::CaseInsensitive)) {
        try {
            bytes = QByteArray::fromStdString(formfile::FormDocument::load(bytes.toStdString()).pageText());
        } catch (const std::exception& e) {
            return {QString("<not a form: %1>").arg(e.what())};
        }
    }
    return model::decode(bytes).text.split('\n');
}

struct Counts {
    int projects = 0, pages = 0, translated = 0, problems = 0, told = 0;
};

void tryProject(const QString& dpr, const QString& root, Counts& counts)
{
    QTemporaryDir dir;
    useHome(dir.path(), false);
    const QString folder = QFileInfo(dpr).path();
    const QString copy = dir.path() + "/p";
    copyTree(folder, copy);
    const QString source = copy + "/" + QFileInfo(dpr).fileName();
    QString error;
    model::createTable("T", model::kDefaultFieldSize, &error);
    const QString projectFile = model::writeNewProjectFile({"Trial", dir.path(), source, "A", "B", "T"});

    ui::ScriptedUi ui;
    app::Application app;
    app.project().openProjectFile(projectFile);
    ui::PagesFeature& pages = app.pages();
    pages.openAllProjectFiles();
    ++counts.projects;
    const QString name = QDir(root).relativeFilePath(dpr);
    for (const QString& caption : pages.captions().mid(1)) {
        ++counts.pages;
        pages.activatePage(caption);
        const QString path = pages.activeFilePath();
        if (path.isEmpty() || !pages.activeFileEditor())
            continue;
        const QStringList before = pageLines(path);
        ui::TranslationFeature& loop = app.translation();
        loop.collect(0);
        if (loop.session().list().entryCount() == 0)
            continue;
        loop.locate();
        const QString from = loop.bar()->sourceField()->text();
        const QString to = QString::fromUtf8("Übersetzt");
        loop.bar()->translationField()->setText(to);
        loop.commit();
        if (!pages.saveActivePage()) {
            std::printf("%s: %s: not saved\n", qPrintable(name), qPrintable(caption));
            ++counts.problems;
            continue;
        }
        const QStringList after = pageLines(path);
        int differing = 0;
        bool right = before.size() == after.size();
        for (qsizetype i = 0; right && i < before.size(); ++i) {
            if (before[i] == after[i])
                continue;
            ++differing;
            QString expected = before[i];
            expected.replace(from, to);
            right = after[i] == expected || after[i].contains(to);
        }
        if (right && differing == 1) {
            ++counts.translated;
        } else {
            ++counts.problems;
            std::printf("%s: %s: %d lines differ after translating '%s'\n", qPrintable(name), qPrintable(caption),
                        differing, qPrintable(from));
        }
    }
    const QStringList told = ui->texts("message") + ui->texts("error");
    if (!told.isEmpty()) {
        ++counts.told;
        std::printf("%s: told: %s\n", qPrintable(name), qPrintable(told.join(" | ").replace('\n', ' ')));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    Counts counts;
    for (int i = 1; i < argc; ++i) {
        const QString root = QString::fromLocal8Bit(argv[i]);
        QDirIterator it(root, {"*.dpr", "*.DPR", "*.Dpr"}, QDir::Files, QDirIterator::Subdirectories);
        QStringList sources;
        while (it.hasNext())
            sources << it.next();
        sources.sort();
        for (const QString& dpr : sources)
            tryProject(dpr, root, counts);
    }
    std::printf("%d projects, %d pages, %d translated and saved as expected, %d problems, %d projects told "
                "the user something\n",
                counts.projects, counts.pages, counts.translated, counts.problems, counts.told);
    return counts.problems == 0 ? 0 : 1;
}
