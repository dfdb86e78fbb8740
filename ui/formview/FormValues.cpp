// Form property values converted for Qt.
#include "ui/formview/FormValues.h"

#include "model/TextCodec.h"

#include <QApplication>
#include <QPalette>
#include <QTextDocument>

#include <algorithm>
#include <map>

namespace lingrove::ui {

using formfile::FormComponent;
using formfile::FormValue;

QString formString(const std::string& bytes)
{
    return model::fromWindows1252(bytes);
}

namespace {

// Palette stand-ins for the Windows system colours, by their index.
QColor systemColor(int index)
{
    const QPalette p = QApplication::palette();
    switch (index) {
    case 0: return p.color(QPalette::Button);            // clScrollBar
    case 1: return QColor(0, 128, 128);                  // clBackground (the desktop)
    case 2: return p.color(QPalette::Highlight);         // clActiveCaption
    case 3: return p.color(QPalette::Mid);               // clInactiveCaption
    case 4: return p.color(QPalette::Window);            // clMenu
    case 5: return p.color(QPalette::Base);              // clWindow
    case 6: return p.color(QPalette::Shadow);            // clWindowFrame
    case 7: return p.color(QPalette::WindowText);        // clMenuText
    case 8: return p.color(QPalette::Text);              // clWindowText
    case 9: return p.color(QPalette::HighlightedText);   // clCaptionText
    case 10:                                             // clActiveBorder
    case 11: return p.color(QPalette::Button);           // clInactiveBorder
    case 12: return p.color(QPalette::Dark);             // clAppWorkSpace
    case 13: return p.color(QPalette::Highlight);        // clHighlight
    case 14: return p.color(QPalette::HighlightedText);  // clHighlightText
    case 15: return p.color(QPalette::Button);           // clBtnFace
    case 16: return p.color(QPalette::Dark);             // clBtnShadow
    case 17: return p.color(QPalette::Disabled, QPalette::Text); // clGrayText
    case 18: return p.color(QPalette::ButtonText);       // clBtnText
    case 19: return p.color(QPalette::WindowText);       // clInactiveCaptionText
    case 20: return p.color(QPalette::Light);            // clBtnHighlight
    case 21: return p.color(QPalette::Shadow);           // cl3DDkShadow
    case 22: return p.color(QPalette::Midlight);         // cl3DLight
    case 23: return p.color(QPalette::ToolTipText);      // clInfoText
    case 24: return p.color(QPalette::ToolTipBase);      // clInfoBk
    default: return {};
    }
}

QColor fromDelphiNumber(std::uint32_t v)
{
    if ((v & 0xFF000000u) == 0x80000000u)
        return systemColor(static_cast<int>(v & 0xFFu));
    if (v == 0x1FFFFFFFu || v == 0x20000000u) // clNone, clDefault
        return {};
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

const std::map<std::string, std::uint32_t, std::less<>>& colorNames()
{
    static const std::map<std::string, std::uint32_t, std::less<>> names = [] {
        std::map<std::string, std::uint32_t, std::less<>> m = {
            {"clblack", 0x000000}, {"clmaroon", 0x000080}, {"clgreen", 0x008000}, {"clolive", 0x008080},
            {"clnavy", 0x800000},  {"clpurple", 0x800080}, {"clteal", 0x808000},  {"clgray", 0x808080},
            {"clsilver", 0xC0C0C0}, {"clred", 0x0000FF},   {"cllime", 0x00FF00},  {"clyellow", 0x00FFFF},
            {"clblue", 0xFF0000},  {"clfuchsia", 0xFF00FF}, {"claqua", 0xFFFF00}, {"clltgray", 0xC0C0C0},
            {"cldkgray", 0x808080}, {"clwhite", 0xFFFFFF}, {"clmoneygreen", 0xC0DCC0},
            {"clskyblue", 0xF0CAA6}, {"clcream", 0xF0FBFF}, {"clmedgray", 0xA4A0A0},
            {"clnone", 0x1FFFFFFF}, {"cldefault", 0x20000000},
        };
        const char* system[] = {"clscrollbar",       "clbackground",  "clactivecaption", "clinactivecaption",
                                "clmenu",            "clwindow",      "clwindowframe",   "clmenutext",
                                "clwindowtext",      "clcaptiontext", "clactiveborder",  "clinactiveborder",
                                "clappworkspace",    "clhighlight",   "clhighlighttext", "clbtnface",
                                "clbtnshadow",       "clgraytext",    "clbtntext",       "clinactivecaptiontext",
                                "clbtnhighlight",    "cl3ddkshadow",  "cl3dlight",       "clinfotext",
                                "clinfobk"};
        for (std::uint32_t i = 0; i < std::size(system); ++i)
            m[system[i]] = 0x80000000u | i;
        return m;
    }();
    return names;
}

} // namespace

QColor delphiColor(const FormValue& value)
{
    if (value.isInteger())
        return fromDelphiNumber(static_cast<std::uint32_t>(value.integer));
    if (value.isIdentifier()) {
        const auto& names = colorNames();
        const auto it = names.find(formview::lower(value.text));
        if (it != names.end())
            return fromDelphiNumber(it->second);
    }
    return {};
}

QKeySequence delphiShortCut(std::int32_t shortCut)
{
    const int vk = shortCut & 0xFF;
    int key = 0;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        key = vk; // Qt::Key_A.. and Qt::Key_0.. share the ASCII codes
    else if (vk >= 0x70 && vk <= 0x87)
        key = Qt::Key_F1 + (vk - 0x70);
    else if (vk >= 0x60 && vk <= 0x69)
        key = Qt::Key_0 + (vk - 0x60); // numeric pad digits
    else {
        static const std::map<int, int> keys = {
            {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},     {0x0D, Qt::Key_Return},
            {0x1B, Qt::Key_Escape},    {0x20, Qt::Key_Space},   {0x21, Qt::Key_PageUp},
            {0x22, Qt::Key_PageDown},  {0x23, Qt::Key_End},     {0x24, Qt::Key_Home},
            {0x25, Qt::Key_Left},      {0x26, Qt::Key_Up},      {0x27, Qt::Key_Right},
            {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert},  {0x2E, Qt::Key_Delete},
            {0x6A, Qt::Key_Asterisk},  {0x6B, Qt::Key_Plus},    {0x6D, Qt::Key_Minus},
            {0x6E, Qt::Key_Period},    {0x6F, Qt::Key_Slash},
        };
        const auto it = keys.find(vk);
        if (it == keys.end())
            return {};
        key = it->second;
    }
    int modifiers = 0;
    if (shortCut & 0x2000)
        modifiers |= Qt::SHIFT;
    if (shortCut & 0x4000)
        modifiers |= Qt::CTRL;
    if (shortCut & 0x8000)
        modifiers |= Qt::ALT;
    return QKeySequence(key | modifiers);
}

QImage formImage(const std::string& data, bool className)
{
    QByteArray bytes = QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size()));
    if (className) {
        if (bytes.isEmpty())
            return {};
        const int length = static_cast<uchar>(bytes[0]);
        if (bytes.size() < 1 + length)
            return {};
        bytes = bytes.mid(1 + length);
    }
    QImage image;
    // The graphic's own bytes, or its 32-bit size first (as bitmaps, JPEG
    // images and others write themselves).
    if (bytes.size() > 4) {
        const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
        const quint32 size = b[0] | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
        if (size > 0 && size <= quint32(bytes.size() - 4) && image.loadFromData(bytes.mid(4, qsizetype(size))))
            return image;
    }
    if (image.loadFromData(bytes))
        return image;
    return {};
}

} // namespace lingrove::ui

namespace lingrove::ui::formview {

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

int clampCoordinate(std::int32_t v)
{
    return static_cast<int>(std::clamp<std::int32_t>(v, -20000, 20000));
}

int clampSize(std::int32_t v)
{
    return static_cast<int>(std::clamp<std::int32_t>(v, 0, 20000));
}

QString displayText(const std::string& bytes)
{
    QString s = formString(bytes);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

QString hintText(const std::string& bytes)
{
    QString s = displayText(bytes);
    const qsizetype bar = s.indexOf(u'|');
    if (bar >= 0)
        s.truncate(bar);
    if (Qt::mightBeRichText(s))
        s = "<p style='white-space:pre'>" + s.toHtmlEscaped() + "</p>";
    return s;
}

QStringList stringList(const FormComponent& c, std::string_view name)
{
    QStringList out;
    for (const std::string& s : c.strings(name))
        out << displayText(s);
    return out;
}

std::string ident(const FormComponent& c, std::string_view name, const char* fallback)
{
    const FormValue* v = c.find(name);
    return lower(v && v->isIdentifier() ? v->text : std::string(fallback));
}

Qt::Alignment horizontalAlignment(const std::string& id, Qt::Alignment fallback)
{
    if (id == "tacenter")
        return Qt::AlignHCenter;
    if (id == "tarightjustify")
        return Qt::AlignRight;
    if (id == "taleftjustify")
        return Qt::AlignLeft;
    return fallback;
}

QPixmap glyphPixmap(const FormComponent& c)
{
    const FormValue* data = c.find("Glyph.Data");
    if (!data || data->type != FormValue::Type::Binary)
        return {};
    QImage image = formImage(data->text, false);
    if (image.isNull())
        return {};
    const int glyphs = std::clamp(c.integer("NumGlyphs", 1), 1, 4);
    if (glyphs > 1 && image.width() >= glyphs)
        image = image.copy(0, 0, image.width() / glyphs, image.height());
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, image.height() - 1)));
    return pixmap;
}

} // namespace lingrove::ui::formview
