#include "model/VersionResource.h"

#include "core/rcscript/ResourceDirective.h"
#include "model/BuildService.h"
#include "model/RtfReader.h"
#include "model/SourceFile.h"
#include "model/TextCodec.h"
#include "model/Workspace.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace lingrove::model {

namespace {

// The project page's lines as 8-bit bytes, one per paragraph.
std::vector<std::string> lineBytes(const QTextDocument& doc)
{
    std::vector<std::string> lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines.push_back(toWindows1252(b.text()).toStdString());
    return lines;
}

void deleteBlock(QTextDocument& doc, int number)
{
    const QTextBlock block = doc.findBlockByNumber(number);
    if (!block.isValid())
        return;
    QTextCursor c(block);
    if (block.next().isValid()) {
        c.setPosition(block.position() + block.length(), QTextCursor::KeepAnchor);   // with its line end
    } else if (block.previous().isValid()) {
        c.setPosition(block.position() - 1);   // the line end before it
        c.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    } else {
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
}

void insertLineBefore(QTextDocument& doc, int number, const QString& text)
{
    QTextCursor c(doc.findBlockByNumber(number));
    c.setCharFormat(QTextCharFormat());
    c.insertText(text);
    c.insertBlock();
}

QString staleMessage(int position, const QString& line)
{
    return QStringLiteral("Line %1 of the project source is no longer a {$R ...} directive "
                          "(it reads \"%2\"), so it was not removed. Remove the directive by hand "
                          "if it is still there.")
        .arg(position + 1)
        .arg(line);
}

QString blockText(const QTextDocument& doc, int number)
{
    const QTextBlock b = doc.findBlockByNumber(number);
    return b.isValid() ? b.text() : QString();
}

} // namespace

VersionResource::VersionResource(Workspace& workspace)
    : workspace_(workspace)
{
}

bool VersionResource::projectFolderMissing() const
{
    return workspace_.project().delphiProjectFile.isEmpty();
}

bool VersionResource::writeScript(const QString& name, const rcscript::VersionInfoFields& fields, QString* why)
{
    Project& project = workspace_.project();
    const QString scriptName = name + QStringLiteral(".rc");
    const QString scriptPath = platform::joinPath(project.delphiProjectFolder(), scriptName);
    const std::string text = rcscript::scriptText(rcscript::CreateRC(fields));
    QString reason;
    if (!platform::writeFileAtomically(scriptPath, QByteArray::fromStdString(text), &reason)) {
        if (why)
            *why = QStringLiteral("Cannot create file \"%1\". %2").arg(scriptPath, reason);
        return false;
    }
    project.resourceName = scriptName;
    project.resourceScript = scriptPath;
    return true;
}

QString VersionResource::nameProblem(const QString& name, const SourceFile* projectSource)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Please enter a name for the resource file.");
    static const QString notInNames = QStringLiteral(" \t/\\:*?\"<>|{}'");
    for (const QChar c : name)
        if (notInNames.contains(c) || c.unicode() < 0x20)
            return QStringLiteral("The resource name %1 cannot be used: a file name in a {$R ...} directive "
                                  "holds no spaces, quotes, braces, folders or any of * ? : < > |.")
                .arg(name);
    if (projectSource && projectSource->decoding().encoding == TextEncoding::Windows1252)
        for (const QChar c : name)
            if (unicodeToWindows1252(c.unicode()) < 0)
                return QStringLiteral("The resource name %1 cannot be written into the project source, which "
                                      "is 8-bit Windows-1252 text without the letter %2.")
                    .arg(name, c);
    return {};
}

QString VersionResource::compiledFileName() const
{
    const QString& script = workspace_.project().resourceName;
    return script.left(std::max<qsizetype>(0, script.size() - 3)) + QStringLiteral(".res");
}

VersionResource::Compiled VersionResource::compileScript(const Pump& pump) const
{
    const Project& project = workspace_.project();
    const QString res = platform::joinPath(project.delphiProjectFolder(), compiledFileName());
    // File times may be as coarse as two seconds.
    const QDateTime started = QDateTime::currentDateTimeUtc().addSecs(-2);
    Compiled compiled;
    compiled.run = platform::runAndWait(workspace_.settings().resourceCompiler.path(),
                                        {platform::toNative(project.resourceScript)}, project.delphiProjectFolder(),
                                        platform::WindowMode::Hidden, pump);
    const QFileInfo made(res);
    compiled.made = !toolFailed(compiled.run) && made.isFile() && made.lastModified().toUTC() >= started;
    return compiled;
}

VersionResource::Change VersionResource::addDirective(QTextDocument& doc, SourceFile& file,
                                                      const QString& resFileName, bool removeOld)
{
    Change change;
    Project& project = workspace_.project();
    if (doc.isEmpty())
        return change;

    // Work on a copy first: the document changes only when the directive can go in.
    std::vector<std::string> lines = lineBytes(doc);
    bool removeRecorded = false;
    if (removeOld && project.resourceLine != -1) {
        const int old = project.resourceLine;
        const rcscript::RemoveOutcome outcome = rcscript::removeDirective(lines, old);
        if (outcome == rcscript::RemoveOutcome::Removed)
            removeRecorded = true;
        else if (outcome == rcscript::RemoveOutcome::Stale)
            change.warning = staleMessage(old, blockText(doc, old));
    }
    const auto inserted = rcscript::insertDirective(lines, toWindows1252(resFileName).toStdString());
    if (inserted.outcome == rcscript::InsertOutcome::NoBeginLine) {
        change.warning = QStringLiteral("The project source has no line that reads BEGIN, so the directive "
                                        "{$R %1} was not added. Add it by hand above the main block.")
                             .arg(resFileName);
        return change;
    }
    if (inserted.outcome != rcscript::InsertOutcome::Inserted)
        return change;

    if (removeRecorded)
        deleteBlock(doc, project.resourceLine);
    insertLineBefore(doc, inserted.position, QStringLiteral("{$R %1}").arg(resFileName));
    project.resourceLine = inserted.position;

    // The project source as the document holds it, in the file's own
    // encoding and line breaks, so that every line the user did not touch
    // comes back byte for byte.
    FileProblem problem;
    if (!file.save(documentText(doc), &problem)) {
        change.outcome = Outcome::WriteFailed;
        change.error = problem.message;
        return change;
    }
    change.outcome = Outcome::Added;
    return change;
}

QString VersionResource::removeDirective(QTextDocument& doc)
{
    Project& project = workspace_.project();
    QString warning;
    if (project.resourceLine != -1) {
        std::vector<std::string> lines = lineBytes(doc);
        const rcscript::RemoveOutcome outcome = rcscript::removeDirective(lines, project.resourceLine);
        if (outcome == rcscript::RemoveOutcome::Removed)
            deleteBlock(doc, project.resourceLine);
        else if (outcome == rcscript::RemoveOutcome::Stale)
            warning = staleMessage(project.resourceLine, blockText(doc, project.resourceLine));
    }
    project.resourceLine = -1;
    return warning;
}

} // namespace lingrove::model
