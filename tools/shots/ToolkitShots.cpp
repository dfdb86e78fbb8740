// toolkit_shots OUTDIR: pictures of the translator's tools, taken of the
// whole screen (run it under Xvfb) on a small project of their own written
// into a temporary folder: the Checks window after a commit on a form gave
// an accelerator clash (checks-list.png, for docs/), and for looking at
// them the similar matches on the proposal buttons, the statistics, a
// pre-translation preview and an import report.
#include "tools/shots/ShotSupport.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "model/Dictionary.h"
#include "model/ProjectFile.h"
#include "model/Workspace.h"
#include "ui/pages/PagesFeature.h"
#include "ui/project/ProjectFeature.h"
#include "ui/project/StatisticsWindow.h"
#include "ui/shell/UserInterface.h"
#include "ui/translation/ChecksWindow.h"
#include "ui/translation/DictionaryExchangeCommands.h"
#include "ui/translation/DictionaryWindow.h"
#include "ui/translation/PreTranslationWindow.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/TranslationFeature.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

using namespace lingrove;
using namespace lingrove::shots;



bool write(const QString& path, const char* text)
{
    QFile f(path);
    QByteArray bytes(text);
    bytes.replace("\n", "\r\n");
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A shop's order window: a unit with its form, in English.
bool writeProject(const QString& folder)
{
    QDir().mkpath(folder);
    return write(folder + "/Orders.dpr", "program Orders;\n"
                                         "uses\n"
                                         "  Forms,\n"
                                         "  OrderForm in 'OrderForm.pas' {OrderWindow};\n"
                                         "begin\n"
                                         "  Application.Initialize;\n"
                                         "  Application.CreateForm(TOrderWindow, OrderWindow);\n"
                                         "  Application.Run;\n"
                                         "end.\n")
        && write(folder + "/OrderForm.pas", "unit OrderForm;\n"
                                            "\n"
                                            "interface\n"
                                            "\n"
                                            "uses Forms, StdCtrls, SysUtils;\n"
                                            "\n"
                                            "type\n"
                                            "  TOrderWindow = class(TForm)\n"
                                            "    SaveButton: TButton;\n"
                                            "    PrintButton: TButton;\n"
                                            "    CloseButton: TButton;\n"
                                            "  end;\n"
                                            "\n"
                                            "implementation\n"
                                            "\n"
                                            "{$R *.DFM}\n"
                                            "\n"
                                            "const\n"
                                            "  SavedOrders = '%d orders saved to %s';\n"
                                            "  PrintFailed = 'The order could not be printed.';\n"
                                            "\n"
                                            "end.\n")
        && write(folder + "/OrderForm.dfm", "object OrderWindow: TOrderWindow\n"
                                            "  Left = 200\n"
                                            "  Top = 120\n"
                                            "  Width = 360\n"
                                            "  Height = 160\n"
                                            "  Caption = 'Orders'\n"
                                            "  Font.Charset = DEFAULT_CHARSET\n"
                                            "  Font.Color = clWindowText\n"
                                            "  Font.Height = -11\n"
                                            "  Font.Name = 'MS Sans Serif'\n"
                                            "  Font.Style = []\n"
                                            "  PixelsPerInch = 96\n"
                                            "  TextHeight = 13\n"
                                            "  object SaveButton: TButton\n"
                                            "    Left = 16\n"
                                            "    Top = 88\n"
                                            "    Width = 75\n"
                                            "    Height = 25\n"
                                            "    Caption = '&Save'\n"
                                            "    TabOrder = 0\n"
                                            "  end\n"
                                            "  object PrintButton: TButton\n"
                                            "    Left = 104\n"
                                            "    Top = 88\n"
                                            "    Width = 75\n"
                                            "    Height = 25\n"
                                            "    Caption = '&Print'\n"
                                            "    TabOrder = 1\n"
                                            "  end\n"
                                            "  object CloseButton: TButton\n"
                                            "    Left = 192\n"
                                            "    Top = 88\n"
                                            "    Width = 75\n"
                                            "    Height = 25\n"
                                            "    Caption = '&Close'\n"
                                            "    TabOrder = 2\n"
                                            "  end\n"
                                            "end\n");
}

// Locates the entry of the active page that reads text; false when there is none.
bool locateText(ui::TranslationFeature& loop, const QString& text)
{
    loop.collect();
    const model::StringListModel& list = loop.session().list();
    for (int row = 0; row < list.entryCount(); ++row) {
        if (list.entry(row)->text == text) {
            loop.collect(row);
            loop.locateSelectedEntry();
            return true;
        }
    }
    std::fprintf(stderr, "no entry %s\n", qPrintable(text));
    return false;
}

bool translate(ui::TranslationFeature& loop, const QString& text, const QString& translation)
{
    if (!locateText(loop, text))
        return false;
    loop.bar()->translationField()->setText(translation);
    loop.commit();
    return true;
}

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
    const QString project = dir.path() + "/Orders";
    useHome(dir.path(), true);
    if (!writeProject(project)) {
        std::fprintf(stderr, "cannot write the example project\n");
        return 1;
    }
    makeTable("English_German", {{"Orders", "Bestellungen"},
                                 {"The file could not be printed.", "Die Datei konnte nicht gedruckt werden."},
                                 {"The order could not be saved.", "Die Bestellung konnte nicht gespeichert werden."},
                                 {"Print", "Drucken"}});
    const QString projectFile = model::writeNewProjectFile(
        {"Orders", dir.path(), project + "/Orders.dpr", "English", "German", "English_German"});

    app::Application app;
    app.window().resize(1080, 540);
    app.window().move(10, 10);
    app.window().show();
    settle();
    app.project().openProjectFile(projectFile);
    ui::PagesFeature& pages = app.pages();
    ui::TranslationFeature& loop = app.translation();

    // The unit: a format argument lost in the translation; then an entry
    // with only similar matches, located.
    pages.openPage("orderform.pas");
    bool ok = translate(loop, "%d orders saved to %s", QString::fromUtf8("%d Bestellungen gespeichert"));
    ok = locateText(loop, "The order could not be printed.") && ok;
    ok = shoot(out + "/similar-matches.png") && ok;

    // The form: "&Schließen" takes Alt+S, which "&Speichern" has already.
    pages.openPage("orderform.dfm");
    ok = translate(loop, "&Save", "&Speichern") && ok;
    ok = translate(loop, "&Print", "&Drucken") && ok;
    ok = translate(loop, "&Close", QString::fromUtf8("&Schließen")) && ok;
    ui::ChecksWindow& checks = *loop.checksWindow();
    checks.move(170, 565);
    checks.resize(910, 185);
    checks.showAndRaise();
    checks.activate(int(checks.items().size()) - 1);
    ok = shoot(out + "/checks-list.png") && ok;
    checks.hide();

    ui::StatisticsWindow& statistics = app.project().statisticsWindow();
    statistics.move(200, 200);
    statistics.showAndRefresh();
    ok = shoot(out + "/statistics.png") && ok;
    statistics.hide();

    ui::PreTranslationWindow& preview = *loop.preTranslationWindow();
    preview.move(150, 150);
    loop.preTranslate(true);
    ok = shoot(out + "/pretranslation-preview.png") && ok;
    preview.hide();

    // The dictionary window and its Table menu.
    ui::DictionaryWindow& dictionaryWindow = *loop.dictionaryWindow();
    dictionaryWindow.move(120, 120);
    dictionaryWindow.showAndRaise();
    ok = shoot(out + "/dictionary-window.png") && ok;

    // Exported as PO and imported into a table that translates "Print"
    // otherwise: the report names the conflict.
    {
        ui::ScriptedUi scripted;
        const QString file = dir.path() + "/orders.po";
        scripted->files = {file};
        scripted->dialogs = {[](QDialog&) { return int(QDialog::Accepted); }};
        loop.dictionaryExchange()->exportTable();
        makeTable("Shop", {{"Print", "Ausdrucken"}});
        dictionaryWindow.fillTableList();
        dictionaryWindow.openTable("Shop");
        scripted->files = {file};
        scripted->dialogs = {[&](QDialog& report) {
            report.move(200, 250);
            ok = shoot(out + "/import-report.png") && ok;
            return int(QDialog::Accepted);
        }};
        loop.dictionaryExchange()->importFile();
    }
    return ok ? 0 : 1;
}
