#pragma once
// A unit, form or project source of the Delphi project as a page shows it.
// Reading gives the page text coloured into a document and remembers how the
// file was decoded; writing turns the page text back into the file's own
// encoding and line breaks and replaces the file through a temporary file,
// so that a failed save leaves it as it was.
//
// A form file of any kind (binary with or without its resource header, or a
// text form file in Windows-1252 or UTF-8) shows its page text: every string
// value one quoted literal. Saving writes the edited values back into the
// form's own bytes (the engine's apply): a binary form stays binary, a text
// form stays text, and every byte of what was not edited stays as it was.
// Only values can be edited in a form's page.
#include "core/formfile/FormDocument.h"
#include "core/pascal/Highlight.h"
#include "model/RtfReader.h"
#include "model/TextCodec.h"

#include <QString>

#include <optional>

class QTextDocument;

namespace lingrove::model {

// What went wrong with a file, for the user.
struct FileProblem {
    enum class Kind {
        Read,        // the file could not be read
        FormText,    // a form file that cannot be read
        Source,      // the text cannot be shown (an unterminated literal)
        Unencodable, // a character the file's encoding cannot hold (line, column)
        FormSave,    // the page text cannot be written back into the form (line, column)
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
    // A form file (".dfm"): its page shows and edits its page text.
    bool isForm() const;
    // Once a form is loaded: what kind of form file it is.
    std::optional<formfile::FormFormat> formFormat() const;
    // A short description of the form's kind for the user ("binary form",
    // "text form", "text form, UTF-8"); empty for other files.
    QString formDescription() const;

    // Reads the file and fills document with the page text, coloured with
    // scheme; pump is called now and then while a large file is loaded. On
    // failure the document is unchanged.
    bool load(QTextDocument& document, const pascal::ColourScheme& scheme, FileProblem* problem,
              const LoadPump& pump = {});

    // Writes text (the page's text, "\n" between lines) into the file.
    bool save(const QString& text, FileProblem* problem);

    // How the file was decoded (the text itself is not kept).
    const DecodedText& decoding() const { return decoding_; }

private:
    QString path_;
    DecodedText decoding_;
    std::optional<formfile::FormDocument> form_;   // a form as last read or written
};

} // namespace lingrove::model
