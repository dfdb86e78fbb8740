#include "model/SettingsStore.h"

#include "model/DelphiInstallation.h"
#include "platform/KeyStore.h"

#include <algorithm>

namespace lingrove::model::settings_store {

namespace {

const QString kKey = QString::fromLatin1(delphi::kSettingsKey);

struct Switch {
    const char* name;
    bool scanner::FilterSwitches::*field;
};

// In the order they are read.
constexpr Switch kSwitches[] = {
    {"Empty", &scanner::FilterSwitches::Empty},           {"Dirs", &scanner::FilterSwitches::Dirs},
    {"Numbers", &scanner::FilterSwitches::Numbers},       {"Fonts", &scanner::FilterSwitches::Fonts},
    {"Extentions", &scanner::FilterSwitches::Extentions}, {"DateTime", &scanner::FilterSwitches::DateTime},
    {"Separator", &scanner::FilterSwitches::Separator},
};

// The style flags of a look in the order of their value names B, I, U, S.
bool TextLook::*const kStyles[4] = {&TextLook::bold, &TextLook::italic, &TextLook::underline, &TextLook::strikeOut};
const char* const kStyleNames[4] = {"B", "I", "U", "S"};

void loadLook(const platform::KeyStore& store, const QString& prefix, TextLook& look)
{
    look.color = colorFromNumber(store.readInteger(kKey, prefix + QLatin1Char('C')));
    for (int i = 0; i < 4; ++i)
        look.*kStyles[i] = store.readInteger(kKey, prefix + QLatin1String(kStyleNames[i])) != 0;
}

void saveLook(platform::KeyStore& store, const QString& prefix, const TextLook& look)
{
    store.writeInteger(kKey, prefix + QLatin1Char('C'), colorNumber(look.color));
    for (int i = 0; i < 4; ++i)
        store.writeInteger(kKey, prefix + QLatin1String(kStyleNames[i]), look.*kStyles[i] ? 1 : 0);
}

// Optional values: settings stored before these existed read as this
// computer and libpq's defaults.
void loadDictionary(const platform::KeyStore& store, DictionaryLocation& location)
{
    location = DictionaryLocation();
    const QString place = store.readString(kKey, QStringLiteral("Dictionaries"));
    location.kind = place.compare(QLatin1String("Server"), Qt::CaseInsensitive) == 0 ? DictionaryLocation::Kind::Server
                                                                                     : DictionaryLocation::Kind::Local;
    DictionaryServer& server = location.server;
    server.host = store.readString(kKey, QStringLiteral("ServerHost"));
    if (store.valueExists(kKey, QStringLiteral("ServerPort"))) {
        try {
            server.port = std::clamp(store.readInteger(kKey, QStringLiteral("ServerPort")), 0, 65535);
        } catch (const platform::KeyStoreError&) {
            server.port = 0;
        }
    }
    server.database = store.readString(kKey, QStringLiteral("ServerDatabase"));
    server.user = store.readString(kKey, QStringLiteral("ServerUser"));
    const QString mode = store.readString(kKey, QStringLiteral("ServerSslMode"));
    if (sslModes().contains(mode))
        server.sslMode = mode;
}

} // namespace

QColor colorFromNumber(qint32 number)
{
    const auto n = static_cast<quint32>(number);
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

qint32 colorNumber(const QColor& color)
{
    return qint32(quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16));
}

void load(const platform::KeyStore& store, Settings& settings)
{
    settings.ide = ToolPath::fromStored(store.readString(kKey, QStringLiteral("IDE")));
    settings.compiler = ToolPath::fromStored(store.readString(kKey, QStringLiteral("Compiler")));
    settings.resourceCompiler = ToolPath::fromStored(store.readString(kKey, QStringLiteral("Rescomp")));
    for (const Switch& s : kSwitches)
        settings.accept.*s.field = store.readInteger(kKey, QString::fromLatin1(s.name)) != 0;
    settings.colourScheme = store.readInteger(kKey, QStringLiteral("Highlights")) & 0xFF;
    loadLook(store, QStringLiteral("SF"), settings.selectedLook);
    loadLook(store, QStringLiteral("CF"), settings.changedLook);
    loadDictionary(store, settings.dictionary);
}

bool save(platform::KeyStore& store, const Settings& settings, bool replace)
{
    if (replace)
        store.deleteKey(kKey);
    if (!store.createKey(kKey))
        return false;
    store.writeString(kKey, QStringLiteral("Compiler"), settings.compiler.stored());
    store.writeString(kKey, QStringLiteral("IDE"), settings.ide.stored());
    store.writeString(kKey, QStringLiteral("ResComp"), settings.resourceCompiler.stored());
    // In the order the options dialog always wrote them.
    const scanner::FilterSwitches& a = settings.accept;
    const std::pair<const char*, bool> switches[] = {
        {"Empty", a.Empty}, {"Fonts", a.Fonts}, {"Numbers", a.Numbers}, {"DateTime", a.DateTime},
        {"Dirs", a.Dirs},   {"Extentions", a.Extentions}, {"Separator", a.Separator},
    };
    for (const auto& [name, on] : switches)
        store.writeInteger(kKey, QString::fromLatin1(name), on ? 1 : 0);
    saveLook(store, QStringLiteral("SF"), settings.selectedLook);
    saveLook(store, QStringLiteral("CF"), settings.changedLook);
    if (settings.colourScheme == 2 || settings.colourScheme == 3)
        store.writeInteger(kKey, QStringLiteral("Highlights"), settings.colourScheme);
    const DictionaryLocation& d = settings.dictionary;
    store.writeString(kKey, QStringLiteral("Dictionaries"),
                      d.isServer() ? QStringLiteral("Server") : QStringLiteral("Local"));
    store.writeString(kKey, QStringLiteral("ServerHost"), d.server.host);
    store.writeInteger(kKey, QStringLiteral("ServerPort"), d.server.port);
    store.writeString(kKey, QStringLiteral("ServerDatabase"), d.server.database);
    store.writeString(kKey, QStringLiteral("ServerUser"), d.server.user);
    store.writeString(kKey, QStringLiteral("ServerSslMode"), d.server.sslMode);
    return true;
}

} // namespace lingrove::model::settings_store
