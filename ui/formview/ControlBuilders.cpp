// The controls of a form, class by class.
#include "ui/formview/ControlBuilders.h"

#include "ui/formview/FormValues.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <climits>
#include <map>

namespace lingrove::ui::formview {

using formfile::FormValue;

namespace {

QString captionOf(const FormComponent& c)
{
    return displayText(c.text("Caption"));
}

bool isClass(const FormComponent& c, std::string_view lowerName)
{
    return lower(c.className) == lowerName;
}

// A control the builders made complete: its common properties applied, its
// children built.
Control completed(QWidget* w)
{
    Control control;
    control.widget = w;
    control.complete = true;
    return control;
}

int bevel(const std::string& id)
{
    if (id == "bvnone")
        return 0;
    return id == "bvlowered" ? -1 : 1;
}

void scrollBars(QAbstractScrollArea* area, const std::string& bars)
{
    const bool h = bars == "sshorizontal" || bars == "ssboth";
    const bool v = bars == "ssvertical" || bars == "ssboth";
    area->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

QString bitBtnCaption(const std::string& kind)
{
    static const std::map<std::string, const char*, std::less<>> captions = {
        {"bkok", "OK"},       {"bkcancel", "Cancel"}, {"bkhelp", "&Help"},   {"bkyes", "&Yes"},
        {"bkno", "&No"},      {"bkclose", "&Close"},  {"bkabort", "Abort"},  {"bkretry", "&Retry"},
        {"bkignore", "&Ignore"}, {"bkall", "&All"},
    };
    const auto it = captions.find(kind);
    return it == captions.end() ? QString() : QString::fromLatin1(it->second);
}

QStyle::StandardPixmap bitBtnIcon(const std::string& kind)
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

// A label sized to its text, as an auto-sized label grows or shrinks to
// its caption in the running program: a longer translation stays whole.
void fitToText(QLabel* label)
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

// A grid with its fixed rows and columns; the other cells are empty.
QTableWidget* gridTable(const FormComponent& c, QWidget* parent)
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

// The panels of a status bar, or its simple text.
QWidget* statusBarPanels(const FormComponent& c, QWidget* parent)
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

// A tool button, or a separator, sized as its bar sizes its buttons.
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
// Containers and framing

Control buildPanel(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    auto* panel = new PanelWidget(parent);
    const QString caption = captionOf(c);
    panel->caption = caption;
    panel->outer = bevel(ident(c, "BevelOuter", "bvRaised"));
    panel->inner = bevel(ident(c, "BevelInner", "bvNone"));
    panel->bevelWidth = std::clamp(c.integer("BevelWidth", 1), 1, 100);
    panel->borderWidth = std::clamp(c.integer("BorderWidth", 0), 0, 100);
    panel->single = ident(c, "BorderStyle") == "bssingle";
    panel->alignment = horizontalAlignment(ident(c, "Alignment"), Qt::AlignHCenter) | Qt::AlignVCenter;
    panel->setProperty("caption", caption);
    const int in = panel->inset();
    builder.setInsets(panel, QMargins(in, in, in, in));
    return {panel, QSize(185, 41)};
}

Control buildGroupBox(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    auto* box = new QGroupBox(captionOf(c), parent);
    // The caption's height follows the box's font.
    builder.applyFont(box, c);
    const int text = box->fontMetrics().height();
    builder.setInsets(box, QMargins(2, text + 2, 2, 2));
    if (isClass(c, "tradiogroup"))
        radioItems(box, c, text);
    return {box, QSize(185, 105)};
}

Control buildScrollBox(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    auto* area = new QScrollArea(parent);
    auto* inner = new QWidget;
    inner->setObjectName(formString(c.name) + "Client");
    area->setWidget(inner);
    area->setWidgetResizable(true);
    if (ident(c, "BorderStyle", "bsSingle") == "bsnone")
        area->setFrameShape(QFrame::NoFrame);
    builder.applyCommon(area, c, parent, QSize(185, 41), Align::None);
    builder.buildChildren(c, inner);
    // The scrolled area is at least as large as its controls reach.
    QRect reach;
    for (QWidget* child : inner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        reach |= child->geometry();
    inner->setMinimumSize(std::max(0, reach.right() + 1), std::max(0, reach.bottom() + 1));
    return completed(area);
}

Control buildBevel(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* bevelWidget = new BevelWidget(parent);
    bevelWidget->shape = QString::fromStdString(ident(c, "Shape", "bsBox"));
    bevelWidget->raised = ident(c, "Style") == "bsraised";
    return {bevelWidget, QSize(50, 50)};
}

Control buildShape(FormBuilder&, const FormComponent& c, QWidget* parent)
{
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
    return {shape, QSize(65, 65)};
}

// ---------------------------------------------------------------------------
// Text

Control buildLabel(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    auto* label = new QLabel(captionOf(c), parent);
    label->setTextFormat(Qt::PlainText);
    const std::string layout = ident(c, "Layout", "tlTop");
    Qt::Alignment vertical = layout == "tlcenter" ? Qt::AlignVCenter
                             : layout == "tlbottom" ? Qt::AlignBottom
                                                    : Qt::AlignTop;
    label->setAlignment(horizontalAlignment(ident(c, "Alignment")) | vertical);
    label->setWordWrap(c.boolean("WordWrap", false));
    if (c.boolean("ShowAccelChar", true))
        builder.addBuddy(label, c.text("FocusControl"));
    if (isClass(c, "tstatictext") && ident(c, "BorderStyle") == "sbssunken")
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setProperty("autoSize", c.boolean("AutoSize", true));
    builder.applyCommon(label, c, parent, QSize(32, 13), Align::None);
    if (label->property("autoSize").toBool() && !c.find("Align"))
        fitToText(label);
    builder.buildChildren(c, label);
    return completed(label);
}

Control buildEdit(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* edit = new QLineEdit(displayText(c.text("Text")), parent);
    edit->setReadOnly(c.boolean("ReadOnly"));
    const std::string password = c.text("PasswordChar");
    if (!password.empty() && password[0] != '\0')
        edit->setEchoMode(QLineEdit::Password);
    if (const int max = c.integer("MaxLength"); max > 0)
        edit->setMaxLength(max);
    if (ident(c, "BorderStyle") == "bsnone")
        edit->setFrame(false);
    return {edit, QSize(121, 21)};
}

Control buildMemo(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setPlainText(stringList(c, "Lines.Strings").join(u'\n'));
    memo->setReadOnly(c.boolean("ReadOnly"));
    memo->setLineWrapMode(c.boolean("WordWrap", true) ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    scrollBars(memo, ident(c, "ScrollBars", "ssNone"));
    return {memo, QSize(185, 89)};
}

Control buildRichEdit(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* rich = new QTextEdit(parent);
    rich->setAcceptRichText(false);
    rich->setPlainText(stringList(c, "Lines.Strings").join(u'\n'));
    rich->setReadOnly(c.boolean("ReadOnly"));
    rich->setLineWrapMode(c.boolean("WordWrap", true) ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    scrollBars(rich, ident(c, "ScrollBars", "ssBoth"));
    return {rich, QSize(185, 89)};
}

// ---------------------------------------------------------------------------
// Buttons

Control buildButton(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    QString text = captionOf(c);
    if (isClass(c, "tbitbtn")) {
        // A bit button of a kind has the kind's caption and icon unless it
        // stores its own.
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
    return {button, QSize(75, 25)};
}

Control buildSpeedButton(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    const QString caption = captionOf(c);
    button->setText(caption);
    const QPixmap glyph = glyphPixmap(c);
    if (!glyph.isNull()) {
        button->setIcon(glyph);
        button->setIconSize(glyph.size());
    }
    button->setToolButtonStyle(glyph.isNull()        ? Qt::ToolButtonTextOnly
                               : caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                   : Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(c.boolean("Flat"));
    if (c.boolean("Down")) {
        button->setCheckable(true);
        button->setChecked(true);
    }
    return {button, QSize(25, 25)};
}

Control buildCheckBox(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* box = new QCheckBox(captionOf(c), parent);
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
    return {box, QSize(97, 17)};
}

Control buildRadioButton(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* radio = new QRadioButton(captionOf(c), parent);
    radio->setChecked(c.boolean("Checked"));
    if (ident(c, "Alignment", "taRightJustify") == "taleftjustify")
        radio->setLayoutDirection(Qt::RightToLeft);
    return {radio, QSize(113, 17)};
}

// ---------------------------------------------------------------------------
// Lists

Control buildListBox(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    QStringList items = stringList(c, "Items.Strings");
    if (c.boolean("Sorted"))
        items.sort(Qt::CaseInsensitive);
    list->addItems(items);
    if (isClass(c, "tchecklistbox"))
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(Qt::Unchecked);
    return {list, QSize(121, 97)};
}

Control buildComboBox(FormBuilder&, const FormComponent& c, QWidget* parent)
{
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
    return {combo, QSize(145, 21)};
}

// ---------------------------------------------------------------------------
// Pages

// The tab sheets as the pages of a tab widget; other children stand on it.
Control buildPageControl(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    auto* tabs = new QTabWidget(parent);
    if (ident(c, "TabPosition") == "tpbottom")
        tabs->setTabPosition(QTabWidget::South);
    builder.applyCommon(tabs, c, parent, QSize(289, 193), Align::None);
    for (const FormComponent& child : c.children) {
        if (!formfile::sameIdentifier(child.className, "TTabSheet")) {
            builder.build(child, tabs);
            continue;
        }
        auto* sheet = new QWidget;
        sheet->setObjectName(formString(child.name));
        sheet->setProperty("delphiClass", formString(child.className));
        builder.applyFont(sheet, child);
        const int index = tabs->addTab(sheet, displayText(child.text("Caption")));
        if (!child.boolean("TabVisible", true))
            tabs->setTabVisible(index, false);
        if (!child.boolean("Enabled", true))
            tabs->setTabEnabled(index, false);
        builder.buildChildren(child, sheet);
    }
    if (QWidget* active = tabs->findChild<QWidget*>(formString(c.text("ActivePage"))))
        tabs->setCurrentWidget(active);
    return completed(tabs);
}

// The pages of a notebook, one shown at a time; other children stand on it.
Control buildNotebook(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    auto* stack = new QStackedWidget(parent);
    builder.applyCommon(stack, c, parent, QSize(150, 150), Align::None);
    const QString active = displayText(c.text("ActivePage"));
    int current = c.integer("PageIndex", 0);
    for (const FormComponent& child : c.children) {
        if (!formfile::sameIdentifier(child.className, "TPage")) {
            builder.build(child, stack);
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
        builder.buildChildren(child, page);
    }
    if (current >= 0 && current < stack->count())
        stack->setCurrentIndex(current);
    return completed(stack);
}

Control buildTabControl(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    auto* control = new TabControlWidget(parent);
    control->tabs->setObjectName(formString(c.name) + "Tabs");
    for (const QString& tab : stringList(c, "Tabs.Strings"))
        control->tabs->addTab(tab);
    control->tabs->setCurrentIndex(std::clamp(c.integer("TabIndex", 0), 0, std::max(0, control->tabs->count() - 1)));
    // The tabs' height follows the control's font.
    builder.applyFont(control, c);
    builder.setInsets(control, QMargins(4, control->tabHeight() + 4, 4, 4));
    return {control, QSize(289, 193)};
}

Control buildHeaderControl(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* header = new QHeaderView(Qt::Horizontal, parent);
    auto* model = new QStandardItemModel(header);
    header->setModel(model);
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    if (const FormValue* sections = c.find("Sections"); sections && sections->type == FormValue::Type::Collection) {
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
    return {header, QSize(289, 17), Align::Top};
}

// ---------------------------------------------------------------------------
// Grids and pictures

Control buildGrid(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    return {gridTable(c, parent), QSize(320, 120)};
}

Control buildImage(FormBuilder&, const FormComponent& c, QWidget* parent)
{
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
    return {label, QSize(105, 105)};
}

// ---------------------------------------------------------------------------
// Bars

Control buildStatusBar(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    return {statusBarPanels(c, parent), QSize(400, 19), Align::Bottom};
}

Control buildProgressBar(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setRange(c.integer("Min", 0), std::max(c.integer("Min", 0), c.integer("Max", 100)));
    bar->setValue(c.integer("Position", 0));
    bar->setTextVisible(false);
    if (ident(c, "Orientation") == "pbvertical")
        bar->setOrientation(Qt::Vertical);
    return {bar, QSize(150, 16)};
}

Control buildTrackBar(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* slider = new QSlider(ident(c, "Orientation") == "trvertical" ? Qt::Vertical : Qt::Horizontal, parent);
    slider->setRange(c.integer("Min", 0), std::max(c.integer("Min", 0), c.integer("Max", 10)));
    slider->setValue(c.integer("Position", 0));
    slider->setTickInterval(std::max(1, c.integer("Frequency", 1)));
    const std::string marks = ident(c, "TickMarks", "tmBottomRight");
    slider->setTickPosition(ident(c, "TickStyle", "tsAuto") == "tsnone" ? QSlider::NoTicks
                            : marks == "tmboth"                        ? QSlider::TicksBothSides
                            : marks == "tmtopleft"                     ? QSlider::TicksAbove
                                                                       : QSlider::TicksBelow);
    return {slider, QSize(150, 45)};
}

// The bar's button size, captions and look reach its tool buttons.
Control buildToolBar(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* bar = new QFrame(parent);
    bar->setProperty("buttonSize", QSize(std::clamp(c.integer("ButtonWidth", 23), 0, 2000),
                                         std::clamp(c.integer("ButtonHeight", 22), 0, 2000)));
    bar->setProperty("showCaptions", c.boolean("ShowCaptions"));
    bar->setProperty("flat", c.boolean("Flat"));
    return {bar, QSize(150, 29), Align::Top};
}

Control buildToolButton(FormBuilder& builder, const FormComponent& c, QWidget* parent)
{
    QSize size;
    QWidget* w = toolButton(c, parent, size);
    builder.applyCommon(w, c, parent, size, Align::None);
    if (const QVariant after = w->property("placeAfter"); after.isValid())
        w->move(after.toInt(), w->y());
    builder.buildChildren(c, w);
    return completed(w);
}

Control buildSplitter(FormBuilder&, const FormComponent&, QWidget* parent)
{
    auto* splitter = new QFrame(parent);
    splitter->setCursor(Qt::SplitHCursor);
    return {splitter, QSize(3, 100), Align::Left};
}

Control buildScrollBar(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* bar = new QScrollBar(ident(c, "Kind") == "sbvertical" ? Qt::Vertical : Qt::Horizontal, parent);
    bar->setRange(c.integer("Min", 0), std::max(c.integer("Min", 0), c.integer("Max", 100)));
    bar->setValue(c.integer("Position", 0));
    return {bar, QSize(121, 16)};
}

Control buildSpinEdit(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    const int low = c.integer("MinValue", 0), high = c.integer("MaxValue", 0);
    // Both limits zero: no limits.
    if (low == 0 && high == 0)
        spin->setRange(INT_MIN, INT_MAX);
    else
        spin->setRange(low, std::max(low, high));
    spin->setSingleStep(std::max(1, c.integer("Increment", 1)));
    spin->setValue(c.integer("Value", 0));
    return {spin, QSize(121, 22)};
}

// The program paints it at run time; nothing of its own shows.
Control buildPaintBox(FormBuilder&, const FormComponent&, QWidget* parent)
{
    return {new QWidget(parent), QSize(105, 105)};
}

// ---------------------------------------------------------------------------
// Trees

Control buildTreeView(FormBuilder&, const FormComponent& c, QWidget* parent)
{
    auto* tree = new QTreeWidget(parent);
    tree->setHeaderHidden(true);
    if (const FormValue* data = c.find("Items.Data"); data && data->type == FormValue::Type::Binary)
        readTreeNodes(tree, data->text);
    tree->expandAll();
    return {tree, QSize(121, 97)};
}

// The columns of a list view; their headers show in the report style.
Control buildListView(FormBuilder&, const FormComponent& c, QWidget* parent)
{
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
    return {list, QSize(250, 150)};
}

// ---------------------------------------------------------------------------
// Menus

QMenuBar* buildMenuBar(const FormComponent& menu, QWidget* window)
{
    auto* bar = new QMenuBar(window);
    bar->setObjectName(formString(menu.name));
    bar->setProperty("delphiClass", formString(menu.className));
    bar->setNativeMenuBar(false);
    for (const FormComponent& item : menu.children)
        menuItem(item, bar, nullptr);
    return bar;
}

} // namespace lingrove::ui::formview
