#include "model/ColourScheme.h"
#include "model/DelphiInstallation.h"

#include "platform/KeyStore.h"

#include <QGuiApplication>
#include <QPalette>

namespace lingrove::model {

pascal::Rgb systemColour(int index)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        const QPalette pal = QGuiApplication::palette();
        QPalette::ColorGroup group = QPalette::Active;
        QPalette::ColorRole role;
        switch (index) {
        case 4: role = QPalette::Window; break;             // menu
        case 5: role = QPalette::Base; break;               // window
        case 7: role = QPalette::WindowText; break;         // menu text
        case 8: role = QPalette::Text; break;               // window text
        case 13: role = QPalette::Highlight; break;
        case 14: role = QPalette::HighlightedText; break;
        case 15: role = QPalette::Button; break;            // button face
        case 16: role = QPalette::Dark; break;              // button shadow
        case 17: role = QPalette::Text; group = QPalette::Disabled; break;   // grey text
        case 18: role = QPalette::ButtonText; break;
        case 20: role = QPalette::Light; break;             // button highlight
        case 21: role = QPalette::Shadow; break;            // 3D dark shadow
        case 22: role = QPalette::Midlight; break;          // 3D light
        case 23: role = QPalette::ToolTipText; break;
        case 24: role = QPalette::ToolTipBase; break;
        default: return pascal::classicSystemColour(index);
        }
        const QColor c = pal.color(group, role);
        return pascal::Rgb{static_cast<quint8>(c.red()), static_cast<quint8>(c.green()),
                           static_cast<quint8>(c.blue())};
    }
    return pascal::classicSystemColour(index);
}

pascal::ColourScheme readColourScheme(int version, const platform::KeyStore& store)
{
    pascal::checkHighlightVersion(version);
    pascal::ColourScheme scheme = pascal::ColourScheme::classic();
    const QString key = delphi::highlightKey(version);
    if (!store.keyExists(key))
        return scheme;
    for (int k = 0; k < pascal::kTokenKindCount; ++k) {
        const char* name = pascal::highlightValueName(static_cast<pascal::TokenKind>(k));
        if (name == nullptr)
            continue;
        const QString valueName = QString::fromLatin1(name);
        if (!store.valueExists(key, valueName))
            continue;
        const QByteArray value = store.readString(key, valueName).toLatin1();
        scheme.styles[k] = pascal::parseHighlightValue(
            std::string_view(value.constData(), static_cast<std::size_t>(value.size())), systemColour);
    }
    return scheme;
}

} // namespace lingrove::model
