#pragma once
// The colours of the Pascal colourer from the Delphi IDE's editor settings:
// the key Software\Borland\Delphi\<n>.0\HighLight (n = 2 or 3) of the key
// store, one string value per token kind ("fg,bg,style,..."; field 1 the
// colour, field 3 the style letters B, I, U).
//
// No Delphi IDE writes that key here, so a missing key or value gives the
// classic editor colours of its kind (pascal::ColourScheme::classic()); a
// value that is stored always wins, even "0,0,,0,0,0,0" (black, no style).
#include "core/pascal/Highlight.h"

#include <QString>

namespace lingrove::platform {
class KeyStore;
}

namespace lingrove::model {

// Throws pascal::HighlightVersionError ("Only syntax highlighting from Delphi
// 2 and 3 are supported") for a version other than 2 or 3. Reads only.
pascal::ColourScheme readColourScheme(int version, const platform::KeyStore& store);

// A Windows system colour (COLOR_WINDOWTEXT = 8, ...): from the application's
// palette where it has a matching role, else the classic Windows colour.
pascal::Rgb systemColour(int index);

} // namespace lingrove::model
