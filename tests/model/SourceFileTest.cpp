// Pages opened and saved: units, forms and project sources come back byte
// for byte when unchanged; a save or a load that fails changes nothing.
#include "model/RtfReader.h"
#include "model/SourceFile.h"

#include "core/formfile/FormFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace lingrove;
using namespace lingrove::model;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray highBytes()
{
    QByteArray b;
    for (int c = 128; c < 256; ++c)
        b.append(static_cast<char>(c));
    return b;
}

class SourceFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString from = QStringLiteral(LINGROVE_SOURCE_ROOT "/examples/demo");
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString rel = QDir(from).relativeFilePath(file);
            if (!rel.startsWith("src-text"))
                writeBytes(dir.filePath(rel), readBytes(file));
        }
    }

    // Opens name as a page does.
    SourceFile open(const QString& name)
    {
        SourceFile file(dir.filePath(name));
        FileProblem problem;
        EXPECT_TRUE(file.load(doc, pascal::ColourScheme::classic(), &problem)) << problem.message.toStdString();
        return file;
    }
    // Files in the folder other than the project's own.
    QStringList leftOver() const
    {
        QStringList out;
        QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString rel = QDir(dir.path()).relativeFilePath(it.next());
            if (!QStringList({"pas", "dfm", "dpr", "md"}).contains(QFileInfo(rel).suffix()))
                out << rel;
        }
        return out;
    }

    QTemporaryDir dir;
    QTextDocument doc;
};

} // namespace

TEST_F(SourceFileTest, UnchangedPagesOfEveryKindAreWrittenBackByteForByte)
{
    // Every byte above 127, mixed line breaks, no break after the last line.
    writeBytes(dir.filePath("Bytes.pas"),
        "unit Bytes;\r\n{ " + highBytes() + " }\r\nconst S = '" + highBytes() + "';\nimplementation\rend.");
    std::string form;
    formfile::TextToResource(("object F: TForm\r\n  Caption = '" + highBytes() + "'\r\nend\r\n").toStdString(), form);
    writeBytes(dir.filePath("Bytes.dfm"), QByteArray::fromStdString(form));

    for (const char* name : {"Demo.dpr", "Bytes.pas", "Bytes.dfm", "Main.pas", "Main.dfm", "frm/Input.dfm"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        const QByteArray before = readBytes(path);
        SourceFile file = open(QString::fromLatin1(name));
        FileProblem problem;
        EXPECT_TRUE(file.save(documentText(doc), &problem)) << name << problem.message.toStdString();
        EXPECT_EQ(readBytes(path), before) << name;
    }
    EXPECT_TRUE(leftOver().isEmpty()) << leftOver().join(u' ').toStdString();
}

// What the user sees of failed saves (text the code page lacks, a form
// that cannot be converted back) is in tests/ui/pages/SavingTest.cpp.
TEST_F(SourceFileTest, AFileThatCannotBeReplacedIsReportedAndNothingIsLeft)
{
    const QString texts = dir.filePath("Texts.pas");
    SourceFile pas = open("Texts.pas");
    // A folder has taken the file's place.
    ASSERT_TRUE(QFile::remove(texts));
    ASSERT_TRUE(QDir().mkdir(texts));
    FileProblem problem;
    EXPECT_FALSE(pas.save(documentText(doc), &problem));
    EXPECT_EQ(problem.kind, FileProblem::Kind::Write);
    EXPECT_TRUE(QFileInfo(texts).isDir());
    EXPECT_TRUE(leftOver().isEmpty()) << leftOver().join(u' ').toStdString();
}

TEST_F(SourceFileTest, FilesThatCannotBeShownLeaveTheDocument)
{
    doc.setPlainText("before");
    writeBytes(dir.filePath("Open.pas"), "x := 'open\r\n");
    writeBytes(dir.filePath("Broken.dfm"), "TPF0\x07TBroken");
    const std::pair<const char*, FileProblem::Kind> cases[] = {
        {"Missing.pas", FileProblem::Kind::Read},
        {"Open.pas", FileProblem::Kind::Source},
        {"Broken.dfm", FileProblem::Kind::FormText},
    };
    for (const auto& [name, kind] : cases) {
        SourceFile file(dir.filePath(QString::fromLatin1(name)));
        FileProblem problem;
        EXPECT_FALSE(file.load(doc, pascal::ColourScheme::classic(), &problem)) << name;
        EXPECT_EQ(problem.kind, kind) << name;
        EXPECT_TRUE(problem.message.contains(QString::fromLatin1(name))) << problem.message.toStdString();
        EXPECT_EQ(documentText(doc), "before") << name;
    }
}
