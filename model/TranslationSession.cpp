#include "model/TranslationSession.h"

#include "model/StringFilters.h"
#include "model/TextCodec.h"
#include "model/Workspace.h"

#include <QTextBlock>

namespace lingrove::model {

namespace {

QTextCharFormat lookFormat(QTextCharFormat format, const TextLook& look)
{
    format.setForeground(look.color);
    format.setFontWeight(look.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(look.italic);
    format.setFontUnderline(look.underline);
    format.setFontStrikeOut(look.strikeOut);
    return format;
}

// The character format in front of document position pos (that of the
// literal's opening apostrophe when pos is the start of its content).
QTextCharFormat formatBefore(QTextDocument* document, int pos)
{
    QTextCursor probe(document);
    probe.setPosition(pos);
    return probe.charFormat();
}

} // namespace

QString pascalQuoted(const QString& typed)
{
    QString out = typed;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString pascalUnquoted(const QString& written)
{
    QString out = written;
    out.replace(QStringLiteral("''"), QStringLiteral("'"));
    return out;
}

std::vector<ListEntry> collectEntries(const QTextDocument& document, const scanner::ScanFilters& filters)
{
    // The document's text in one piece, its paragraphs separated by U+2029:
    // much faster to take than block by block on large pages.
    const QString text = document.toRawText();
    std::vector<ListEntry> entries;
    std::string bytes;
    int lineNumber = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QChar::ParagraphSeparator, start);
        if (end < 0)
            end = text.size();
        ++lineNumber;
        const QStringView line = QStringView(text).mid(start, end - start);
        start = end + 1;
        if (!line.contains(QLatin1Char('\'')))
            continue;
        bool exact = true;
        scannerBytes(line, bytes, &exact);
        scanner::forEachAcceptedLiteral(bytes, filters, [&](int posA, int posB, std::string_view literal) {
            // A character the scanner saw as "?" is taken from the line itself.
            entries.push_back(ListEntry{lineNumber, posA, posB,
                                        exact ? fromWindows1252(literal)
                                              : line.mid(posA - 1, static_cast<qsizetype>(literal.size())).toString(),
                                        false});
        });
    }
    return entries;
}

TranslationSession::TranslationSession(Workspace& workspace, QObject* parent)
    : QObject(parent)
    , workspace_(workspace)
{
}

void TranslationSession::collect(const QTextDocument* document, const QString& page)
{
    located_.reset();
    listDocument_ = document;
    page_ = page;
    std::vector<ListEntry> entries;
    if (document)
        entries = collectEntries(*document, scanFilters(workspace_.settings()));
    const TranslatedLiterals& translated = workspace_.project().translated;
    if (!translated.isEmpty())
        for (ListEntry& e : entries)
            e.changed = translated.contains(page, e.line, e.text);
    list_.setEntries(std::move(entries));
}

void TranslationSession::clear()
{
    located_.reset();
    list_.clear();
}

std::optional<TranslationSession::Location> TranslationSession::locate(QTextDocument* document, int row)
{
    const ListEntry* entry = list_.entry(row);
    if (!document || !entry)
        return std::nullopt;
    const int startLine = row > 0 ? entry->line : 1;
    const QString search = QLatin1Char('\'') + entry->text + QLatin1Char('\'');
    for (QTextBlock block = document->findBlockByNumber(startLine - 1); block.isValid(); block = block.next()) {
        const qsizetype p = block.text().indexOf(search);
        if (p < 0)
            continue;
        Location at;
        at.document = document;
        at.row = row;
        at.start = block.position() + static_cast<int>(p) + 1;
        at.length = static_cast<int>(search.size()) - 2;
        at.line = block.blockNumber() + 1;
        at.column = static_cast<int>(p) + 2;
        at.content = entry->text;
        // The look shows where the literal is; it changes nothing to save.
        const bool modified = document->isModified();
        QTextCursor cursor(document);
        cursor.setPosition(at.start);
        cursor.setPosition(at.start + at.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(lookFormat(QTextCharFormat(), workspace_.settings().selectedLook));
        document->setModified(modified);
        located_ = at;

        source_ = pascalUnquoted(entry->text);
        Dictionary& dictionary = workspace_.dictionary();
        proposals_ = dictionary.lookup(withoutAmpersands(source_));
        lookupError_ = dictionary.lastError();
        return at;
    }
    return std::nullopt;
}

bool TranslationSession::isLocated(const QTextDocument* document, int row, const QTextCursor& cursor) const
{
    if (!located_ || !located_->document || located_->document != document || located_->row != row
        || cursor.document() != document)
        return false;
    return cursor.selectionStart() == located_->start && cursor.selectionEnd() == located_->start + located_->length
           && cursor.selectedText() == located_->content;
}

std::optional<TranslationSession::Commit> TranslationSession::commit(int row, const QString& typed,
                                                                     const QTextCursor& cursor)
{
    const ListEntry* entry = list_.entry(row);
    if (!entry || !located_ || !isLocated(located_->document, row, cursor))
        return std::nullopt;
    workspace_.setProjectSaved(false);
    const Location at = *located_;
    located_.reset();

    const QString written = pascalQuoted(typed);
    QTextDocument* document = at.document;
    QTextCursor edit(document);
    edit.setPosition(at.start);
    edit.setPosition(at.start + at.length, QTextCursor::KeepAnchor);
    edit.insertText(written, lookFormat(formatBefore(document, at.start), workspace_.settings().changedLook));

    undo_.push(makeUndoRecord(at.line, at.column, entry->text, written));
    workspace_.project().translated.add(page_, at.line, written);
    list_.setChanged(row, true);
    list_.setEntryText(row, written);
    emit undoChanged();

    Commit result;
    result.written = edit;
    // A read-only table was announced when it was opened.
    Dictionary& dictionary = workspace_.dictionary();
    if (!dictionary.isReadOnly() && !dictionary.store(source_, typed))
        result.storeError = dictionary.lastError();
    return result;
}

std::optional<QString> TranslationSession::undo(QTextDocument* document)
{
    if (undo_.isEmpty())
        return QString::fromLatin1(MessageEmptyBuffer);
    const UndoRecord record = undo_.top();
    if (!document)
        return QStringLiteral("Nothing was undone: the project page holds no translation. "
                              "Activate the page of the last translation and press UNDO again.");
    const QTextBlock block = document->findBlockByNumber(record.line - 1);
    const std::optional<int> column = block.isValid() ? findUndoTarget(block.text(), record) : std::nullopt;
    if (!column)
        return QStringLiteral("Nothing was undone: the translation '%1' is not on line %2 of the "
                              "active page any more. Activate the page of the last translation "
                              "and press UNDO again.")
            .arg(record.inserted)
            .arg(record.line);

    const int start = block.position() + *column - 1;
    QTextCursor cursor(document);
    cursor.setPosition(start);
    cursor.setPosition(start + record.length, QTextCursor::KeepAnchor);
    cursor.insertText(record.original, formatBefore(document, start));
    located_.reset();
    undo_.pop();
    // The entry of the list shows the literal as it is again, so the loop can
    // go on with it.
    if (document == listDocument_) {
        workspace_.project().translated.remove(page_, record.line, record.inserted);
        for (int row = 0; row < list_.entryCount(); ++row) {
            const ListEntry* e = list_.entry(row);
            if (e->line == record.line && e->text == record.inserted) {
                list_.setEntryText(row, record.original);
                list_.setChanged(row, false);
                break;
            }
        }
    }
    emit undoChanged();
    return std::nullopt;
}

} // namespace lingrove::model
