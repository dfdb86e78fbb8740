#pragma once
// The checks run when a translation is committed. They never block: each
// returns warnings, one line apiece, for the hint line and the checks list.
//
// Texts are as the user reads and types them (apostrophes single, "&" as
// typed).
//
//   - Format specifiers of Delphi's Format ("%" [index ":"] ["-"] [width]
//     ["." precision] type, with "*" for index, width or precision and "%%"
//     for a percent sign): a source that holds one must keep the same
//     arguments in the translation, each of the same type, and the same
//     number of specifiers; a specifier Format rejects is named. A source
//     without specifiers warns only when the translation brings some.
//   - The accelerator: a source with one ("&" before a character, "&&" being
//     an ampersand) needs exactly one in the translation.
//   - Spaces at either end, a final ":", "." or "..." (also their full-width
//     and single-character forms), and the line-break codes #13, #10 and #9
//     (also as #$0D, #$0A, #$09, or as the characters) kept as the source has
//     them.
//   - On a form (see FormOutline), for a Caption: the translated
//     accelerator's key unique among the captions of the same menu or the
//     same parent control (the clash named), and the translated caption not
//     wider than its control in the form's font (both widths given).
#include "model/FormOutline.h"

#include <QString>

#include <vector>

class QTextDocument;

namespace lingrove::model {

struct CheckWarning {
    enum class Kind {
        Format,            // format specifiers changed or broken
        Accelerator,       // the accelerator lost, or more than one
        AcceleratorClash,  // the same key as a sibling's caption
        Spaces,            // leading or trailing spaces changed
        Ending,            // the final ":", "." or "..." lost or changed
        LineBreaks,        // #13#10 codes changed
        Width,             // the caption wider than its control
    };
    Kind kind = Kind::Format;
    QString message;

    // AcceleratorClash: the component whose caption has the same key.
    QString clashWith;
    // Width: the caption's width and the room its control gives, in pixels.
    int textWidth = 0;
    int roomWidth = 0;
};

std::vector<CheckWarning> checkFormat(const QString& source, const QString& translation);
std::vector<CheckWarning> checkAccelerator(const QString& source, const QString& translation);
std::vector<CheckWarning> checkSpacesAndEnding(const QString& source, const QString& translation);
std::vector<CheckWarning> checkLineBreakCodes(const QString& source, const QString& translation);

// Every check above.
std::vector<CheckWarning> checkTranslation(const QString& source, const QString& translation);

// The checks of the caption on page line line of form (read from the page
// with the translation in it): the accelerator clash and the width. Nothing
// for other properties.
std::vector<CheckWarning> checkFormCaption(const FormOutline& form, int line);

// All checks of a commit: the text checks, and on a form page (formPage: the
// page's document with the translation written, nullptr for a unit) those
// of the caption on line. A form page that cannot be read gives the text
// checks only.
std::vector<CheckWarning> checkCommit(const QString& source, const QString& translation,
                                      const QTextDocument* formPage = nullptr, int line = 0);

// The accelerator of a caption: the character after its first single "&";
// a null QChar when it has none.
QChar acceleratorOf(const QString& caption);
// A caption as it is drawn: accelerator marks removed, "&&" as "&".
QString drawnCaption(const QString& caption);

} // namespace lingrove::model
