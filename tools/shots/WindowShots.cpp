// window_shots OUTDIR: pictures of the main window for the documentation,
// taken of the whole screen (run it under Xvfb): a text form page with
// Unicode text being translated, and the question that closing the window
// asks about a page with unsaved changes. Works on a copy of examples/notes
// in a temporary folder.
#include "tools/shots/ShotSupport.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "model/Dictionary.h"
#include "model/ProjectFile.h"
#include "model/Workspace.h"
#include "ui/build/BuildFeature.h"
#include "ui/pages/PagesFeature.h"
#include "ui/project/ProjectFeature.h"
#include "ui/translation/DictionaryWindow.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/TranslationFeature.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

using namespace lingrove;
using namespace lingrove::shots;




} // namespace

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    const QString project = dir.path() + "/Notes";
    useHome(dir.path(), true);
    if (!copyTree(LINGROVE_SOURCE_ROOT "/examples/notes", project)) {
        std::fprintf(stderr, "cannot copy the example project\n");
        return 1;
    }
    makeTable("German_English", {{QString::fromUtf8("Grüße aus Köln"), "Greetings from Cologne"}});
    const QString projectFile = model::writeNewProjectFile(
        {"Notes", dir.path(), project + "/Notes.dpr", "German", "English", "German_English"});

    app::Application app;
    app.window().resize(1100, 760);
    app.window().move(90, 70);
    app.window().show();
    settle();
    app.project().openProjectFile(projectFile);

    // The frame's page: UTF-8 text form; the first entry located, its
    // translation proposed from the dictionary.
    ui::PagesFeature& pages = app.pages();
    pages.openPage("frames\\greeting.dfm");
    ui::TranslationFeature& loop = app.translation();
    loop.collect(0);
    loop.locate();
    bool ok = shoot(out + "/text-form-page.png");

    // Translated, not yet saved: the tab is marked, and closing asks.
    loop.commit();
    loop.locate();
    loop.bar()->translationField()->setText(QString::fromUtf8("Привет, мир"));
    loop.commit();
    QTimer::singleShot(300, [&] {
        ok = shoot(out + "/save-question.png") && ok;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Cancel)->click();
    });
    app.window().close();

    // The dictionary window beside the main window.
    loop.editDictionaryAction()->trigger();
    if (QWidget* dictionary = loop.dictionaryWindow()) {
        dictionary->move(300, 200);
        ok = shoot(out + "/dictionary-window.png") && ok;
        dictionary->close();
    }

    // Compile with the stand-in compiler beside this program: the units of
    // a Windows program are not there, and the compiler says so.
    const QString standIns = QCoreApplication::applicationDirPath() + "/delphi/";
    if (QFileInfo::exists(standIns + "dcc32.exe")) {
        model::Settings s = app.workspace().settings();
        s.compiler.folder = standIns;
        app.workspace().setSettings(s);
        QTimer::singleShot(1500, [&] {
            ok = shoot(out + "/compile-failed.png") && ok;
            if (QWidget* shown = QApplication::activeModalWidget())
                shown->close();
        });
        app.build().compile();
    }
    return ok ? 0 : 1;
}
