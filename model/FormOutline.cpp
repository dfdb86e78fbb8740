#include "model/FormOutline.h"

#include "model/TextCodec.h"

#include <QStringList>

namespace lingrove::model {

namespace {

using formfile::FormComponent;
using formfile::FormValue;

// The page text as bytes the converters read: Windows-1252 when it holds
// only characters of that code page (as a form page of an 8-bit file does),
// else UTF-8 after a byte-order mark.
std::string formBytes(const QString& text)
{
    bool eightBit = true;
    for (const QChar c : text) {
        if (unicodeToWindows1252(c.unicode()) < 0) {
            eightBit = false;
            break;
        }
    }
    if (eightBit)
        return toWindows1252(text).toStdString();
    return "\xEF\xBB\xBF" + text.toUtf8().toStdString();
}

// What a line holds outside its quoted runs.
struct LineShape {
    int opens = 0;    // "(" outside quotes
    int closes = 0;   // ")" outside quotes
    QChar last;       // the last character outside quotes that is no blank
    bool closesBrace = false;
};

LineShape shapeOf(QStringView line)
{
    LineShape shape;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == u'\'') {
            quoted = !quoted;
            shape.last = c;
            continue;
        }
        if (quoted)
            continue;
        if (c == u'(')
            ++shape.opens;
        else if (c == u')')
            ++shape.closes;
        else if (c == u'}')
            shape.closesBrace = true;
        if (!c.isSpace())
            shape.last = c;
    }
    return shape;
}

// "object Name: TClass [n]" and its kin: the name and class; false for any
// other line.
bool objectHeader(QStringView line, QString* name, QString* className)
{
    for (const QLatin1StringView word : {QLatin1StringView("object "), QLatin1StringView("inherited "),
                                         QLatin1StringView("inline ")}) {
        if (!line.startsWith(word))
            continue;
        QStringView rest = line.mid(word.size()).trimmed();
        const qsizetype bracket = rest.indexOf(u'[');
        if (bracket >= 0)
            rest = rest.left(bracket).trimmed();
        const qsizetype colon = rest.indexOf(u':');
        *name = colon >= 0 ? rest.left(colon).trimmed().toString() : QString();
        *className = (colon >= 0 ? rest.mid(colon + 1) : rest).trimmed().toString();
        return true;
    }
    return false;
}

void flatten(const FormComponent& c, int parent, std::vector<const FormComponent*>& out, std::vector<int>& parents)
{
    const int self = int(out.size());
    out.push_back(&c);
    parents.push_back(parent);
    for (const FormComponent& child : c.children)
        flatten(child, self, out, parents);
}

bool sameName(const QString& a, const std::string& b)
{
    return formfile::sameIdentifier(a.toStdString(), b);
}

} // namespace

QString FormOutline::text(const FormValue& value)
{
    const std::string& bytes = value.text;
    if (value.utf8)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return fromWindows1252(std::string_view(bytes));
}

QString FormOutline::text(const FormComponent& component, std::string_view name)
{
    const FormValue* value = component.find(name);
    return value && (value->isString() || value->isIdentifier()) ? text(*value) : QString();
}

std::optional<FormOutline> FormOutline::read(const QString& pageText, QString* why)
{
    auto fail = [&](const QString& message) -> std::optional<FormOutline> {
        if (why)
            *why = message;
        return std::nullopt;
    };
    QString page = pageText;
    if (page.startsWith(QChar(0xFEFF)))
        page.remove(0, 1);

    FormOutline outline;
    try {
        std::string data;
        formfile::TextToBinary(formBytes(page), data);
        outline.root_ = std::make_shared<const FormComponent>(formfile::readFormData(data));
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    flatten(*outline.root_, -1, outline.components_, outline.parents_);

    // The frames of the walk: a component, a value over several lines, a
    // collection item.
    enum class Kind { Object, List, Collection, Item, Binary };
    struct Frame {
        Kind kind;
        LineOwner owner;   // whom the frame's lines belong to
        int count = 0;     // items of a list or collection so far; list depth
    };
    std::vector<Frame> frames;
    int nextComponent = 0;
    bool continued = false;   // the previous line ended with "+"
    LineOwner previous;

    const QStringList lines = page.split(u'\n');
    outline.lines_.resize(std::size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView line = QStringView(lines[i]).trimmed();
        LineOwner& owner = outline.lines_[std::size_t(i)];
        const LineShape shape = shapeOf(line);
        if (continued) {
            owner = previous;
            continued = shape.last == u'+';
            if (!frames.empty() && frames.back().kind == Kind::List) {
                Frame& list = frames.back();
                list.count += continued ? 0 : 1;
                if (shape.closes > shape.opens)
                    frames.pop_back();
            }
            continue;
        }
        if (line.isEmpty())
            continue;
        Frame* top = frames.empty() ? nullptr : &frames.back();

        if (top && top->kind == Kind::Binary) {
            owner = top->owner;
            if (shape.closesBrace)
                frames.pop_back();
            continue;
        }
        if (top && top->kind == Kind::List) {
            owner = top->owner;
            owner.item = top->count;
            continued = shape.last == u'+';
            if (!continued)
                ++top->count;
            previous = owner;
            if (shape.closes > shape.opens)
                frames.pop_back();
            continue;
        }
        if (top && top->kind == Kind::Collection) {
            if (line.startsWith(u"item") && (line.size() == 4 || line[4].isSpace() || line[4] == u'[')) {
                Frame item{Kind::Item, top->owner, 0};
                item.owner.item = top->count++;
                frames.push_back(item);
            } else if (line.startsWith(u'>') || line == u"end>") {
                frames.pop_back();
            }
            continue;
        }
        if (top && top->kind == Kind::Item && (line == u"end" || line == u"end>")) {
            frames.pop_back();
            if (line == u"end>" && !frames.empty())
                frames.pop_back();   // the collection
            continue;
        }

        QString name;
        QString className;
        if ((!top || top->kind == Kind::Object) && objectHeader(line, &name, &className)) {
            if (nextComponent >= int(outline.components_.size()))
                return fail(QStringLiteral("line %1: more objects than the form holds").arg(i + 1));
            const FormComponent& c = *outline.components_[std::size_t(nextComponent)];
            if (!sameName(name, c.name) || !sameName(className, c.className))
                return fail(QStringLiteral("line %1: the object %2 is not where the form has it").arg(i + 1).arg(name));
            frames.push_back(Frame{Kind::Object, LineOwner{nextComponent++, {}, -1, {}}, 0});
            continue;
        }
        if (top && top->kind == Kind::Object && line == u"end") {
            frames.pop_back();
            continue;
        }
        if (!top)
            continue;

        // "Name = value": a property of the component or of a collection item.
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString property = line.left(equals).trimmed().toString();
        const QStringView value = line.mid(equals + 1).trimmed();
        owner = top->owner;
        if (top->kind == Kind::Item)
            owner.itemProperty = property;
        else
            owner.property = property;
        previous = owner;
        if (value.startsWith(u'(') && shape.closes < shape.opens) {
            frames.push_back(Frame{Kind::List, owner, 0});
        } else if (value.startsWith(u'<') && !value.startsWith(u"<>")) {
            frames.push_back(Frame{Kind::Collection, owner, 0});
        } else if (value.startsWith(u'{') && !shape.closesBrace) {
            frames.push_back(Frame{Kind::Binary, owner, 0});
        } else {
            continued = shape.last == u'+';
        }
    }
    if (nextComponent != int(outline.components_.size()))
        return fail(QStringLiteral("the page text names %1 of the form's %2 objects")
                        .arg(nextComponent)
                        .arg(outline.components_.size()));
    return outline;
}

std::optional<FormOutline::Place> FormOutline::placeOf(int line) const
{
    if (line < 1 || line > int(lines_.size()))
        return std::nullopt;
    const LineOwner& owner = lines_[std::size_t(line - 1)];
    if (owner.component < 0 || owner.property.isEmpty())
        return std::nullopt;
    Place place;
    place.component = components_[std::size_t(owner.component)];
    const int parent = parents_[std::size_t(owner.component)];
    place.parent = parent >= 0 ? components_[std::size_t(parent)] : nullptr;
    place.property = owner.property;
    place.item = owner.item;
    place.itemProperty = owner.itemProperty;
    return place;
}

const FormComponent* FormOutline::parentOf(const FormComponent& component) const
{
    for (std::size_t i = 0; i < components_.size(); ++i)
        if (components_[i] == &component)
            return parents_[i] >= 0 ? components_[std::size_t(parents_[i])] : nullptr;
    return nullptr;
}

QFont FormOutline::fontOf(const FormComponent& component) const
{
    // The component whose Font properties apply.
    const FormComponent* owner = &component;
    while (owner) {
        const bool ownFont = owner->find("Font.Name") || owner->find("Font.Height") || owner->find("Font.Size");
        const FormValue* parentFont = owner->find("ParentFont");
        if (ownFont || (parentFont && parentFont->isBoolean() && !parentFont->boolean))
            break;
        const FormComponent* up = parentOf(*owner);
        if (!up)
            break;
        owner = up;
    }
    QString family = text(*owner, "Font.Name");
    QFont font(family.isEmpty() ? QStringLiteral("MS Sans Serif") : family);
    int pixels = 11;
    if (const FormValue* height = owner->find("Font.Height"); height && height->isInteger() && height->integer != 0) {
        pixels = std::abs(height->integer);
    } else if (const FormValue* size = owner->find("Font.Size"); size && size->isInteger() && size->integer > 0) {
        const int ppi = root_->integer("PixelsPerInch", 96);
        pixels = (size->integer * (ppi > 0 ? ppi : 96) + 36) / 72;
    }
    font.setPixelSize(pixels);
    if (const FormValue* style = owner->find("Font.Style")) {
        for (const std::string& element : style->elements) {
            font.setBold(font.bold() || element == "fsBold");
            font.setItalic(font.italic() || element == "fsItalic");
            font.setUnderline(font.underline() || element == "fsUnderline");
            font.setStrikeOut(font.strikeOut() || element == "fsStrikeOut");
        }
    }
    return font;
}

} // namespace lingrove::model
