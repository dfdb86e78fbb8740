#pragma once
// Loads RTF into a QTextDocument in one pass: the RTF that the Pascal
// colourer writes (font table, colour table, \cf, \b, \i, \ul, \u, \par,
// \tab, \'xx, \\ \{ \}) and the plain-text parts of simple RTF in general.
//
// Characters given as \'xx are Windows-1252 as TextCodec maps them, so a page
// shows exactly the characters that decode() gives for the same file.
//
// Paragraphs: every \par ends a line, except the last one of the document,
// which closes the document; so "a\par }" is the one line "a" and a source
// that ends with a line break ends with an empty line.
#include "core/pascal/Highlight.h"
#include "model/TextCodec.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <string_view>

class QTextDocument;

namespace lingrove::model {

struct RtfContent {
    QStringList fonts;      // font table, by number
    QList<QColor> colours;  // colour table; an invalid colour is the default
};

// The page font: "Courier New", 17 pixels high; Qt falls back to another
// fixed-pitch family where it is not installed.
QFont pageFont();

// Called now and then while a large document is filled (every few
// milliseconds of work), so that the caller's windows stay painted.
using LoadPump = std::function<void()>;

// Replace the document's content by the RTF document, in its default font
// pageFont(). Undo is off while loading and the document's undo history is
// cleared.
RtfContent loadRtf(QTextDocument& document, std::string_view rtf, const LoadPump& pump = {});

// The text of a document with "\n" between its paragraphs. Unlike
// QTextDocument::toPlainText() it keeps no-break spaces (byte 0xA0) as they
// are; encode() takes it directly.
QString documentText(const QTextDocument& document);

// Load a source file into a document, coloured as Pascal: decode the bytes
// (TextCodec), convert them to RTF with the scheme and load that. Returns how
// the file was decoded, for encode() when the page is saved. Throws
// pascal::ConversionError ("Invalid string") for an unterminated literal,
// leaving the document as it was.
DecodedText loadPascalSource(QTextDocument& document, const QByteArray& fileBytes,
                             const pascal::ColourScheme& scheme, const LoadPump& pump = {});

} // namespace lingrove::model
