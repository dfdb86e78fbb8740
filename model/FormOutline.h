#pragma once
// The structure of a form behind its page text: the component tree
// (core/formfile/FormTree.h) of the page as it stands, and for each page line
// the component and property it belongs to. The checks at a commit use it to
// find the control whose caption was translated, its siblings and its font.
//
// The tree is read from the page text converted into binary form data, so it
// holds the values as the page has them now, translations included. The
// lines are matched to it by walking the text form: "object", "inherited"
// and "inline" open a component (in the order the tree lists them), "end"
// closes it, "Name = value" starts a property, whose value may go on over
// further lines: a list "( ... )", a collection "< item ... end >", binary
// data "{ ... }" or strings joined with "+".
#include "core/formfile/FormTree.h"

#include <QFont>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace lingrove::model {

class FormOutline {
public:
    // The outline of pageText (a form's page text, lines separated by "\n";
    // a leading byte-order mark is ignored). nullopt with why when the text
    // is not a form the converters read.
    static std::optional<FormOutline> read(const QString& pageText, QString* why = nullptr);

    struct Place {
        const formfile::FormComponent* component = nullptr;
        const formfile::FormComponent* parent = nullptr;   // nullptr for the form itself
        QString property;       // "Caption", "Items.Strings", "Columns", ...
        int item = -1;          // the item of a list or collection value; -1 for a plain value
        QString itemProperty;   // the property of a collection item ("Caption" of a list column)
    };
    // Where 1-based page line lies; nullopt for lines outside any property
    // (object headers, "end").
    std::optional<Place> placeOf(int line) const;

    const formfile::FormComponent& root() const { return *root_; }

    // A string or identifier value as text (8-bit values are Windows-1252).
    static QString text(const formfile::FormValue& value);
    // The text of component's property name; empty when it has none.
    static QString text(const formfile::FormComponent& component, std::string_view name);

    // The font component's text is drawn in: its own Font properties, or
    // (with ParentFont) its parent's, up to the form's. Sizes are pixels of
    // the form (Font.Height, or Font.Size at the form's PixelsPerInch).
    QFont fontOf(const formfile::FormComponent& component) const;
    // The component that holds component as a child; nullptr for the form.
    const formfile::FormComponent* parentOf(const formfile::FormComponent& component) const;

private:
    struct LineOwner {
        int component = -1;   // index into components_
        QString property;
        int item = -1;
        QString itemProperty;
    };

    std::shared_ptr<const formfile::FormComponent> root_;
    std::vector<const formfile::FormComponent*> components_;   // in the order of the text
    std::vector<int> parents_;                                  // index of each one's parent, -1 for the form
    std::vector<LineOwner> lines_;                              // one per page line
};

} // namespace lingrove::model
