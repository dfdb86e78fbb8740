#pragma once
// The string list as the other features see it. Implemented by the
// translation feature.
namespace lingrove::ui {

class StringList {
public:
    virtual ~StringList() = default;

    // Get strings on the active page; selectRow (when there is such a row)
    // becomes the selected one (a project reopened where its work stopped).
    virtual void collect(int selectRow = -1) = 0;
    // Empties the list.
    virtual void clear() = 0;
    // The selected row; -1 when none.
    virtual int selectedRow() const = 0;
};

} // namespace lingrove::ui
