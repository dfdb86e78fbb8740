#pragma once
// The settings in the key store, under SOFTWARE\QUORVEX\Lingrove\2.0: the
// three tool paths as strings ("IDE", "Compiler", "Rescomp"), the seven
// string filters, the colour scheme ("Highlights") and the two looks ("SFC",
// "SFB", ... and "CFC", ...) as integers, colours as 0x00BBGGRR; where the
// dictionary tables live as "Dictionaries" ("Local" or "Server") with the
// server's "ServerHost", "ServerPort" (integer), "ServerDatabase",
// "ServerUser" and "ServerSslMode" (missing values: this computer, libpq's
// defaults). No password is ever stored.
#include "model/Settings.h"

namespace lingrove::platform {
class KeyStore;
}

namespace lingrove::model::settings_store {

// Colours as the key store keeps them: 0x00BBGGRR.
QColor colorFromNumber(qint32 number);
qint32 colorNumber(const QColor& color);

// Reads the stored settings into settings, value by value in the order the
// program always read them. Throws platform::KeyStoreError at an integer that
// is missing or not stored as an integer; what was read before it is then in
// settings, the rest as it was.
void load(const platform::KeyStore& store, Settings& settings);

// Writes settings. With replace the settings key is deleted first (as when
// the program was configured before). False (nothing written) when the key
// cannot be created; throws platform::KeyStoreError when a value cannot be
// written.
bool save(platform::KeyStore& store, const Settings& settings, bool replace);

} // namespace lingrove::model::settings_store
