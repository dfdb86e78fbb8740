// The window of a form and what its controls share; each control is made by
// the builder its class name finds in the table.
#include "ui/formview/FormBuilder.h"

#include "ui/formview/ControlBuilders.h"
#include "ui/formview/FormValues.h"
#include "ui/formview/FormView.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace lingrove::ui::formview {

using formfile::FormComponent;
using formfile::FormValue;

namespace {

// The builder of each class of control, by its name in lower case.
const std::map<std::string, ControlBuilder, std::less<>>& controlBuilders()
{
    static const std::map<std::string, ControlBuilder, std::less<>> builders = {
        // Containers and framing
        {"tpanel", buildPanel},
        {"tgroupbox", buildGroupBox},
        {"tradiogroup", buildGroupBox},
        {"tscrollbox", buildScrollBox},
        {"tbevel", buildBevel},
        {"tshape", buildShape},
        // Text
        {"tlabel", buildLabel},
        {"tstatictext", buildLabel},
        {"tedit", buildEdit},
        {"tmaskedit", buildEdit},
        {"tmemo", buildMemo},
        {"trichedit", buildRichEdit},
        // Buttons
        {"tbutton", buildButton},
        {"tbitbtn", buildButton},
        {"tspeedbutton", buildSpeedButton},
        {"tcheckbox", buildCheckBox},
        {"tradiobutton", buildRadioButton},
        // Lists
        {"tlistbox", buildListBox},
        {"tchecklistbox", buildListBox},
        {"tcombobox", buildComboBox},
        // Pages
        {"tpagecontrol", buildPageControl},
        {"tnotebook", buildNotebook},
        {"ttabcontrol", buildTabControl},
        {"theadercontrol", buildHeaderControl},
        // Grids and pictures
        {"tstringgrid", buildGrid},
        {"tdrawgrid", buildGrid},
        {"timage", buildImage},
        // Bars
        {"tstatusbar", buildStatusBar},
        {"tprogressbar", buildProgressBar},
        {"ttrackbar", buildTrackBar},
        {"ttoolbar", buildToolBar},
        {"ttoolbutton", buildToolButton},
        {"tsplitter", buildSplitter},
        {"tscrollbar", buildScrollBar},
        {"tspinedit", buildSpinEdit},
        {"tpaintbox", buildPaintBox},
        // Trees
        {"ttreeview", buildTreeView},
        {"tlistview", buildListView},
    };
    return builders;
}

// Components that are no controls: they create nothing, and neither do
// their children (the items of a pop-up menu). The main menu becomes the
// window's menu bar.
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
              "TProvider",     "TRemoteServer",  "TMediaPlayer",    "TMainMenu"})
            s.insert(lower(n));
        return s;
    }();
    return names;
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

} // namespace

FormBuilder::FormBuilder(FormView& view, const FormComponent& form)
    : view_(view), form_(form)
{
    pixelsPerInch_ = std::clamp(form.integer("PixelsPerInch", 96), 24, 960);
}

void FormBuilder::build()
{
    view_.setObjectName(formString(form_.name));
    view_.setProperty("delphiClass", formString(form_.className));
    view_.setWindowTitle(displayText(form_.text("Caption")));

    auto* layout = new QVBoxLayout(&view_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildClientArea(*layout);
    if (view_.menuBar_)
        layout->setMenuBar(view_.menuBar_);
    if (!view_.unknown_.isEmpty())
        buildStatusLine(*layout);

    placeWindow();
    layout->activate();
    for (AlignFilter* f : filters_)
        f->realign();
    for (const auto& [label, focus] : buddies_) {
        QWidget* target = focus.empty() ? nullptr : view_.findChild<QWidget*>(formString(focus));
        label->setBuddy(target ? target : label);
    }
}

// The area of the form's controls, and its menu bar.
void FormBuilder::buildClientArea(QVBoxLayout& layout)
{
    view_.client_ = new QWidget(&view_);
    view_.client_->setObjectName("FormClientArea");
    layout.addWidget(view_.client_, 1);

    applyFont(&view_, form_);
    if (const FormValue* color = form_.find("Color")) {
        const QColor c = delphiColor(*color);
        if (c.isValid())
            setBackground(view_.client_, c);
    }

    const FormComponent* menu = mainMenu();
    for (const FormComponent& child : form_.children) {
        if (&child == menu)
            view_.menuBar_ = buildMenuBar(child, &view_);
        else
            build(child, view_.client_);
    }
}

// The line naming the classes shown as placeholders.
void FormBuilder::buildStatusLine(QVBoxLayout& layout)
{
    view_.status_ = new QStatusBar(&view_);
    view_.status_->setObjectName("FormViewStatusLine");
    view_.status_->setSizeGripEnabled(false);
    auto* label = new QLabel("Not shown as themselves: " + view_.unknown_.join(", "), view_.status_);
    label->setObjectName("FormViewUnknownClasses");
    label->setTextFormat(Qt::PlainText);
    view_.status_->addWidget(label, 1);
    layout.addWidget(view_.status_);
}

// The form's main menu: the one its Menu property names, else the first.
const FormComponent* FormBuilder::mainMenu() const
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

// The size of the client area: as stored, or what the Windows frame and
// menu bar leave of the form's outer size.
QSize FormBuilder::clientSize() const
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
    return QSize(static_cast<int>(std::clamp(w, 40LL, 4000LL)), static_cast<int>(std::clamp(h, 20LL, 4000LL)));
}

void FormBuilder::placeWindow()
{
    const QSize client = clientSize();
    view_.client_->setMinimumSize(0, 0);
    int total = client.height();
    if (view_.menuBar_)
        total += view_.menuBar_->sizeHint().height();
    if (view_.status_)
        total += view_.status_->sizeHint().height();
    view_.resize(client.width(), total);
    view_.client_->resize(client);
    moveWindow(QSize(client.width(), total));
}

// The window of this size where the form's Position puts it.
void FormBuilder::moveWindow(QSize size)
{
    const std::string position = ident(form_, "Position", "poDesigned");
    QScreen* screen = view_.parentWidget() ? view_.parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QPoint half(size.width() / 2, size.height() / 2);
    QPoint at(clampCoordinate(form_.integer("Left")), clampCoordinate(form_.integer("Top")));
    if (position == "poscreencenter" || position == "podesktopcenter"
        || (position == "pomainformcenter" && !view_.parentWidget())) {
        at = available.center() - half;
    } else if (position == "pomainformcenter") {
        at = view_.parentWidget()->window()->frameGeometry().center() - half;
    } else if (position == "podefault" || position == "podefaultposonly") {
        return; // left to the window manager
    }
    // Keep the title bar reachable on this screen.
    at.setX(std::clamp(at.x(), available.left(), std::max(available.left(), available.right() - 100)));
    at.setY(std::clamp(at.y(), available.top(), std::max(available.top(), available.bottom() - 50)));
    view_.move(at);
}

QFont FormBuilder::fontFrom(const FormComponent& c, QFont font) const
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

void FormBuilder::applyFont(QWidget* w, const FormComponent& c)
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

void FormBuilder::applyCommon(QWidget* w, const FormComponent& c, QWidget* parent, QSize defaultSize,
                              Align defaultAlign)
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

void FormBuilder::setInsets(QWidget* container, QMargins insets)
{
    insets_.insert(container, insets);
}

void FormBuilder::addBuddy(QLabel* label, std::string focus)
{
    buddies_.emplace_back(label, std::move(focus));
}

AlignFilter& FormBuilder::filterOf(QWidget* container)
{
    auto it = filterByContainer_.find(container);
    if (it == filterByContainer_.end()) {
        auto* filter = new AlignFilter(container, insets_.value(container));
        filters_.push_back(filter);
        it = filterByContainer_.emplace(container, filter).first;
    }
    return *it->second;
}

void FormBuilder::build(const FormComponent& c, QWidget* parent)
{
    const std::string cls = lower(c.className);
    if (nonVisualClasses().count(cls))
        return;

    Control control;
    if (const auto it = controlBuilders().find(cls); it != controlBuilders().end())
        control = it->second(*this, c, parent);
    else if (c.find("Width") || c.find("Height"))
        control = placeholder(c, parent);
    else
        return; // not a control: non-visual components store only their place on the designer's surface
    if (control.complete)
        return;
    applyCommon(control.widget, c, parent, control.size, control.align);
    buildChildren(c, control.container ? control.container : control.widget);
}

void FormBuilder::buildChildren(const FormComponent& c, QWidget* into)
{
    for (const FormComponent& child : c.children)
        build(child, into);
}

// A component of a class this viewer does not know: a frame of its size,
// and its class named on the status line.
Control FormBuilder::placeholder(const FormComponent& c, QWidget* parent)
{
    auto* placeholder = new PlaceholderWidget(parent);
    placeholder->text = formString(c.className) + "\n" + formString(c.name);
    placeholder->setProperty("placeholder", true);
    if (!view_.unknown_.contains(formString(c.className)))
        view_.unknown_ << formString(c.className);
    return {placeholder, QSize(100, 25)};
}

} // namespace lingrove::ui::formview
