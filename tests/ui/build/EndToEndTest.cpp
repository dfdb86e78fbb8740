// The version resource of the console example, from the wizard to the
// compiled program, with the real stand-ins (Free Pascal and windres).
#include "GuiSupport.h"

#include "platform/Process.h"
#include "toolchain/Codepage.h"
#include "toolchain/VersWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

using namespace toolchain_test;
using lingrove::app::state;

namespace {

QByteArray utf16(const QString& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

bool copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + "/" + name, to + "/" + name))
            return false;
    return true;
}

} // namespace

TEST_F(BuildFixture, VersionResourceReachesTheCompiledExample)
{
    for (const char* tool : {"fpc", "x86_64-w64-mingw32-windres", "cpp"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";

    const QString folder = path("console example");
    ASSERT_TRUE(copyFolder(LINGROVE_SOURCE_ROOT "/examples/console", folder));
    const QString dpr = folder + "/Greeter.dpr";
    const QByteArray original = readAll(dpr);
    ASSERT_FALSE(original.isEmpty());
    state().project.ProjectName = "Greeter";
    state().project.DelphiProjectFile = dpr;
    QString text = lingrove::toolchain::decodeCp1252(original);
    text.replace("\r\n", "\n");
    editor->setPlainText(text);

    ui->dialogs.push_back([](QDialog& d) {
        auto& w = static_cast<lingrove::toolchain::TVers&>(d);
        w.FILEVERSION[0]->setText("2");
        w.FILEVERSION[1]->setText("5");
        w.ChooseLang->setCurrentIndex(7);      // German
        w.ChooseCharset->setCurrentIndex(7);   // Windows, Multilingual (ANSI)
        w.CompanyName->setText(QString::fromUtf8("Grüße & Co ©"));
        w.ProductVersion->setText("2.5 beta");
        w.NextButton->click();
        w.NextButton->click();
        w.CreateButton->click();
        return w.result();
    });
    commands->CreateVersioninfo();
    ASSERT_TRUE(ui->texts("error").isEmpty()) << ui->texts().join("|").toStdString();

    const QByteArray rc = readAll(folder + "/VERSION.rc");
    EXPECT_TRUE(rc.contains("    BLOCK \"040704E4\"\r\n"));
    EXPECT_TRUE(rc.contains("VALUE \"CompanyName\", \"Gr\xFC\xDF" "e & Co \xA9\\0\""));
    ASSERT_TRUE(QFile::exists(folder + "/VERSION.res"));

    // The directive sits above the main block's begin.
    const QByteArray source = readAll(dpr);
    QByteArray expected = original;
    expected.replace("\r\nbegin\r\n", "\r\n{$R VERSION.res}\r\nbegin\r\n");
    EXPECT_EQ(source, expected);

    // Compiled by the wizard's re-compile: the strings are in the program.
    const QByteArray exe = readAll(folder + "/Greeter.exe");
    ASSERT_FALSE(exe.isEmpty());
    EXPECT_TRUE(exe.contains(utf16("VS_VERSION_INFO")));
    EXPECT_TRUE(exe.contains(utf16("StringFileInfo")));
    EXPECT_TRUE(exe.contains(utf16("040704E4")));
    EXPECT_TRUE(exe.contains(utf16(QString::fromUtf8("Grüße & Co ©"))));
    EXPECT_TRUE(exe.contains(utf16("2.5 beta")));

    const auto run = lingrove::platform::runAndWait(folder + "/Greeter.exe", {"2"}, {},
                                                    lingrove::platform::WindowMode::Hidden);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("Hello, world!"));
    EXPECT_TRUE(run.output.contains("You asked for 2 greeting(s)."));
}
