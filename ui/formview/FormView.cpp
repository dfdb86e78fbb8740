// A Delphi form's component tree built into Qt widgets.
#include "ui/formview/FormView.h"

#include "model/TextCodec.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <qdrawutil.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <set>

namespace lingrove::ui {

using formfile::FormComponent;
using formfile::FormValue;

// ---------------------------------------------------------------------------
// Values

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

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

QColor delphiColor(const FormValue& value)
{
    if (value.isInteger())
        return fromDelphiNumber(static_cast<std::uint32_t>(value.integer));
    if (value.isIdentifier()) {
        const auto& names = colorNames();
        const auto it = names.find(lower(value.text));
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

// ---------------------------------------------------------------------------
// Widgets drawn as the VCL draws them

namespace {

enum class Align { None, Top, Bottom, Left, Right, Client };

Align alignOf(const std::string& name)
{
    static const std::map<std::string, Align, std::less<>> names = {
        {"altop", Align::Top},   {"albottom", Align::Bottom}, {"alleft", Align::Left},
        {"alright", Align::Right}, {"alclient", Align::Client}, {"alnone", Align::None},
    };
    const auto it = names.find(lower(name));
    return it == names.end() ? Align::None : it->second;
}

// Panel: outer and inner bevel, border, caption.
class PanelWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString caption;
    int outer = 1, inner = 0; // 0 none, 1 raised, -1 lowered
    int bevelWidth = 1, borderWidth = 0;
    bool single = false;
    Qt::Alignment alignment = Qt::AlignCenter;

    int inset() const
    {
        return borderWidth + (outer ? bevelWidth : 0) + (inner ? bevelWidth : 0) + (single ? 1 : 0);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QRect r = rect();
        if (single) {
            p.setPen(palette().color(QPalette::WindowText));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            r.adjust(1, 1, -1, -1);
        }
        if (outer) {
            qDrawShadePanel(&p, r, palette(), outer < 0, bevelWidth);
            r.adjust(bevelWidth, bevelWidth, -bevelWidth, -bevelWidth);
        }
        r.adjust(borderWidth, borderWidth, -borderWidth, -borderWidth);
        if (inner) {
            qDrawShadePanel(&p, r, palette(), inner < 0, bevelWidth);
            r.adjust(bevelWidth, bevelWidth, -bevelWidth, -bevelWidth);
        }
        if (!caption.isEmpty()) {
            p.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, QPalette::WindowText));
            p.drawText(r, static_cast<int>(alignment | Qt::TextShowMnemonic), caption);
        }
    }
};

class BevelWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString shape = "bsbox";
    bool raised = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QPalette& pal = palette();
        const QColor dark = pal.color(QPalette::Dark), light = pal.color(QPalette::Light);
        const QColor first = raised ? light : dark, second = raised ? dark : light;
        const int w = width(), h = height();
        auto hline = [&](int y) {
            p.setPen(first);
            p.drawLine(0, y, w - 1, y);
            p.setPen(second);
            p.drawLine(0, y + 1, w - 1, y + 1);
        };
        auto vline = [&](int x) {
            p.setPen(first);
            p.drawLine(x, 0, x, h - 1);
            p.setPen(second);
            p.drawLine(x + 1, 0, x + 1, h - 1);
        };
        if (shape == "bstopline")
            hline(0);
        else if (shape == "bsbottomline")
            hline(h - 2);
        else if (shape == "bsleftline")
            vline(0);
        else if (shape == "bsrightline")
            vline(w - 2);
        else if (shape == "bsframe") {
            p.setPen(first);
            p.drawRect(0, 0, w - 2, h - 2);
            p.setPen(second);
            p.drawRect(1, 1, w - 2, h - 2);
        } else if (shape == "bsbox")
            qDrawShadeRect(&p, rect(), pal, !raised, 1);
        // bsSpacer draws nothing
    }
};

class ShapeWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString shape = "strectangle";
    QBrush brush = QBrush(Qt::white);
    QPen pen = QPen(Qt::black);

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(pen);
        p.setBrush(brush);
        const int pw = std::max(1, pen.width());
        QRectF r(pw / 2.0, pw / 2.0, width() - pw, height() - pw);
        if (shape.startsWith("stsquare") || shape == "stroundsquare" || shape == "stcircle") {
            const qreal side = std::min(r.width(), r.height());
            r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
        }
        if (shape == "stellipse" || shape == "stcircle")
            p.drawEllipse(r);
        else if (shape == "stroundrect" || shape == "stroundsquare") {
            const qreal radius = std::min(r.width(), r.height()) / 4;
            p.drawRoundedRect(r, radius, radius);
        } else
            p.drawRect(r);
    }
};

// A component of a class the viewer does not know, as a frame of its size.
class PlaceholderWidget : public QWidget {
public:
    using QWidget::QWidget;
    QString text;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(255, 255, 255, 96));
        QPen pen(palette().color(QPalette::Dark));
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.drawLine(0, 0, width() - 1, height() - 1);
        p.drawLine(0, height() - 1, width() - 1, 0);
        p.setPen(palette().color(QPalette::WindowText));
        const QRect inner = rect().adjusted(2, 2, -2, -2);
        const QRect box = p.boundingRect(inner, Qt::AlignCenter, text).adjusted(-2, 0, 2, 0);
        p.fillRect(box & inner, palette().color(QPalette::Window));
        p.drawText(inner, Qt::AlignCenter, text);
    }
};

// A tab control: tabs across the top, a panel below; its controls stand on
// the panel regardless of the tab shown.
class TabControlWidget : public QWidget {
public:
    explicit TabControlWidget(QWidget* parent)
        : QWidget(parent), tabs(new QTabBar(this))
    {
        tabs->setDrawBase(false);
        tabs->setExpanding(false);
    }
    QTabBar* tabs;

    int tabHeight() const { return tabs->count() ? tabs->sizeHint().height() : 0; }

protected:
    void resizeEvent(QResizeEvent*) override { tabs->setGeometry(0, 0, width(), tabHeight()); }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        qDrawShadePanel(&p, QRect(0, tabHeight() - 1, width(), height() - tabHeight() + 1), palette(), false, 1);
    }
};

class StatusBarWidget : public QFrame {
public:
    using QFrame::QFrame;
};

// Lays out the aligned controls of one container as the VCL does: the
// alTop ones from the top down, then alBottom from the bottom up, alLeft,
// alRight, and alClient in what is left. Controls of one kind take their
// turns by their designed place (alTop by top edge, alBottom by bottom edge
// from below, alLeft by left edge, alRight by right edge from the right),
// in creation order where that is the same; so a splitter stored before
// the tree view left of it still comes after it.
class AlignFilter : public QObject {
public:
    AlignFilter(QWidget* container, QMargins insets)
        : QObject(container), container_(container), insets_(insets)
    {
        container->installEventFilter(this);
    }

    // designed: the control's place as stored in the form.
    void add(QWidget* w, Align align, QRect designed)
    {
        int key = 0;
        switch (align) {
        case Align::Top: key = designed.top(); break;
        case Align::Bottom: key = -(designed.bottom() + 1); break;
        case Align::Left: key = designed.left(); break;
        case Align::Right: key = -(designed.right() + 1); break;
        default: break;
        }
        Control control{w, align, key};
        const auto at = std::upper_bound(controls_.begin(), controls_.end(), control,
                                         [](const Control& a, const Control& b) { return a.key < b.key; });
        controls_.insert(at, control);
    }

    void realign()
    {
        QRect r = container_->rect().marginsRemoved(insets_);
        for (Align kind : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
            for (const auto& [w, align, key] : controls_) {
                if (!w || align != kind || w->isHidden())
                    continue;
                const QSize size = w->size();
                switch (kind) {
                case Align::Top:
                    w->setGeometry(r.left(), r.top(), r.width(), size.height());
                    r.setTop(r.top() + size.height());
                    break;
                case Align::Bottom:
                    w->setGeometry(r.left(), r.bottom() + 1 - size.height(), r.width(), size.height());
                    r.setBottom(r.bottom() - size.height());
                    break;
                case Align::Left:
                    w->setGeometry(r.left(), r.top(), size.width(), r.height());
                    r.setLeft(r.left() + size.width());
                    break;
                case Align::Right:
                    w->setGeometry(r.right() + 1 - size.width(), r.top(), size.width(), r.height());
                    r.setRight(r.right() - size.width());
                    break;
                default:
                    w->setGeometry(r.left(), r.top(), std::max(0, r.width()), std::max(0, r.height()));
                    break;
                }
            }
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == container_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
            realign();
        return false;
    }

private:
    QWidget* container_;
    QMargins insets_;
    struct Control {
        QPointer<QWidget> widget;
        Align align;
        int key;
    };
    std::vector<Control> controls_;   // by key, then in creation order
};

// Components that are no controls: they create nothing, and neither do
// their children (the items of a pop-up menu).
const std::set<std::string, std::less<>>& nonVisualClasses()
{
    static const std::set<std::string, std::less<>> names = [] {
        std::set<std::string, std::less<>> s;
        for (const char* n :
             {"TOpenDialog",   "TSaveDialog",    "TFontDialog",     "TColorDialog",   "TPrintDialog",
              "TPrinterSetupDialog", "TFindDialog", "TReplaceDialog", "TOpenPictureDialog",
              "TSavePictureDialog", "TPageSetupDialog", "TTimer", "TPopupMenu", "TImageList", "TActionList",
              "TAction",       "TTable",         "TQuery",          "TStoredProc",    "TDataSource",
              "TDatabase",     "TSession",       "TBatchMove",      "TUpdateSQL",     "TField",
              "TStringField",  "TIntegerField",  "TSmallintField",  "TWordField",     "TFloatField",
              "TCurrencyField", "TBCDField",     "TBooleanField",   "TDateField",     "TTimeField",
              "TDateTimeField", "TBlobField",    "TMemoField",      "TGraphicField",  "TAutoIncField",
              "TBytesField",   "TVarBytesField", "TClientDataSet",  "TDDEClientConv", "TDDEClientItem",
              "TDDEServerConv", "TDDEServerItem", "TApplicationEvents", "TReport",     "TMenuItem",
              "TProvider",     "TRemoteServer",  "TMediaPlayer"})
            s.insert(lower(n));
        return s;
    }();
    return names;
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

// The short part of a hint ("short|long").
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

std::string ident(const FormComponent& c, std::string_view name, const char* fallback = "")
{
    const FormValue* v = c.find(name);
    return lower(v && v->isIdentifier() ? v->text : std::string(fallback));
}

Qt::Alignment horizontalAlignment(const std::string& id, Qt::Alignment fallback = Qt::AlignLeft)
{
    if (id == "tacenter")
        return Qt::AlignHCenter;
    if (id == "tarightjustify")
        return Qt::AlignRight;
    if (id == "taleftjustify")
        return Qt::AlignLeft;
    return fallback;
}

// A control's Color: the text area of edits and lists, the face of
// everything else. The face colour reaches the children that have none of
// their own, as a parent's colour does; the text areas of the children keep
// theirs.
void setBackground(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QComboBox*>(w)
        || qobject_cast<QAbstractSpinBox*>(w)) {
        p.setColor(QPalette::Base, color);
        w->setPalette(p);
        return;
    }
    p.setColor(QPalette::Window, color);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColor(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, color);
    w->setPalette(p);
}

// The first glyph of a stored button bitmap; its bottom-left pixel's colour
// is transparent, as the VCL draws glyphs.
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

// The nodes of a tree view's stored Items.Data: a 32-bit count of the top
// nodes, then each node as its record (four image indexes, data pointer,
// child count: six 32-bit numbers; then the text as a short string),
// followed by its children. Delphi 3 writes each record's size (32 bits)
// before it, older writers do not; both layouts are read.
class TreeNodeReader {
public:
    TreeNodeReader(const std::string& data, bool sized)
        : p_(reinterpret_cast<const uchar*>(data.data())), end_(p_ + data.size()), sized_(sized)
    {
    }

    // The nodes read into tree. False when the data ends early or is
    // malformed; what was read stays.
    bool read(QTreeWidget* tree)
    {
        qint32 count = 0;
        if (!i32(count))
            return false;
        for (qint32 i = 0; i < count; ++i)
            if (!node(new QTreeWidgetItem(tree), 0))
                return false;
        return p_ == end_;
    }

    int nodes() const { return nodes_; }

private:
    bool i32(qint32& v)
    {
        if (end_ - p_ < 4)
            return false;
        v = static_cast<qint32>(p_[0] | (quint32(p_[1]) << 8) | (quint32(p_[2]) << 16) | (quint32(p_[3]) << 24));
        p_ += 4;
        return true;
    }

    bool node(QTreeWidgetItem* item, int depth)
    {
        if (++nodes_ > 100000 || depth > 200)
            return false;
        qint32 size = 0;
        if (sized_ && (!i32(size) || size < 25 || end_ - p_ < size))
            return false;
        if (end_ - p_ < 25)
            return false;
        const uchar* record = p_;
        const int length = record[24];
        if (sized_ ? 25 + length != size : end_ - p_ < 25 + length)
            return false;
        p_ += 25 + length;
        item->setText(0, displayText(std::string(reinterpret_cast<const char*>(record + 25),
                                                 static_cast<std::size_t>(length))));
        const qint32 children = static_cast<qint32>(record[20] | (quint32(record[21]) << 8)
                                                    | (quint32(record[22]) << 16) | (quint32(record[23]) << 24));
        for (qint32 i = 0; i < children; ++i)
            if (!node(new QTreeWidgetItem(item), depth + 1))
                return false;
        return true;
    }

    const uchar* p_;
    const uchar* end_;
    bool sized_;
    int nodes_ = 0;
};

// The stored nodes of a tree view: the layout that reads the whole data,
// else what the layout that got further could read.
void readTreeNodes(QTreeWidget* tree, const std::string& data)
{
    TreeNodeReader sized(data, true);
    if (sized.read(tree))
        return;
    const int sizedNodes = sized.nodes();
    tree->clear();
    TreeNodeReader plain(data, false);
    if (plain.read(tree) || plain.nodes() >= sizedNodes)
        return;
    tree->clear();
    TreeNodeReader(data, true).read(tree);
}

} // namespace

// ---------------------------------------------------------------------------
// Building

class FormBuilder {
public:
    explicit FormBuilder(FormView& view, const FormComponent& form)
        : view_(view), form_(form)
    {
        pixelsPerInch_ = std::clamp(form.integer("PixelsPerInch", 96), 24, 960);
    }

    void build()
    {
        view_.setObjectName(formString(form_.name));
        view_.setProperty("delphiClass", formString(form_.className));
        view_.setWindowTitle(displayText(form_.text("Caption")));

        auto* layout = new QVBoxLayout(&view_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);

        view_.client_ = new QWidget(&view_);
        view_.client_->setObjectName("FormClientArea");
        layout->addWidget(view_.client_, 1);

        applyFont(&view_, form_);
        if (const FormValue* color = form_.find("Color")) {
            const QColor c = delphiColor(*color);
            if (c.isValid())
                setBackground(view_.client_, c);
        }

        const FormComponent* menu = mainMenu();
        for (const FormComponent& child : form_.children) {
            if (&child == menu)
                buildMenuBar(child);
            else
                build(child, view_.client_);
        }
        if (view_.menuBar_)
            layout->setMenuBar(view_.menuBar_);

        if (!view_.unknown_.isEmpty()) {
            view_.status_ = new QStatusBar(&view_);
            view_.status_->setObjectName("FormViewStatusLine");
            view_.status_->setSizeGripEnabled(false);
            auto* label = new QLabel("Not shown as themselves: " + view_.unknown_.join(", "), view_.status_);
            label->setObjectName("FormViewUnknownClasses");
            label->setTextFormat(Qt::PlainText);
            view_.status_->addWidget(label, 1);
            layout->addWidget(view_.status_);
        }

        placeWindow();
        layout->activate();
        for (AlignFilter* f : filters_)
            f->realign();
        for (const auto& [label, focus] : buddies_) {
            QWidget* target = focus.empty() ? nullptr : view_.findChild<QWidget*>(formString(focus));
            label->setBuddy(target ? target : label);
        }
    }

private:
    // The form's main menu: the one its Menu property names, else the first.
    const FormComponent* mainMenu() const
    {
        const std::string named = form_.text("Menu");
        const FormComponent* first = nullptr;
        for (const FormComponent& c : form_.children) {
            if (!formfile::sameIdentifier(c.className, "TMainMenu"))
                continue;
            if (!named.empty() && formfile::sameIdentifier(c.name, named))
                return &c;
            if (!first)
                first = &c;
        }
        return first;
    }

    void placeWindow()
    {
        const std::string border = ident(form_, "BorderStyle", "bsSizeable");
        QSize frame(8, 27); // sizing frame and caption of a Windows form
        if (border == "bsnone")
            frame = QSize(0, 0);
        else if (border == "bsdialog" || border == "bssingle")
            frame = QSize(6, 25);
        else if (border == "bstoolwindow")
            frame = QSize(6, 21);
        else if (border == "bssizetoolwin")
            frame = QSize(8, 23);

        // In 64 bits: the stored numbers may be anything.
        const long long w = form_.find("ClientWidth") ? form_.integer("ClientWidth")
                                                      : 1LL * form_.integer("Width", 400) - frame.width();
        const long long h = form_.find("ClientHeight") ? form_.integer("ClientHeight")
                                                       : 1LL * form_.integer("Height", 300) - frame.height()
                                                             - (view_.menuBar_ ? 19 : 0);
        const int width = static_cast<int>(std::clamp(w, 40LL, 4000LL));
        const int height = static_cast<int>(std::clamp(h, 20LL, 4000LL));
        view_.client_->setMinimumSize(0, 0);
        int total = height;
        if (view_.menuBar_)
            total += view_.menuBar_->sizeHint().height();
        if (view_.status_)
            total += view_.status_->sizeHint().height();
        view_.resize(width, total);
        view_.client_->resize(width, height);

        const std::string position = ident(form_, "Position", "poDesigned");
        QScreen* screen = view_.parentWidget() ? view_.parentWidget()->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        QPoint at(clampCoordinate(form_.integer("Left")), clampCoordinate(form_.integer("Top")));
        if (position == "poscreencenter" || position == "podesktopcenter"
            || (position == "pomainformcenter" && !view_.parentWidget())) {
            at = available.center() - QPoint(width / 2, total / 2);
        } else if (position == "pomainformcenter") {
            const QRect owner = view_.parentWidget()->window()->frameGeometry();
            at = owner.center() - QPoint(width / 2, total / 2);
        } else if (position == "podefault" || position == "podefaultposonly") {
            return; // left to the window manager
        }
        // Keep the title bar reachable on this screen.
        at.setX(std::clamp(at.x(), available.left(), std::max(available.left(), available.right() - 100)));
        at.setY(std::clamp(at.y(), available.top(), std::max(available.top(), available.bottom() - 50)));
        view_.move(at);
    }

    QFont fontFrom(const FormComponent& c, QFont font) const
    {
        if (c.find("Font.Name"))
            font.setFamily(formString(c.text("Font.Name")));
        if (const FormValue* h = c.find("Font.Height"); h && h->isInteger() && h->integer != 0) {
            // Negative: the character height in pixels; positive: the cell
            // height, internal leading included.
            const long long height = h->integer;
            const long long px = height < 0 ? -height : height * 4 / 5;
            font.setPixelSize(static_cast<int>(std::clamp(px, 1LL, 500LL)));
        } else if (const FormValue* s = c.find("Font.Size"); s && s->isInteger() && s->integer != 0) {
            const long long px = (std::llabs(s->integer) * pixelsPerInch_ + 36) / 72;
            font.setPixelSize(static_cast<int>(std::clamp(px, 1LL, 500LL)));
        }
        if (const FormValue* style = c.find("Font.Style"); style && style->type == FormValue::Type::Set) {
            auto has = [&](const char* e) {
                return std::any_of(style->elements.begin(), style->elements.end(),
                                   [&](const std::string& s) { return formfile::sameIdentifier(s, e); });
            };
            font.setBold(has("fsBold"));
            font.setItalic(has("fsItalic"));
            font.setUnderline(has("fsUnderline"));
            font.setStrikeOut(has("fsStrikeOut"));
        }
        return font;
    }

    void applyFont(QWidget* w, const FormComponent& c)
    {
        bool any = false;
        for (const char* p : {"Font.Name", "Font.Height", "Font.Size", "Font.Style"})
            any = any || c.find(p);
        if (any)
            w->setFont(fontFrom(c, w->font()));
        if (const FormValue* color = c.find("Font.Color")) {
            const QColor col = delphiColor(*color);
            if (col.isValid())
                setTextColor(w, col);
        }
    }

    void applyCommon(QWidget* w, const FormComponent& c, QWidget* parent, QSize defaultSize, Align defaultAlign)
    {
        w->setObjectName(formString(c.name));
        w->setProperty("delphiClass", formString(c.className));
        const int left = clampCoordinate(c.integer("Left"));
        const int top = clampCoordinate(c.integer("Top"));
        const int width = clampSize(c.integer("Width", defaultSize.width()));
        const int height = clampSize(c.integer("Height", defaultSize.height()));
        w->setGeometry(left, top, width, height);

        applyFont(w, c);
        if (const FormValue* color = c.find("Color")) {
            const QColor col = delphiColor(*color);
            if (col.isValid())
                setBackground(w, col);
        }
        if (const FormValue* hint = c.find("Hint"); hint && hint->isString() && !hint->text.empty())
            w->setToolTip(hintText(hint->text));
        if (!c.boolean("Enabled", true))
            w->setEnabled(false);
        if (!c.boolean("Visible", true))
            w->setVisible(false);

        const FormValue* alignValue = c.find("Align");
        const Align align = alignValue && alignValue->isIdentifier() ? alignOf(alignValue->text) : defaultAlign;
        if (align != Align::None)
            filterOf(parent).add(w, align, QRect(left, top, width, height));
    }

    AlignFilter& filterOf(QWidget* container)
    {
        auto it = filterByContainer_.find(container);
        if (it == filterByContainer_.end()) {
            auto* filter = new AlignFilter(container, insets_.value(container));
            filters_.push_back(filter);
            it = filterByContainer_.emplace(container, filter).first;
        }
        return *it->second;
    }

    // Builds c (and its children) into parent; nothing for non-visual components.
    void build(const FormComponent& c, QWidget* parent)
    {
        const std::string cls = lower(c.className);
        if (nonVisualClasses().count(cls) || cls == "tmainmenu")
            return;

        QWidget* w = nullptr;
        QWidget* container = nullptr; // where the children go; w when null
        QSize size(100, 25);
        Align defaultAlign = Align::None;
        const QString caption = displayText(c.text("Caption"));

        if (cls == "tpanel") {
            auto* panel = new PanelWidget(parent);
            panel->caption = caption;
            panel->outer = bevel(ident(c, "BevelOuter", "bvRaised"));
            panel->inner = bevel(ident(c, "BevelInner", "bvNone"));
            panel->bevelWidth = std::clamp(c.integer("BevelWidth", 1), 1, 100);
            panel->borderWidth = std::clamp(c.integer("BorderWidth", 0), 0, 100);
            panel->single = ident(c, "BorderStyle") == "bssingle";
            panel->alignment = horizontalAlignment(ident(c, "Alignment"), Qt::AlignHCenter) | Qt::AlignVCenter;
            panel->setProperty("caption", caption);
            const int in = panel->inset();
            insets_.insert(panel, QMargins(in, in, in, in));
            w = panel;
            size = QSize(185, 41);
        } else if (cls == "tgroupbox" || cls == "tradiogroup") {
            auto* box = new QGroupBox(caption, parent);
            w = box;
            size = QSize(185, 105);
            applyFont(box, c);
            const int text = box->fontMetrics().height();
            insets_.insert(box, QMargins(2, text + 2, 2, 2));
            if (cls == "tradiogroup")
                radioItems(box, c, text);
        } else if (cls == "tscrollbox") {
            auto* area = new QScrollArea(parent);
            auto* inner = new QWidget;
            inner->setObjectName(formString(c.name) + "Client");
            area->setWidget(inner);
            area->setWidgetResizable(true);
            if (ident(c, "BorderStyle", "bsSingle") == "bsnone")
                area->setFrameShape(QFrame::NoFrame);
            w = area;
            container = inner;
            size = QSize(185, 41);
        } else if (cls == "tbevel") {
            auto* bevelWidget = new BevelWidget(parent);
            bevelWidget->shape = QString::fromStdString(ident(c, "Shape", "bsBox"));
            bevelWidget->raised = ident(c, "Style") == "bsraised";
            w = bevelWidget;
            size = QSize(50, 50);
        } else if (cls == "tshape") {
            auto* shape = new ShapeWidget(parent);
            shape->shape = QString::fromStdString(ident(c, "Shape", "stRectangle"));
            if (const FormValue* v = c.find("Brush.Color"); v && delphiColor(*v).isValid())
                shape->brush.setColor(delphiColor(*v));
            if (ident(c, "Brush.Style") == "bsclear")
                shape->brush = Qt::NoBrush;
            if (const FormValue* v = c.find("Pen.Color"); v && delphiColor(*v).isValid())
                shape->pen.setColor(delphiColor(*v));
            shape->pen.setWidth(std::clamp(c.integer("Pen.Width", 1), 0, 100));
            if (ident(c, "Pen.Style") == "psclear")
                shape->pen = Qt::NoPen;
            w = shape;
            size = QSize(65, 65);
        } else if (cls == "tlabel" || cls == "tstatictext") {
            auto* label = new QLabel(caption, parent);
            label->setTextFormat(Qt::PlainText);
            const std::string layout = ident(c, "Layout", "tlTop");
            Qt::Alignment vertical = layout == "tlcenter" ? Qt::AlignVCenter
                                     : layout == "tlbottom" ? Qt::AlignBottom
                                                            : Qt::AlignTop;
            label->setAlignment(horizontalAlignment(ident(c, "Alignment")) | vertical);
            label->setWordWrap(c.boolean("WordWrap", false));
            if (c.boolean("ShowAccelChar", true))
                buddies_.push_back({label, c.text("FocusControl")});
            if (cls == "tstatictext" && ident(c, "BorderStyle") == "sbssunken")
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setProperty("autoSize", c.boolean("AutoSize", true));
            w = label;
            size = QSize(32, 13);
        } else if (cls == "tedit" || cls == "tmaskedit") {
            auto* edit = new QLineEdit(displayText(c.text("Text")), parent);
            edit->setReadOnly(c.boolean("ReadOnly"));
            const std::string password = c.text("PasswordChar");
            if (!password.empty() && password[0] != '\0')
                edit->setEchoMode(QLineEdit::Password);
            if (const int max = c.integer("MaxLength"); max > 0)
                edit->setMaxLength(max);
            if (ident(c, "BorderStyle") == "bsnone")
                edit->setFrame(false);
            w = edit;
            size = QSize(121, 21);
        } else if (cls == "tmemo") {
            auto* memo = new QPlainTextEdit(parent);
            memo->setPlainText(stringList(c, "Lines.Strings").join(u'\n'));
            memo->setReadOnly(c.boolean("ReadOnly"));
            memo->setLineWrapMode(c.boolean("WordWrap", true) ? QPlainTextEdit::WidgetWidth
                                                               : QPlainTextEdit::NoWrap);
            scrollBars(memo, ident(c, "ScrollBars", "ssNone"));
            w = memo;
            size = QSize(185, 89);
        } else if (cls == "trichedit") {
            auto* rich = new QTextEdit(parent);
            rich->setAcceptRichText(false);
            rich->setPlainText(stringList(c, "Lines.Strings").join(u'\n'));
            rich->setReadOnly(c.boolean("ReadOnly"));
            rich->setLineWrapMode(c.boolean("WordWrap", true) ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
            scrollBars(rich, ident(c, "ScrollBars", "ssBoth"));
            w = rich;
            size = QSize(185, 89);
        } else if (cls == "tbutton" || cls == "tbitbtn") {
            auto* button = new QPushButton(parent);
            QString text = caption;
            if (cls == "tbitbtn") {
                const std::string kind = ident(c, "Kind", "bkCustom");
                if (!c.find("Caption"))
                    text = bitBtnCaption(kind);
                QPixmap glyph = glyphPixmap(c);
                if (!glyph.isNull())
                    button->setIcon(glyph);
                else if (const auto icon = bitBtnIcon(kind); icon != QStyle::SP_CustomBase)
                    button->setIcon(button->style()->standardIcon(icon));
            }
            button->setText(text);
            button->setAutoDefault(false);
            w = button;
            size = QSize(75, 25);
        } else if (cls == "tspeedbutton") {
            auto* button = new QToolButton(parent);
            button->setText(caption);
            const QPixmap glyph = glyphPixmap(c);
            if (!glyph.isNull()) {
                button->setIcon(glyph);
                button->setIconSize(glyph.size());
            }
            button->setToolButtonStyle(glyph.isNull()  ? Qt::ToolButtonTextOnly
                                       : caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                           : Qt::ToolButtonTextBesideIcon);
            button->setAutoRaise(c.boolean("Flat"));
            if (c.boolean("Down")) {
                button->setCheckable(true);
                button->setChecked(true);
            }
            w = button;
            size = QSize(25, 25);
        } else if (cls == "tcheckbox") {
            auto* box = new QCheckBox(caption, parent);
            const std::string state = ident(c, "State");
            if (state == "cbgrayed") {
                box->setTristate(true);
                box->setCheckState(Qt::PartiallyChecked);
            } else {
                box->setTristate(c.boolean("AllowGrayed"));
                box->setChecked(c.boolean("Checked") || state == "cbchecked");
            }
            if (ident(c, "Alignment", "taRightJustify") == "taleftjustify")
                box->setLayoutDirection(Qt::RightToLeft);
            w = box;
            size = QSize(97, 17);
        } else if (cls == "tradiobutton") {
            auto* radio = new QRadioButton(caption, parent);
            radio->setChecked(c.boolean("Checked"));
            if (ident(c, "Alignment", "taRightJustify") == "taleftjustify")
                radio->setLayoutDirection(Qt::RightToLeft);
            w = radio;
            size = QSize(113, 17);
        } else if (cls == "tlistbox" || cls == "tchecklistbox") {
            auto* list = new QListWidget(parent);
            QStringList items = stringList(c, "Items.Strings");
            if (c.boolean("Sorted"))
                items.sort(Qt::CaseInsensitive);
            list->addItems(items);
            if (cls == "tchecklistbox")
                for (int i = 0; i < list->count(); ++i)
                    list->item(i)->setCheckState(Qt::Unchecked);
            w = list;
            size = QSize(121, 97);
        } else if (cls == "tcombobox") {
            auto* combo = new QComboBox(parent);
            QStringList items = stringList(c, "Items.Strings");
            if (c.boolean("Sorted"))
                items.sort(Qt::CaseInsensitive);
            combo->addItems(items);
            if (ident(c, "Style", "csDropDown") == "csdropdownlist") {
                combo->setCurrentIndex(std::clamp(c.integer("ItemIndex", -1), -1, int(combo->count()) - 1));
            } else {
                combo->setEditable(true);
                combo->setCurrentIndex(-1);
                combo->setEditText(displayText(c.text("Text")));
            }
            w = combo;
            size = QSize(145, 21);
        } else if (cls == "tpagecontrol") {
            auto* tabs = new QTabWidget(parent);
            if (ident(c, "TabPosition") == "tpbottom")
                tabs->setTabPosition(QTabWidget::South);
            w = tabs;
            size = QSize(289, 193);
            applyCommon(w, c, parent, size, defaultAlign);
            for (const FormComponent& child : c.children) {
                if (!formfile::sameIdentifier(child.className, "TTabSheet")) {
                    build(child, tabs);
                    continue;
                }
                auto* sheet = new QWidget;
                sheet->setObjectName(formString(child.name));
                sheet->setProperty("delphiClass", formString(child.className));
                applyFont(sheet, child);
                const int index = tabs->addTab(sheet, displayText(child.text("Caption")));
                if (!child.boolean("TabVisible", true))
                    tabs->setTabVisible(index, false);
                if (!child.boolean("Enabled", true))
                    tabs->setTabEnabled(index, false);
                for (const FormComponent& grandChild : child.children)
                    build(grandChild, sheet);
            }
            if (QWidget* active = tabs->findChild<QWidget*>(formString(c.text("ActivePage"))))
                tabs->setCurrentWidget(active);
            return;
        } else if (cls == "tnotebook") {
            auto* stack = new QStackedWidget(parent);
            w = stack;
            size = QSize(150, 150);
            applyCommon(w, c, parent, size, defaultAlign);
            const QString active = displayText(c.text("ActivePage"));
            int current = c.integer("PageIndex", 0);
            for (const FormComponent& child : c.children) {
                if (!formfile::sameIdentifier(child.className, "TPage")) {
                    build(child, stack);
                    continue;
                }
                auto* page = new QWidget;
                page->setObjectName(formString(child.name));
                page->setProperty("delphiClass", formString(child.className));
                const QString pageCaption = displayText(child.text("Caption"));
                page->setProperty("caption", pageCaption);
                const int index = stack->addWidget(page);
                if (c.find("ActivePage") && pageCaption == active)
                    current = index;
                for (const FormComponent& grandChild : child.children)
                    build(grandChild, page);
            }
            if (current >= 0 && current < stack->count())
                stack->setCurrentIndex(current);
            return;
        } else if (cls == "theadercontrol") {
            auto* header = new QHeaderView(Qt::Horizontal, parent);
            auto* model = new QStandardItemModel(header);
            header->setModel(model);
            header->setStretchLastSection(false);
            header->setSectionsClickable(true);
            if (const FormValue* sections = c.find("Sections");
                sections && sections->type == FormValue::Type::Collection) {
                const auto& items = sections->collection;
                const int n = static_cast<int>(std::min<std::size_t>(items.size(), 200));
                model->setColumnCount(n);
                for (int i = 0; i < n; ++i) {
                    const FormValue* text = items[static_cast<std::size_t>(i)].find("Text");
                    model->setHorizontalHeaderItem(
                        i, new QStandardItem(text && text->isString() ? displayText(text->text) : QString()));
                    const FormValue* width = items[static_cast<std::size_t>(i)].find("Width");
                    header->resizeSection(i, width && width->isInteger() ? std::clamp(width->integer, 0, 5000) : 50);
                }
            }
            w = header;
            size = QSize(289, 17);
            defaultAlign = Align::Top;
        } else if (cls == "ttabcontrol") {
            auto* control = new TabControlWidget(parent);
            control->tabs->setObjectName(formString(c.name) + "Tabs");
            for (const QString& tab : stringList(c, "Tabs.Strings"))
                control->tabs->addTab(tab);
            control->tabs->setCurrentIndex(std::clamp(c.integer("TabIndex", 0), 0, std::max(0, control->tabs->count() - 1)));
            w = control;
            size = QSize(289, 193);
            applyFont(control, c);
            insets_.insert(control, QMargins(4, control->tabHeight() + 4, 4, 4));
        } else if (cls == "tstringgrid" || cls == "tdrawgrid") {
            w = grid(c, parent);
            size = QSize(320, 120);
        } else if (cls == "timage") {
            auto* label = new QLabel(parent);
            if (const FormValue* data = c.find("Picture.Data"); data && data->type == FormValue::Type::Binary) {
                QImage image = formImage(data->text, true);
                if (!image.isNull()) {
                    QPixmap pixmap = QPixmap::fromImage(image);
                    if (c.boolean("Transparent"))
                        pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, image.height() - 1)));
                    label->setPixmap(pixmap);
                }
            }
            label->setScaledContents(c.boolean("Stretch"));
            label->setAlignment(c.boolean("Center") ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
            w = label;
            size = QSize(105, 105);
        } else if (cls == "tstatusbar") {
            w = statusBar(c, parent);
            size = QSize(400, 19);
            defaultAlign = Align::Bottom;
        } else if (cls == "tprogressbar") {
            auto* bar = new QProgressBar(parent);
            bar->setRange(c.integer("Min", 0), std::max(c.integer("Min", 0), c.integer("Max", 100)));
            bar->setValue(c.integer("Position", 0));
            bar->setTextVisible(false);
            if (ident(c, "Orientation") == "pbvertical")
                bar->setOrientation(Qt::Vertical);
            w = bar;
            size = QSize(150, 16);
        } else if (cls == "ttrackbar") {
            auto* slider = new QSlider(ident(c, "Orientation") == "trvertical" ? Qt::Vertical : Qt::Horizontal, parent);
            slider->setRange(c.integer("Min", 0), std::max(c.integer("Min", 0), c.integer("Max", 10)));
            slider->setValue(c.integer("Position", 0));
            slider->setTickInterval(std::max(1, c.integer("Frequency", 1)));
            const std::string marks = ident(c, "TickMarks", "tmBottomRight");
            slider->setTickPosition(ident(c, "TickStyle", "tsAuto") == "tsnone" ? QSlider::NoTicks
                                    : marks == "tmboth"                        ? QSlider::TicksBothSides
                                    : marks == "tmtopleft"                     ? QSlider::TicksAbove
                                                                               : QSlider::TicksBelow);
            w = slider;
            size = QSize(150, 45);
        } else if (cls == "ttreeview") {
            auto* tree = new QTreeWidget(parent);
            tree->setHeaderHidden(true);
            if (const FormValue* data = c.find("Items.Data"); data && data->type == FormValue::Type::Binary)
                readTreeNodes(tree, data->text);
            tree->expandAll();
            w = tree;
            size = QSize(121, 97);
        } else if (cls == "tlistview") {
            auto* list = new QTreeWidget(parent);
            list->setRootIsDecorated(false);
            QStringList headers;
            QList<int> widths;
            if (const FormValue* columns = c.find("Columns"); columns && columns->type == FormValue::Type::Collection) {
                for (const formfile::FormItem& item : columns->collection) {
                    const FormValue* text = item.find("Caption");
                    headers << (text && text->isString() ? displayText(text->text) : QString());
                    const FormValue* width = item.find("Width");
                    widths << (width && width->isInteger() ? std::clamp(width->integer, 0, 5000) : 50);
                }
            }
            list->setColumnCount(std::max<int>(1, static_cast<int>(headers.size())));
            list->setHeaderLabels(headers);
            for (int i = 0; i < widths.size(); ++i)
                list->setColumnWidth(i, widths[i]);
            list->setHeaderHidden(ident(c, "ViewStyle", "vsIcon") != "vsreport");
            w = list;
            size = QSize(250, 150);
        } else if (cls == "tsplitter") {
            auto* splitter = new QFrame(parent);
            splitter->setCursor(Qt::SplitHCursor);
            w = splitter;
            size = QSize(3, 100);
            defaultAlign = Align::Left;
        } else if (cls == "ttoolbar") {
            auto* bar = new QFrame(parent);
            bar->setProperty("buttonSize", QSize(std::clamp(c.integer("ButtonWidth", 23), 0, 2000),
                                                 std::clamp(c.integer("ButtonHeight", 22), 0, 2000)));
            bar->setProperty("showCaptions", c.boolean("ShowCaptions"));
            bar->setProperty("flat", c.boolean("Flat"));
            w = bar;
            size = QSize(150, 29);
            defaultAlign = Align::Top;
        } else if (cls == "ttoolbutton") {
            w = toolButton(c, parent, size);
        } else if (cls == "tpaintbox") {
            // The program paints it at run time; nothing of its own shows.
            w = new QWidget(parent);
            size = QSize(105, 105);
        } else if (cls == "tspinedit") {
            auto* spin = new QSpinBox(parent);
            const int low = c.integer("MinValue", 0), high = c.integer("MaxValue", 0);
            // Both limits zero: no limits.
            if (low == 0 && high == 0)
                spin->setRange(INT_MIN, INT_MAX);
            else
                spin->setRange(low, std::max(low, high));
            spin->setSingleStep(std::max(1, c.integer("Increment", 1)));
            spin->setValue(c.integer("Value", 0));
            w = spin;
            size = QSize(121, 22);
        } else if (cls == "tscrollbar") {
            auto* bar = new QScrollBar(ident(c, "Kind") == "sbvertical" ? Qt::Vertical : Qt::Horizontal, parent);
            bar->setRange(c.integer("Min", 0), std::max(c.integer("Min", 0), c.integer("Max", 100)));
            bar->setValue(c.integer("Position", 0));
            w = bar;
            size = QSize(121, 16);
        } else if (!c.find("Width") && !c.find("Height")) {
            // Not a control: non-visual components store only their place
            // on the designer's surface.
            return;
        } else {
            auto* placeholder = new PlaceholderWidget(parent);
            placeholder->text = formString(c.className) + "\n" + formString(c.name);
            placeholder->setProperty("placeholder", true);
            if (!view_.unknown_.contains(formString(c.className)))
                view_.unknown_ << formString(c.className);
            w = placeholder;
        }

        applyCommon(w, c, parent, size, defaultAlign);
        if (auto* label = qobject_cast<QLabel*>(w); label && label->property("autoSize").toBool() && !c.find("Align"))
            fitToText(label);
        if (const QVariant after = w->property("placeAfter"); after.isValid())
            w->move(after.toInt(), w->y());
        if (cls == "tgroupbox" || cls == "tradiogroup" || cls == "tpanel") {
            // The caption's height follows the font now applied.
            if (auto* box = qobject_cast<QGroupBox*>(w))
                insets_[box] = QMargins(2, box->fontMetrics().height() + 2, 2, 2);
        }
        QWidget* childParent = container ? container : w;
        for (const FormComponent& child : c.children)
            build(child, childParent);
        if (qobject_cast<QScrollArea*>(w)) {
            // The scrolled area is at least as large as its controls reach.
            QRect reach;
            for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                reach |= child->geometry();
            container->setMinimumSize(std::max(0, reach.right() + 1), std::max(0, reach.bottom() + 1));
        }
    }

    // A label sized to its text, as an auto-sized label grows or shrinks to
    // its caption in the running program: a longer translation stays whole.
    static void fitToText(QLabel* label)
    {
        if (label->wordWrap()) {
            label->resize(label->width(), std::max(label->heightForWidth(label->width()), 1));
            return;
        }
        const QSize hint = label->sizeHint();
        const QRect r = label->geometry();
        int left = r.left();
        if (label->alignment() & Qt::AlignRight)
            left = r.right() + 1 - hint.width();
        else if (label->alignment() & Qt::AlignHCenter)
            left = r.left() + (r.width() - hint.width()) / 2;
        label->setGeometry(left, r.top(), hint.width(), hint.height());
    }

    static int bevel(const std::string& id)
    {
        if (id == "bvnone")
            return 0;
        return id == "bvlowered" ? -1 : 1;
    }

    static void scrollBars(QAbstractScrollArea* area, const std::string& bars)
    {
        const bool h = bars == "sshorizontal" || bars == "ssboth";
        const bool v = bars == "ssvertical" || bars == "ssboth";
        area->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }

    static QString bitBtnCaption(const std::string& kind)
    {
        static const std::map<std::string, const char*, std::less<>> captions = {
            {"bkok", "OK"},       {"bkcancel", "Cancel"}, {"bkhelp", "&Help"},   {"bkyes", "&Yes"},
            {"bkno", "&No"},      {"bkclose", "&Close"},  {"bkabort", "Abort"},  {"bkretry", "&Retry"},
            {"bkignore", "&Ignore"}, {"bkall", "&All"},
        };
        const auto it = captions.find(kind);
        return it == captions.end() ? QString() : QString::fromLatin1(it->second);
    }

    static QStyle::StandardPixmap bitBtnIcon(const std::string& kind)
    {
        static const std::map<std::string, QStyle::StandardPixmap, std::less<>> icons = {
            {"bkok", QStyle::SP_DialogOkButton},     {"bkcancel", QStyle::SP_DialogCancelButton},
            {"bkhelp", QStyle::SP_DialogHelpButton}, {"bkyes", QStyle::SP_DialogYesButton},
            {"bkno", QStyle::SP_DialogNoButton},     {"bkclose", QStyle::SP_DialogCloseButton},
            {"bkabort", QStyle::SP_DialogAbortButton}, {"bkretry", QStyle::SP_DialogRetryButton},
            {"bkignore", QStyle::SP_DialogIgnoreButton}, {"bkall", QStyle::SP_DialogYesToAllButton},
        };
        const auto it = icons.find(kind);
        return it == icons.end() ? QStyle::SP_CustomBase : it->second;
    }

    // The buttons of a radio group, arranged in columns as the VCL does.
    void radioItems(QGroupBox* box, const FormComponent& c, int textHeight)
    {
        const QStringList items = stringList(c, "Items.Strings");
        if (items.isEmpty())
            return;
        auto* group = new QButtonGroup(box);
        const int columns = std::clamp(c.integer("Columns", 1), 1, 16);
        const int count = static_cast<int>(std::min<qsizetype>(items.size(), 1000));
        const int perColumn = (count + columns - 1) / columns;
        const int width = clampSize(c.integer("Width", 185)), height = clampSize(c.integer("Height", 105));
        const int buttonWidth = std::max(1, (width - 10) / columns);
        const int space = std::max(0, height - textHeight - 5);
        const int buttonHeight = std::max(1, space / perColumn);
        const int topMargin = textHeight + 1 + (space % perColumn) / 2;
        const int checked = c.integer("ItemIndex", -1);
        for (int i = 0; i < count; ++i) {
            auto* radio = new QRadioButton(items[i], box);
            radio->setObjectName(QString("%1Item%2").arg(formString(c.name)).arg(i));
            radio->setGeometry((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                               buttonWidth, buttonHeight);
            group->addButton(radio, i);
            radio->setChecked(i == checked);
        }
    }

    QWidget* grid(const FormComponent& c, QWidget* parent)
    {
        auto* table = new QTableWidget(parent);
        // Cells are kept per cell: the viewer shows at most this many.
        const int rows = std::clamp(c.integer("RowCount", 5), 0, 1000);
        const int cols = std::clamp(c.integer("ColCount", 5), 0, 200);
        table->setRowCount(rows);
        table->setColumnCount(cols);
        table->horizontalHeader()->hide();
        table->verticalHeader()->hide();
        table->horizontalHeader()->setDefaultSectionSize(std::clamp(c.integer("DefaultColWidth", 64), 0, 2000));
        table->verticalHeader()->setMinimumSectionSize(1);
        table->verticalHeader()->setDefaultSectionSize(std::clamp(c.integer("DefaultRowHeight", 24), 1, 2000));
        const int fixedRows = std::clamp(c.integer("FixedRows", 1), 0, rows);
        const int fixedCols = std::clamp(c.integer("FixedCols", 1), 0, cols);
        table->setProperty("fixedRows", fixedRows);
        table->setProperty("fixedCols", fixedCols);
        const QBrush fixed = QApplication::palette().button();
        if (const FormValue* color = c.find("FixedColor"); color && delphiColor(*color).isValid())
            table->setProperty("fixedColor", delphiColor(*color));
        const QBrush fixedBrush = table->property("fixedColor").isValid()
                                      ? QBrush(table->property("fixedColor").value<QColor>())
                                      : fixed;
        for (int r = 0; r < rows; ++r)
            for (int col = 0; col < cols; ++col)
                if (r < fixedRows || col < fixedCols) {
                    auto* item = new QTableWidgetItem;
                    item->setFlags(Qt::ItemIsEnabled);
                    item->setBackground(fixedBrush);
                    table->setItem(r, col, item);
                }
        return table;
    }

    QWidget* statusBar(const FormComponent& c, QWidget* parent)
    {
        auto* bar = new StatusBarWidget(parent);
        auto* row = new QHBoxLayout(bar);
        row->setContentsMargins(0, 2, 0, 0);
        row->setSpacing(2);
        auto addPanel = [&](const QString& text, int width, Qt::Alignment alignment, int index) {
            auto* label = new QLabel(text, bar);
            label->setTextFormat(Qt::PlainText);
            label->setObjectName(QString("%1Panel%2").arg(formString(c.name)).arg(index));
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setAlignment(alignment | Qt::AlignVCenter);
            if (width >= 0)
                label->setFixedWidth(width);
            row->addWidget(label, width >= 0 ? 0 : 1);
        };
        const FormValue* panels = c.find("Panels");
        if (c.boolean("SimplePanel") || !panels || panels->type != FormValue::Type::Collection
            || panels->collection.empty()) {
            addPanel(displayText(c.text("SimpleText")), -1, Qt::AlignLeft, 0);
            return bar;
        }
        const auto& items = panels->collection;
        for (std::size_t i = 0; i < items.size() && i < 64; ++i) {
            const FormValue* text = items[i].find("Text");
            const FormValue* width = items[i].find("Width");
            const FormValue* alignment = items[i].find("Alignment");
            // The last panel reaches to the right end.
            const bool last = i + 1 == items.size() || i + 1 == 64;
            addPanel(text && text->isString() ? displayText(text->text) : QString(),
                     last ? -1 : (width && width->isInteger() ? std::clamp(width->integer, 0, 5000) : 50),
                     horizontalAlignment(alignment && alignment->isIdentifier() ? lower(alignment->text) : ""),
                     static_cast<int>(i));
        }
        return bar;
    }

    QWidget* toolButton(const FormComponent& c, QWidget* parent, QSize& size)
    {
        const QSize buttonSize = parent->property("buttonSize").isValid() ? parent->property("buttonSize").toSize()
                                                                          : QSize(23, 22);
        const std::string style = ident(c, "Style", "tbsButton");
        QWidget* w = nullptr;
        if (style == "tbsseparator" || style == "tbsdivider") {
            auto* line = new QFrame(parent);
            if (style == "tbsdivider")
                line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
            w = line;
            size = QSize(8, buttonSize.height());
        } else {
            auto* button = new QToolButton(parent);
            button->setText(displayText(c.text("Caption")));
            button->setToolButtonStyle(parent->property("showCaptions").toBool() ? Qt::ToolButtonTextOnly
                                                                                  : Qt::ToolButtonIconOnly);
            button->setAutoRaise(parent->property("flat").toBool());
            if (style == "tbscheck" || c.boolean("Down")) {
                button->setCheckable(true);
                button->setChecked(c.boolean("Down"));
            }
            if (style == "tbsdropdown")
                button->setPopupMode(QToolButton::MenuButtonPopup);
            w = button;
            size = buttonSize;
        }
        // Without a stored place: after the previous button.
        if (!c.find("Left")) {
            int right = 0;
            for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (sibling != w && sibling->property("delphiClass").toString() == "TToolButton")
                    right = std::max(right, sibling->geometry().right() + 1);
            w->setProperty("placeAfter", right);
        }
        return w;
    }

    void buildMenuBar(const FormComponent& menu)
    {
        auto* bar = new QMenuBar(&view_);
        bar->setObjectName(formString(menu.name));
        bar->setProperty("delphiClass", formString(menu.className));
        bar->setNativeMenuBar(false);
        view_.menuBar_ = bar;
        for (const FormComponent& item : menu.children)
            menuItem(item, bar, nullptr);
    }

    // One menu item into the bar (menu null) or into a menu.
    void menuItem(const FormComponent& c, QMenuBar* bar, QMenu* menu)
    {
        if (!formfile::sameIdentifier(c.className, "TMenuItem"))
            return;
        const QString caption = displayText(c.text("Caption"));
        QAction* action = nullptr;
        if (caption == "-") {
            action = menu ? menu->addSeparator() : bar->addSeparator();
        } else if (!c.children.empty()) {
            auto* sub = new QMenu(caption, menu ? static_cast<QWidget*>(menu) : bar);
            sub->setObjectName(formString(c.name));
            sub->setProperty("delphiClass", formString(c.className));
            for (const FormComponent& child : c.children)
                menuItem(child, nullptr, sub);
            action = menu ? menu->addMenu(sub) : bar->addMenu(sub);
        } else {
            action = menu ? menu->addAction(caption) : bar->addAction(caption);
            if (const int shortCut = c.integer("ShortCut"); shortCut != 0)
                action->setShortcut(delphiShortCut(shortCut));
        }
        if (!action->menu())
            action->setObjectName(formString(c.name));
        action->setProperty("delphiClass", formString(c.className));
        if (c.boolean("Checked")) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        action->setEnabled(c.boolean("Enabled", true));
        action->setVisible(c.boolean("Visible", true));
        if (const FormValue* hint = c.find("Hint"); hint && hint->isString())
            action->setToolTip(hintText(hint->text));
    }

    FormView& view_;
    const FormComponent& form_;
    int pixelsPerInch_ = 96;
    std::vector<AlignFilter*> filters_;
    std::map<QWidget*, AlignFilter*> filterByContainer_;
    QHash<QWidget*, QMargins> insets_;
    std::vector<std::pair<QLabel*, std::string>> buddies_;
};

namespace {

// The fonts that forms name most, where Windows' own are missing: look-alikes
// of about the same width.
void addFontSubstitutes()
{
    static const bool added = [] {
        const QStringList sans{"Microsoft Sans Serif", "Arial", "Liberation Sans", "Nimbus Sans", "Helvetica"};
        const QStringList serif{"Times New Roman", "Liberation Serif", "Nimbus Roman", "Times"};
        const QStringList mono{"Courier New", "Liberation Mono", "Nimbus Mono PS", "Courier"};
        for (const char* family : {"MS Sans Serif", "System", "MS Shell Dlg", "MS Shell Dlg 2"})
            QFont::insertSubstitutions(family, sans);
        QFont::insertSubstitutions("Arial", sans.mid(2));
        QFont::insertSubstitutions("MS Serif", serif);
        QFont::insertSubstitutions("Times New Roman", serif.mid(1));
        QFont::insertSubstitutions("Courier", mono);
        QFont::insertSubstitutions("Courier New", mono.mid(1));
        return true;
    }();
    (void)added;
}

} // namespace

FormView::FormView(const formfile::FormComponent& form, QWidget* parent)
    : QDialog(parent)
{
    addFontSubstitutes();
    FormBuilder(*this, form).build();
}

FormView::~FormView() = default;

} // namespace lingrove::ui
