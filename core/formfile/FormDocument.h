#pragma once
// A form file opened for translation: its page text, and the file written
// again from an edited page text. Works on bytes in memory; reading and
// writing files is the caller's.
//
// The page text is the text form with every string value as one quoted
// literal ('Gr''öße', never 'Gr'#246#223'e' or pieces joined with +), so that
// a translator sees whole strings. Only control characters, and characters a
// literal cannot show, stand as #nnn codes between the quoted runs. The page
// is Windows-1252 unless some value holds a character outside ASCII that is
// stored as a wide string; then it is UTF-8 and starts with a byte-order mark.
// A value whose type its plain notation would not give carries a cast
// (FormFile.h), so the page text converts back to the same bytes.
//
// apply() writes only the values that were edited: every other byte of the
// file stays as it was. A binary form gets the new values in the binary
// layout (and its resource header the new size); a text form file stays text
// in its own encoding and line breaks, an edited string written as Delphi
// writes one: pieces of at most 64 characters joined with + on continuation
// lines, #nnn codes for control characters and for what the file's encoding
// cannot hold.
#include "core/formfile/FormFile.h"

#include <memory>
#include <string>
#include <string_view>

namespace lingrove::formfile {

enum class FormFormat {
    Resource,  // binary form file with its resource header
    Data,      // binary form data from the "TPF0" signature on
    Text,      // text form file
};

enum class PageEncoding { Windows1252, Utf8 };

class FormDocument {
public:
    // Reads a form file of any kind. Throws FormError for malformed input
    // (byte offset for binary, line and column for text).
    static FormDocument load(std::string bytes);

    FormFormat format() const;
    // For Text: the file's encoding (UTF-8 when it starts with a byte-order mark).
    bool textIsUtf8() const;
    PageEncoding pageEncoding() const;
    // The page text in its encoding (UTF-8 with a byte-order mark).
    const std::string& pageText() const;
    // The bytes the document was loaded from.
    const std::string& bytes() const;

    // The file with the values of edited, a page text of this form (8-bit,
    // or UTF-8 after a byte-order mark). An unedited page text gives the
    // loaded bytes. Throws FormError with the line and column in edited when
    // it does not parse, or when anything but values was changed (objects,
    // property names, list or collection shapes: Kind::StructureChanged).
    std::string apply(std::string_view edited) const;

    struct Impl;

private:
    explicit FormDocument(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
    std::shared_ptr<const Impl> impl_;
};

// Which kind of form file bytes hold: Resource when they start with 0xFF,
// Data with "TPF0", Text otherwise.
FormFormat formFormatOf(std::string_view bytes);

} // namespace lingrove::formfile
