// "View as form" in the main window: the active page is saved, then its form
// file is shown as a live window; other pages report the read error.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "formfile/FormFile.h"
#include "formfile/FormTree.h"
#include "platform/UserInterface.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace lingrove;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

class ViewAsFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        app::state() = app::AppState{};
        writeFile(dir.filePath("Hello.dpr"), "program Hello;\r\nuses\r\n  Main in 'Main.pas' {Form1};\r\nbegin\r\nend.\r\n");
        writeFile(dir.filePath("Main.pas"), "unit Main;\r\ninterface\r\nconst S = 'Hello';\r\nend.\r\n");
        std::string form;
        formfile::TextToResource("object Form1: TForm1\r\n"
                                 "  ClientWidth = 200\r\n  ClientHeight = 100\r\n"
                                 "  Caption = 'Greeting'\r\n"
                                 "  object Label1: TLabel\r\n    Caption = 'Hello'\r\n  end\r\n"
                                 "  object Button1: TButton\r\n    Caption = 'Close'\r\n"
                                 "    OnClick = Button1Click\r\n  end\r\n"
                                 "end\r\n",
                                 form);
        // On disk in another letter case than the page's caption.
        writeFile(dir.filePath("MAIN.DFM"), QByteArray::fromStdString(form));
        auto& project = app::state().project;
        project.ProjectName = "hello";
        project.ProjectFolder = dir.path();
        project.DelphiProjectFile = dir.filePath("Hello.dpr");
    }
    void TearDown() override { app::state() = app::AppState{}; }

    // Opens a page of the project and replaces from by to in its text.
    void openAndEdit(app::MainWindow& w, const QString& name, const QString& from, const QString& to)
    {
        w.OpenSourcePage(name);
        ASSERT_EQ(w.PageControl1->tabText(w.PageControl1->currentIndex()), name);
        QTextEdit* editor = w.activeFileEditor();
        ASSERT_NE(editor, nullptr);
        QString text = editor->toPlainText();
        ASSERT_TRUE(text.contains(from));
        text.replace(from, to);
        editor->setPlainText(text);
    }

    QTemporaryDir dir;
    platform::ScriptedUi ui;
};

} // namespace

TEST_F(ViewAsFormTest, ShowsTheSavedFormWithItsTranslation)
{
    app::MainWindow w;
    openAndEdit(w, "main.dfm", "'Hello'", "'Hallo Welt'");

    QString seenLabel, seenTitle;
    ui->dialogs.push_back([&](QDialog& dialog) {
        seenTitle = dialog.windowTitle();
        if (auto* label = dialog.findChild<QLabel*>("Label1"))
            seenLabel = label->text();
        return int(QDialog::Rejected);
    });
    w.Viewasform1Click();

    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();
    EXPECT_EQ(ui->texts("dialog"), QStringList{"Greeting"});
    EXPECT_EQ(seenLabel, "Hallo Welt");
    EXPECT_EQ(seenTitle, "Greeting");
    // The form file was rewritten from the page before it was shown.
    const QByteArray saved = readAll(dir.filePath("MAIN.DFM"));
    const formfile::FormComponent form = formfile::readFormFile(saved.toStdString());
    ASSERT_EQ(form.children.size(), 2u);
    EXPECT_EQ(form.children[0].text("Caption"), "Hallo Welt");
}

TEST_F(ViewAsFormTest, AUnitPageIsSavedThenReportedAsNoForm)
{
    app::MainWindow w;
    openAndEdit(w, "main.pas", "'Hello'", "'Servus'");
    w.Viewasform1Click();

    EXPECT_TRUE(ui->texts("dialog").isEmpty());
    const QStringList errors = ui->texts("error");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("main.pas")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("not a valid form file")) << errors[0].toStdString();
    EXPECT_TRUE(readAll(dir.filePath("Main.pas")).contains("'Servus'"));
}

TEST_F(ViewAsFormTest, TheProjectPageIsNoFormEither)
{
    app::MainWindow w;
    w.AlteDatei(app::state().project.DelphiProjectFile);
    w.PageControl1->setCurrentWidget(w.MainTabSheet);
    ASSERT_EQ(w.PageControl1->tabText(w.PageControl1->currentIndex()).toLower(), "hello.dpr");
    w.Viewasform1Click();

    EXPECT_TRUE(ui->texts("dialog").isEmpty());
    ASSERT_EQ(ui->texts("error").size(), 1);
    EXPECT_TRUE(ui->texts("error")[0].contains("byte offset 0")) << ui->texts("error")[0].toStdString();
}
