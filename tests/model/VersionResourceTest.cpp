// The version resource: its script, and the {$R ...} directive above the
// project source's BEGIN line, put in, replaced and taken out again.
#include "model/RtfReader.h"
#include "model/SourceFile.h"
#include "model/VersionResource.h"
#include "model/Workspace.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace lingrove;
using namespace lingrove::model;
using Outcome = VersionResource::Outcome;

namespace {

// An 8-bit character and a no-break space that must come back as the same
// bytes, and a main block whose "begin" is lower case and spaced.
const QByteArray kSource = "program Demo;\r\n"
                           "{ caf\xE9\xA0}\r\n"
                           "uses SysUtils;\r\n"
                           "\r\n"
                           "  b egin \r\n"
                           "  WriteLn('x');\r\n"
                           "end.\r\n";

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class VersionResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        dpr = tmp.filePath("Demo.dpr");
        Project p;
        p.name = "Demo";
        p.delphiProjectFile = dpr;
        workspace.setProject(p);
        load(kSource);
    }
    // Writes the project source and opens it as the project page does.
    void load(const QByteArray& bytes)
    {
        QFile f(dpr);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        file = SourceFile(dpr);
        FileProblem problem;
        ASSERT_TRUE(file.load(doc, pascal::ColourScheme::classic(), &problem)) << problem.message.toStdString();
    }
    QString line(int n) const { return doc.findBlockByNumber(n).text(); }
    int resourceLine() const { return workspace.project().resourceLine; }

    QTemporaryDir tmp;
    QString dpr;
    Workspace workspace;
    VersionResource resource{workspace};
    SourceFile file;
    QTextDocument doc;
};

} // namespace

// Put in and taken out again through the window: tests/ui/build/ResourceTest.cpp.
TEST_F(VersionResourceTest, ReplacedDirectiveStandsAloneAndTheFileKeepsItsBytes)
{
    ASSERT_EQ(resource.addDirective(doc, file, "VERSION.res", false).outcome, Outcome::Added);
    const auto change = resource.addDirective(doc, file, "OTHER.res", true);
    ASSERT_EQ(change.outcome, Outcome::Added) << change.error.toStdString();
    EXPECT_TRUE(change.warning.isEmpty());
    EXPECT_EQ(resourceLine(), 4);
    EXPECT_EQ(readAll(dpr), QByteArray(kSource).replace("\r\n  b egin", "\r\n{$R OTHER.res}\r\n  b egin"));

    EXPECT_TRUE(resource.removeDirective(doc).isEmpty());
    EXPECT_EQ(resourceLine(), -1);
    EXPECT_EQ(documentText(doc), QString::fromLatin1(kSource).replace("\r\n", "\n"));
}

// A stale directive line, a source without BEGIN and a file that cannot be
// written, as the user meets them: tests/ui/build/ResourceTest.cpp.
TEST_F(VersionResourceTest, ReplacingAStaleDirectiveKeepsItsLineAndSaysSo)
{
    ASSERT_EQ(resource.addDirective(doc, file, "VERSION.res", false).outcome, Outcome::Added);
    QTextCursor(&doc).insertText("// moved\n");
    workspace.project().resourceLine = 0;
    const auto change = resource.addDirective(doc, file, "NEW.res", true);
    ASSERT_EQ(change.outcome, Outcome::Added);
    EXPECT_FALSE(change.warning.isEmpty());
    EXPECT_EQ(line(0), "// moved");
    EXPECT_EQ(line(resourceLine()), "{$R NEW.res}");
    EXPECT_EQ(documentText(doc).count("{$R "), 2);

    // An empty page has no BEGIN line and nothing to warn of.
    doc.clear();
    EXPECT_EQ(resource.addDirective(doc, file, "VERSION.res", false).outcome, Outcome::NotAdded);
}

TEST_F(VersionResourceTest, UnicodeFileKeepsItsEncoding)
{
    const QByteArray utf8 = "\xEF\xBB\xBFprogram Gr\xC3\xBC\xC3\x9F" "e;\nbegin\nend.\n";
    load(utf8);
    ASSERT_EQ(resource.addDirective(doc, file, "VERSION.res", false).outcome, Outcome::Added);
    EXPECT_EQ(readAll(dpr), "\xEF\xBB\xBFprogram Gr\xC3\xBC\xC3\x9F" "e;\n{$R VERSION.res}\nbegin\nend.\n");
}

TEST_F(VersionResourceTest, ScriptIsWrittenBesideTheProjectSourceAndCompiled)
{
    rcscript::VersionInfoFields fields;
    fields.language = 7;
    fields.charset = 7;
    fields.companyName = "Say \"hi\" C:\\dir";   // quoted for the resource compiler
    QString why;
    ASSERT_TRUE(resource.writeScript("VERSION", fields, &why)) << why.toStdString();
    const QString script = tmp.filePath("VERSION.rc");
    EXPECT_EQ(workspace.project().resourceName, "VERSION.rc");
    EXPECT_EQ(workspace.project().resourceScript, script);
    EXPECT_TRUE(readAll(script).startsWith("1 VERSIONINFO\r\nFILEVERSION 0,0,0,0\r\n"));
    // Without a project source there is no folder for the script.
    Workspace none;
    EXPECT_TRUE(VersionResource(none).projectFolderMissing());

    if (QStandardPaths::findExecutable("x86_64-w64-mingw32-windres").isEmpty())
        GTEST_SKIP() << "windres is not installed (scripts/setup installs it)";
    Settings s = workspace.settings();
    s.resourceCompiler.folder = LINGROVE_STANDINS "/";
    workspace.setSettings(s);
    const VersionResource::Compiled compiled = resource.compileScript({});
    EXPECT_TRUE(compiled.made) << compiled.run.output.toStdString();
    const QByteArray res = readAll(tmp.filePath("VERSION.res"));
    const QString company = "Say \"hi\" C:\\dir";
    EXPECT_TRUE(res.contains(QByteArray(reinterpret_cast<const char*>(company.utf16()), company.size() * 2)));

    // A script the compiler refuses makes nothing, though an older file is there.
    fields.fileVersionNumbers[0] = "1 2";
    ASSERT_TRUE(resource.writeScript("VERSION", fields, &why));
    const VersionResource::Compiled refused = resource.compileScript({});
    EXPECT_FALSE(refused.made);
    EXPECT_TRUE(refused.run.output.contains("syntax error")) << refused.run.output.toStdString();
}
