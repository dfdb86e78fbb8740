// "View as form" in the main window: the active page is saved, then its form
// file is shown as a live window; other pages report the read error.
#include "tests/common/AppFixture.h"

#include "core/formfile/FormFile.h"
#include "core/formfile/FormTree.h"
#include "ui/formview/FormViewFeature.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>

using namespace lingrove;
using lingrove::testing::AppTest;
using lingrove::testing::readBytes;
using lingrove::testing::writeBytes;

namespace {

class ViewAsFormTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        writeBytes(project + "/Hello.dpr",
                            "program Hello;\r\nuses\r\n  Main in 'Main.pas' {Form1};\r\nbegin\r\nend.\r\n");
        writeBytes(project + "/Main.pas", "unit Main;\r\ninterface\r\nconst S = 'Hello';\r\nend.\r\n");
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
        writeBytes(project + "/MAIN.DFM", QByteArray::fromStdString(form));
        openProjectSource(project + "/Hello.dpr");
    }

    // Opens a page of the project and replaces from by to in its text.
    void openAndEdit(const QString& name, const QString& from, const QString& to)
    {
        pages().openPage(name);
        ASSERT_EQ(pages().activeCaption(), name);
        QPlainTextEdit* editor = pages().activeFileEditor();
        ASSERT_NE(editor, nullptr);
        QString text = editor->toPlainText();
        ASSERT_TRUE(text.contains(from));
        text.replace(from, to);
        editor->setPlainText(text);
    }

    void viewAsForm() { app->formView().viewAsForm(); }
};

} // namespace

TEST_F(ViewAsFormTest, ShowsTheSavedFormWithItsTranslation)
{
    openAndEdit("main.dfm", "'Hello'", "'Hallo Welt'");

    QString seenLabel;
    ui->dialogs.push_back([&](QDialog& dialog) {
        if (auto* label = dialog.findChild<QLabel*>("Label1"))
            seenLabel = label->text();
        return int(QDialog::Rejected);
    });
    viewAsForm();

    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();
    EXPECT_EQ(ui->texts("dialog"), QStringList{"Greeting"});
    EXPECT_EQ(seenLabel, "Hallo Welt");
    // The form file was rewritten from the page before it was shown.
    const formfile::FormComponent form = formfile::readFormFile(readBytes(project + "/MAIN.DFM").toStdString());
    ASSERT_EQ(form.children.size(), 2u);
    EXPECT_EQ(form.children[0].text("Caption"), "Hallo Welt");
}

TEST_F(ViewAsFormTest, UnitAndProjectPagesAreSavedThenReportedAsNoForm)
{
    openAndEdit("main.pas", "'Hello'", "'Servus'");
    viewAsForm();
    EXPECT_TRUE(readBytes(project + "/Main.pas").contains("'Servus'"));
    pages().showProjectPage();
    ASSERT_EQ(pages().activeCaption().toLower(), "hello.dpr");
    viewAsForm();

    EXPECT_TRUE(ui->texts("dialog").isEmpty());
    const QStringList errors = ui->texts("error");
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].contains("main.pas")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("not a valid form file")) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].contains("byte offset 0")) << errors[1].toStdString();
}
