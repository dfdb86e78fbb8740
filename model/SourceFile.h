#pragma once
// A unit, form or project source of the Delphi project as a page shows it.
// Reading gives the page text (a form file in its text form, converted in
// memory) coloured into a document, and remembers how the file was decoded;
// writing turns the page text back into the file's own encoding and line
// breaks (a form back into a binary form file) and replaces the file through
// a temporary file, so that a failed save leaves it as it was.
#include "core/pascal/Highlight.h"
#include "model/TextCodec.h"

#include <QString>

class QTextDocument;

namespace lingrove::model {

// What went wrong with a file, for the user.
struct FileProblem {
    enum class Kind {
        Read,        // the file could not be read
        FormText,    // a form file that cannot be converted into its text form
        Source,      // the text cannot be shown (an unterminated literal)
        Unencodable, // a character the file's encoding cannot hold (line, column)
        FormSave,    // the page text cannot be converted back into a form file (line)
        Write,       // the file could not be written
    };
    Kind kind = Kind::Read;
    QString message;   // one line or a few, naming the file or the place
    int line = 0;      // where the text is at fault, when it is
    int column = 0;
};

class SourceFile {
public:
    SourceFile() = default;
    explicit SourceFile(QString path);

    const QString& path() const { return path_; }
    // A form file (".dfm"): its page shows and edits its text form.
    bool isForm() const;

    // Reads the file and fills document with the page text, coloured with
    // scheme. On failure the document is unchanged.
    bool load(QTextDocument& document, const pascal::ColourScheme& scheme, FileProblem* problem);

    // Writes text (the page's text, "\n" between lines) into the file.
    bool save(const QString& text, FileProblem* problem);

    // How the file was decoded (the text itself is not kept).
    const DecodedText& decoding() const { return decoding_; }

private:
    QString path_;
    DecodedText decoding_;
};

} // namespace lingrove::model
