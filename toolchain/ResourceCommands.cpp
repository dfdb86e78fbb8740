// The version-information resource in the project: the resource compiler,
// the wizard's entry and the {$R ...} line of the project source.
#include "toolchain/BuildCommands.h"

#include "app/AppState.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/UserInterface.h"
#include "toolchain/Codepage.h"
#include "toolchain/StInfo.h"
#include "toolchain/VersWizard.h"
#include "sources/TextCodec.h"
#include "core/rcscript/ResourceDirective.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <vector>

namespace lingrove::toolchain {

using platform::ui;

void BuildCommands::CompileRC()
{
    const auto& s = app::state().settings;
    const auto& project = app::state().project;
    TStInfo& info = StInfo();
    info.showText(QStringLiteral("Create file ") + project.ResName.toUpper() + QStringLiteral("..."));
    const auto result = platform::runAndWait(s.resCompPath(), {platform::toNative(project.FullResName)},
                                             {}, platform::WindowMode::Hidden, paintWhileWaiting);
    finishWait(result.started);
}

void BuildCommands::CreateVersioninfo()
{
    if (app::state().project.ResPosition == -1) {
        RemoveOldResource = false;
    } else {
        if (!ui().question(ctx_.parent,
                           QStringLiteral("The current project already contens a version info ressource file.\n"
                                          "Do you really want to remove it and rebuild the ressource?"),
                           platform::BoxKind::Confirmation))
            return;
        RemoveOldResource = true;
    }
    ui().exec(Vers());
}

// The project page's lines, one per paragraph, exactly as held (no
// conversion of non-breaking spaces as the plain-text export does).
static std::vector<QString> editorLines(const QTextDocument& doc)
{
    std::vector<QString> lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines.push_back(b.text());
    return lines;
}

static std::vector<std::string> toBytes(const std::vector<QString>& lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const auto& l : lines)
        out.push_back(toCp1252String(l));
    return out;
}

static void deleteBlock(QTextDocument& doc, int number)
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

static void insertLineBefore(QTextDocument& doc, int number, const QString& text)
{
    QTextCursor c(doc.findBlockByNumber(number));
    c.setCharFormat(QTextCharFormat());
    c.insertText(text);
    c.insertBlock();
}

static QString staleMessage(int position, const QString& line)
{
    return QStringLiteral("Line %1 of the project source is no longer a {$R ...} directive "
                          "(it reads \"%2\"), so it was not removed. Remove the directive by hand "
                          "if it is still there.")
        .arg(position + 1)
        .arg(line);
}

void BuildCommands::RemoveVersioninfo()
{
    auto& project = app::state().project;
    if (project.ResPosition != -1 && ctx_.projectEditor) {
        QTextDocument& doc = *ctx_.projectEditor->document();
        auto lines = toBytes(editorLines(doc));
        const auto outcome = rcscript::removeDirective(lines, project.ResPosition);
        if (outcome == rcscript::RemoveOutcome::Removed) {
            deleteBlock(doc, project.ResPosition);
        } else if (outcome == rcscript::RemoveOutcome::Stale) {
            const QTextBlock b = doc.findBlockByNumber(project.ResPosition);
            ui().message(ctx_.parent, staleMessage(project.ResPosition, b.isValid() ? b.text() : QString()),
                         platform::BoxKind::Warning);
        }
    }
    project.ResPosition = -1;
}

AddOutcome BuildCommands::AddResDatei(const QString& resFileName, bool removeOld)
{
    auto& project = app::state().project;
    if (ctx_.activateProjectPage)
        ctx_.activateProjectPage();
    if (!ctx_.projectEditor)
        return AddOutcome::NotAdded;
    QTextDocument& doc = *ctx_.projectEditor->document();
    const auto qlines = editorLines(doc);
    if (qlines.empty() || (qlines.size() == 1 && qlines[0].isEmpty()))
        return AddOutcome::NotAdded;

    // Work on a copy first: the editor changes only when the directive can go in.
    auto lines = toBytes(qlines);
    bool removeRecorded = false;
    if (removeOld && project.ResPosition != -1) {
        const int old = project.ResPosition;
        const auto outcome = rcscript::removeDirective(lines, old);
        if (outcome == rcscript::RemoveOutcome::Removed)
            removeRecorded = true;
        else if (outcome == rcscript::RemoveOutcome::Stale)
            ui().message(ctx_.parent,
                         staleMessage(old, old >= 0 && size_t(old) < qlines.size() ? qlines[size_t(old)] : QString()),
                         platform::BoxKind::Warning);
    }
    const auto inserted = rcscript::insertDirective(lines, toCp1252String(resFileName));
    if (inserted.outcome == rcscript::InsertOutcome::NoBeginLine) {
        ui().message(ctx_.parent,
                     QStringLiteral("The project source has no line that reads BEGIN, so the directive "
                                    "{$R %1} was not added. Add it by hand above the main block.")
                         .arg(resFileName),
                     platform::BoxKind::Warning);
        return AddOutcome::NotAdded;
    }
    if (inserted.outcome != rcscript::InsertOutcome::Inserted)
        return AddOutcome::NotAdded;

    if (removeRecorded)
        deleteBlock(doc, project.ResPosition);
    insertLineBefore(doc, inserted.position, QStringLiteral("{$R %1}").arg(resFileName));
    project.ResPosition = inserted.position;

    // The project source as the editor holds it, in the file's own encoding
    // and line breaks (CR LF for a Windows file), so that every line the
    // user did not touch comes back byte for byte.
    QString plain;
    const auto now = editorLines(doc);
    for (size_t i = 0; i < now.size(); ++i) {
        if (i)
            plain += QLatin1Char('\n');
        plain += now[i];
    }
    const QString path = platform::toNative(delphiProjectFile());
    sources::DecodedText how;
    {
        QByteArray old;
        if (platform::readFile(path, old) == platform::ReadResult::Read)
            how = sources::decode(old);
    }
    QByteArray bytes;
    try {
        bytes = sources::encode(plain, how);
    } catch (const sources::EncodeError& e) {
        ui().error(ctx_.parent, QStringLiteral("Cannot write \"%1\": %2").arg(path, QString::fromUtf8(e.what())));
        return AddOutcome::WriteFailed;
    }
    QString why;
    if (!platform::writeFileAtomically(path, bytes, &why)) {
        ui().error(ctx_.parent, QStringLiteral("Cannot create file \"%1\". %2").arg(path, why));
        return AddOutcome::WriteFailed;
    }
    if (ctx_.reloadProjectSource) {
        ctx_.projectEditor->clear();
        ctx_.reloadProjectSource();
    }
    return AddOutcome::Added;
}

} // namespace lingrove::toolchain
