#pragma once
// The values of a form's properties as Qt takes them: strings, colours, menu
// short cuts, pictures, alignments.
#include "core/formfile/FormTree.h"

#include <QColor>
#include <QImage>
#include <QKeySequence>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <string_view>

namespace lingrove::ui {

// The text of an 8-bit string of a form file (Windows-1252; every byte has
// a character).
QString formString(const std::string& bytes);

// A colour value of a form: a name (clRed, clBtnFace, ...) or a number
// $00BBGGRR, system colours ($80000000 + index) taken from the application's
// palette. Invalid for clNone, clDefault and what is no colour.
QColor delphiColor(const formfile::FormValue& value);

// A menu short cut as stored in a form (virtual key in the low byte, $2000
// Shift, $4000 Ctrl, $8000 Alt); empty for 0 and keys without a Qt name.
QKeySequence delphiShortCut(std::int32_t shortCut);

// The image of a stored picture. With className, data starts with a short
// string naming the graphic class (Picture.Data); without, it is a bitmap's
// data (Glyph.Data). A bitmap's bytes may be preceded by their 32-bit size.
// Null when the data holds no image Qt can read.
QImage formImage(const std::string& data, bool className);

} // namespace lingrove::ui

// What the builders of the form's widgets read from its components.
namespace lingrove::ui::formview {

// ASCII letters in lower case, as identifiers are compared.
std::string lower(std::string_view s);

// Places and sizes from a damaged or hostile file kept within reason.
int clampCoordinate(std::int32_t v);
int clampSize(std::int32_t v);

// A caption or item as shown: Windows line breaks become "\n".
QString displayText(const std::string& bytes);
// The short part of a hint ("short|long"), shown as written even where it
// looks like markup.
QString hintText(const std::string& bytes);
// The strings of a list property (Items.Strings, Lines.Strings) as shown.
QStringList stringList(const formfile::FormComponent& c, std::string_view name);
// An identifier property in lower case; fallback when absent or no identifier.
std::string ident(const formfile::FormComponent& c, std::string_view name, const char* fallback = "");

// taLeftJustify, taCenter, taRightJustify (in lower case); fallback for others.
Qt::Alignment horizontalAlignment(const std::string& id, Qt::Alignment fallback = Qt::AlignLeft);

// The first glyph of a stored button bitmap (Glyph.Data, NumGlyphs); its
// bottom-left pixel's colour is transparent, as the VCL draws glyphs. Null
// when there is none.
QPixmap glyphPixmap(const formfile::FormComponent& c);

} // namespace lingrove::ui::formview
