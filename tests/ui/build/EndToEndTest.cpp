// The version resource of the console example, from the wizard to the
// compiled program, with the stand-ins for the resource compiler and the
// compiler (Free Pascal and windres behind them).
#include "BuildFixture.h"

#include "platform/Process.h"
#include "ui/build/VersionWizard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

using namespace lingrove;
using namespace lingrove::testing;

namespace {

QByteArray utf16(const QString& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

} // namespace

TEST_F(BuildTest, VersionResourceReachesTheCompiledExample)
{
    for (const char* tool : {"fpc", "x86_64-w64-mingw32-windres", "cpp"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";

    const QString from = LINGROVE_SOURCE_ROOT "/examples/console";
    const QString folder = project + "/console example";
    for (const QString& name : QDir(from).entryList(QDir::Files))
        writeBytes(folder + "/" + name, readBytes(from + "/" + name));
    const QString dpr = folder + "/Greeter.dpr";
    const QByteArray original = readBytes(dpr);
    openProjectSource(dpr);
    ASSERT_EQ(captions().value(0), "Greeter.dpr");
    ui->clear();

    ui->dialogs.push_back([](QDialog& d) {
        auto& w = static_cast<ui::VersionWizard&>(d);
        w.fileVersionNumbers[0]->setText("2");
        w.fileVersionNumbers[1]->setText("5");
        w.language->setCurrentIndex(7);   // German
        w.charset->setCurrentIndex(7);    // Windows, Multilingual (ANSI)
        w.companyName->setText(QString::fromUtf8("Grüße & \"Co\" ©"));
        w.productVersion->setText("2.5 beta");
        w.nextButton->click();
        w.nextButton->click();
        w.createButton->click();
        return w.result();
    });
    trigger(ui::Menu::Extras, "Create1");
    ASSERT_TRUE(ui->texts("error").isEmpty()) << ui->texts().join("|").toStdString();
    ASSERT_TRUE(ui->texts("message").isEmpty()) << ui->texts().join("|").toStdString();

    const QByteArray rc = readBytes(folder + "/VERSION.rc");
    EXPECT_TRUE(rc.contains("    BLOCK \"040704E4\"\r\n"));
    EXPECT_TRUE(rc.contains("VALUE \"CompanyName\", \"Gr\xFC\xDF" "e & \"\"Co\"\" \xA9\\0\""));
    ASSERT_TRUE(QFile::exists(folder + "/VERSION.res"));

    // The directive sits above the main block's begin, the rest as it was.
    QByteArray expected = original;
    expected.replace("\r\nbegin\r\n", "\r\n{$R VERSION.res}\r\nbegin\r\n");
    EXPECT_EQ(readBytes(dpr), expected);

    // Compiled by the wizard's re-compile: the strings are in the program.
    const QByteArray exe = readBytes(folder + "/Greeter.exe");
    ASSERT_FALSE(exe.startsWith("<missing>"));
    EXPECT_TRUE(exe.contains(utf16("VS_VERSION_INFO")));
    EXPECT_TRUE(exe.contains(utf16("StringFileInfo")));
    EXPECT_TRUE(exe.contains(utf16("040704E4")));
    EXPECT_TRUE(exe.contains(utf16(QString::fromUtf8("Grüße & \"Co\" ©"))));
    EXPECT_TRUE(exe.contains(utf16("2.5 beta")));

    const auto run = platform::runAndWait(folder + "/Greeter.exe", {"2"}, {}, platform::WindowMode::Hidden);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("Hello, world!"));
    EXPECT_TRUE(run.output.contains("You asked for 2 greeting(s)."));
}
