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
// the window lists those classes.
#include "formfile/FormTree.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QKeySequence>
#include <QStringList>

class QMenuBar;
class QStatusBar;

namespace lingrove::ui {

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
    friend class FormBuilder;
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QStatusBar* status_ = nullptr;
    QStringList unknown_;
};

// The text of an 8-bit string of a form file (Windows-1252; every byte has
// a character).
QString formString(const std::string& bytes);

// A colour value of a form: a name (clRed, clBtnFace, ...) or a number
// $00BBGGRR, system colours ($80000000 + index) taken from the application's
// palette. Invalid for clNone, clDefault and what is no colour.
QColor delphiColor(const formfile::FormValue& value);

// A menu short cut as stored in a form (virtual key in the low byte, $2000
// Shift, $4000 Ctrl, $8000 Alt); empty for 0 and keys without a Qt name.
QKeySequence delphiShortCut(std::int32_t shortCut);

// The image of a stored picture. With className, data starts with a short
// string naming the graphic class (Picture.Data); without, it is a bitmap's
// data (Glyph.Data). A bitmap's bytes may be preceded by their 32-bit size.
// Null when the data holds no image Qt can read.
QImage formImage(const std::string& data, bool className);

} // namespace lingrove::ui
