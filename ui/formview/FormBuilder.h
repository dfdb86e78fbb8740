#pragma once
// Builds a FormView from a form's component tree: the window with its size,
// place, title and menu bar, and each component as the control its class
// names (ControlBuilders.h), with the properties every control shares.
#include "core/formfile/FormTree.h"
#include "ui/formview/FormWidgets.h"

#include <QFont>
#include <QHash>
#include <QMargins>
#include <QSize>

#include <map>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QVBoxLayout;

namespace lingrove::ui {
class FormView;
}

namespace lingrove::ui::formview {

// What a control builder made of a component.
struct Control {
    QWidget* widget = nullptr;
    QSize size;                     // when the form stores no Width or Height
    Align align = Align::None;      // when the form stores no Align
    QWidget* container = nullptr;   // where the children go; the widget when null
    // The builder applied the common properties and built the children
    // itself: nothing is left to do.
    bool complete = false;
};

class FormBuilder;

// Makes the control of one component in parent. Unless the control is
// complete, the FormBuilder then applies the common properties and builds
// the component's children into it.
using ControlBuilder = Control (*)(FormBuilder& builder, const formfile::FormComponent& c, QWidget* parent);

class FormBuilder {
public:
    FormBuilder(FormView& view, const formfile::FormComponent& form);

    // The whole window.
    void build();

    // Builds c (and its children) into parent; nothing for non-visual
    // components.
    void build(const formfile::FormComponent& c, QWidget* parent);
    void buildChildren(const formfile::FormComponent& c, QWidget* into);

    // Name, class, geometry, font, colour, hint, Enabled, Visible and Align.
    void applyCommon(QWidget* w, const formfile::FormComponent& c, QWidget* parent, QSize defaultSize,
                     Align defaultAlign);
    // The component's font and its colour, where it stores them.
    void applyFont(QWidget* w, const formfile::FormComponent& c);
    // The border of a container, inside which its aligned controls stand.
    void setInsets(QWidget* container, QMargins insets);
    // A label whose mnemonic moves the focus to the control named focus
    // (to none when empty or not found), once every control exists.
    void addBuddy(QLabel* label, std::string focus);

private:
    const formfile::FormComponent* mainMenu() const;
    void buildClientArea(QVBoxLayout& layout);
    void buildStatusLine(QVBoxLayout& layout);
    Control placeholder(const formfile::FormComponent& c, QWidget* parent);
    QSize clientSize() const;
    void placeWindow();
    void moveWindow(QSize size);
    QFont fontFrom(const formfile::FormComponent& c, QFont font) const;
    AlignFilter& filterOf(QWidget* container);

    FormView& view_;
    const formfile::FormComponent& form_;
    int pixelsPerInch_ = 96;
    std::vector<AlignFilter*> filters_;
    std::map<QWidget*, AlignFilter*> filterByContainer_;
    QHash<QWidget*, QMargins> insets_;
    std::vector<std::pair<QLabel*, std::string>> buddies_;
};

} // namespace lingrove::ui::formview
