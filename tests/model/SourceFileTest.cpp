// Pages opened and saved: units, forms and project sources come back byte
// for byte when unchanged; a save that fails keeps the file as it was.
#include "model/RtfReader.h"
#include "model/SourceFile.h"

#include "core/formfile/FormFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
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
            if (!rel.startsWith(QStringLiteral("src-text")))
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
    void replace(const QString& what, const QString& with)
    {
        QTextCursor c = doc.find(what);
        ASSERT_FALSE(c.isNull()) << what.toStdString();
        c.insertText(with);
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
    writeBytes(dir.filePath(QStringLiteral("Bytes.pas")),
               "unit Bytes;\r\n{ " + highBytes() + " }\r\nconst S = '" + highBytes() + "';\nimplementation\rend.");
    std::string form;
    formfile::TextToResource(("object F: TForm\r\n  Caption = '" + highBytes() + "'\r\nend\r\n").toStdString(), form);
    writeBytes(dir.filePath(QStringLiteral("Bytes.dfm")), QByteArray::fromStdString(form));

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

TEST_F(SourceFileTest, EditedLiteralsAreSavedIntoTheUnitAndTheForm)
{
    const QByteArray unit = readBytes(dir.filePath(QStringLiteral("Main.pas")));
    const QString german = QString::fromUtf8("Keine Sorge, nichts wurde hinzugefügt.");
    SourceFile pas = open(QStringLiteral("Main.pas"));
    replace(QStringLiteral("Don''t worry, nothing was added."), german);
    ASSERT_TRUE(pas.save(documentText(doc), nullptr));
    QByteArray expected = unit;
    expected.replace("Don''t worry, nothing was added.", german.toLatin1());
    EXPECT_EQ(readBytes(dir.filePath(QStringLiteral("Main.pas"))), expected);

    SourceFile dfm = open(QStringLiteral("Main.dfm"));
    EXPECT_TRUE(dfm.isForm());
    replace(QString::fromUtf8("'Adreßbuch'"), QStringLiteral("'Address book'"));
    ASSERT_TRUE(dfm.save(documentText(doc), nullptr));
    std::string text;
    formfile::ResourceToText(readBytes(dir.filePath(QStringLiteral("Main.dfm"))).toStdString(), text);
    EXPECT_NE(text.find("  Caption = 'Address book'\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("'Anna M\xFCller, M\xFCnchen'"), std::string::npos);
}

TEST_F(SourceFileTest, FailedSavesKeepTheFile)
{
    // A character the code page cannot hold, with its place.
    const QString texts = dir.filePath(QStringLiteral("Texts.pas"));
    const QByteArray unit = readBytes(texts);
    SourceFile pas = open(QStringLiteral("Texts.pas"));
    QTextCursor(doc.findBlockByNumber(2)).insertText(QString::fromUtf8("Ω"));
    FileProblem problem;
    EXPECT_FALSE(pas.save(documentText(doc), &problem));
    EXPECT_EQ(problem.kind, FileProblem::Kind::Unencodable);
    EXPECT_EQ(problem.line, 3);
    EXPECT_EQ(problem.column, 1);
    EXPECT_TRUE(problem.message.contains(QStringLiteral("Line 3, column 1"))) << problem.message.toStdString();
    EXPECT_EQ(readBytes(texts), unit);

    // A form whose text cannot be converted back, with its line.
    const QString mainForm = dir.filePath(QStringLiteral("Main.dfm"));
    const QByteArray dfm = readBytes(mainForm);
    SourceFile form = open(QStringLiteral("Main.dfm"));
    replace(QStringLiteral("  Left = 200"), QStringLiteral("  Left = )"));
    EXPECT_FALSE(form.save(documentText(doc), &problem));
    EXPECT_EQ(problem.kind, FileProblem::Kind::FormSave);
    EXPECT_EQ(problem.line, 2);
    EXPECT_EQ(readBytes(mainForm), dfm);

    // A file that cannot be replaced: a folder has taken its place.
    SourceFile again = open(QStringLiteral("Texts.pas"));
    ASSERT_TRUE(QFile::remove(texts));
    ASSERT_TRUE(QDir().mkdir(texts));
    EXPECT_FALSE(again.save(documentText(doc), &problem));
    EXPECT_EQ(problem.kind, FileProblem::Kind::Write);
    EXPECT_TRUE(QFileInfo(texts).isDir());
    EXPECT_TRUE(leftOver().isEmpty()) << leftOver().join(u' ').toStdString();
}

TEST_F(SourceFileTest, FilesThatCannotBeShownLeaveTheDocument)
{
    doc.setPlainText(QStringLiteral("before"));
    writeBytes(dir.filePath(QStringLiteral("Open.pas")), "x := 'open\r\n");
    writeBytes(dir.filePath(QStringLiteral("Broken.dfm")), "TPF0\x07TBroken");
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
        EXPECT_EQ(documentText(doc), QStringLiteral("before")) << name;
    }
}
