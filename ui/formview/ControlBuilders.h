#pragma once
// The control of each class of component a form may hold, by family. Each
// builder makes the widget that looks like its component (ControlBuilder in
// FormBuilder.h); where one builder serves several classes, the class
// decides the details.
#include "ui/formview/FormBuilder.h"

class QMenuBar;

namespace lingrove::ui::formview {

using formfile::FormComponent;

// Containers and framing
Control buildPanel(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildGroupBox(FormBuilder& builder, const FormComponent& c, QWidget* parent);   // and radio groups
Control buildScrollBox(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildBevel(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildShape(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Text
Control buildLabel(FormBuilder& builder, const FormComponent& c, QWidget* parent);      // and static texts
Control buildEdit(FormBuilder& builder, const FormComponent& c, QWidget* parent);       // and mask edits
Control buildMemo(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildRichEdit(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Buttons
Control buildButton(FormBuilder& builder, const FormComponent& c, QWidget* parent);     // and bit buttons
Control buildSpeedButton(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildCheckBox(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildRadioButton(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Lists
Control buildListBox(FormBuilder& builder, const FormComponent& c, QWidget* parent);    // and check list boxes
Control buildComboBox(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Pages
Control buildPageControl(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildNotebook(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildTabControl(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildHeaderControl(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Grids and pictures
Control buildGrid(FormBuilder& builder, const FormComponent& c, QWidget* parent);       // string and draw grids
Control buildImage(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Bars
Control buildStatusBar(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildProgressBar(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildTrackBar(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildToolBar(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildToolButton(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildSplitter(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildScrollBar(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildSpinEdit(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildPaintBox(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Trees
Control buildTreeView(FormBuilder& builder, const FormComponent& c, QWidget* parent);
Control buildListView(FormBuilder& builder, const FormComponent& c, QWidget* parent);

// Menus: the form's main menu as the menu bar of window.
QMenuBar* buildMenuBar(const FormComponent& menu, QWidget* window);

} // namespace lingrove::ui::formview
