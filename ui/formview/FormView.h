#pragma once
// A Delphi form shown as a live Qt window: every component of the form's tree
// becomes the widget that looks like it, at its position and size, with its
// captions, item strings, fonts and colours. Event handlers named in the form
// stay unconnected, so the window can be looked at and closed but does
// nothing.
//
// Each widget's objectName is its component's name and its dynamic property
// "delphiClass" holds the component's class name. Non-visual components
// (dialogs, timers, pop-up menus, image lists, data access) create nothing.
// A visual component of a class this viewer does not know is drawn as a
// labelled placeholder frame of its size; the status line at the bottom of
// the window lists those classes. How the values of a form's properties
// are read is in FormValues.h.
#include "core/formfile/FormTree.h"

#include <QDialog>
#include <QStringList>

class QMenuBar;
class QStatusBar;

namespace lingrove::ui {

namespace formview {
class FormBuilder;
}

class FormView : public QDialog {
public:
    explicit FormView(const formfile::FormComponent& form, QWidget* parent = nullptr);
    ~FormView() override;

    // The area that stands for the form's client area: the form's controls
    // are its children.
    QWidget* clientArea() const { return client_; }
    // The form's main menu as a menu bar; nullptr when it has none.
    QMenuBar* formMenuBar() const { return menuBar_; }
    // The line under the client area naming the classes shown as
    // placeholders; nullptr when every component was shown as itself.
    QStatusBar* statusLine() const { return status_; }
    // Classes drawn as placeholders, in the order of their first appearance.
    const QStringList& unknownClasses() const { return unknown_; }

private:
    friend class formview::FormBuilder;
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QStatusBar* status_ = nullptr;
    QStringList unknown_;
};

} // namespace lingrove::ui
