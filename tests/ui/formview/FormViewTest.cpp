// The form viewer: windows built from form files of our own.
#include "core/formfile/FormFile.h"
#include "core/formfile/FormTree.h"
#include "ui/formview/FormValues.h"
#include "ui/formview/FormView.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>
#include <memory>

using namespace lingrove;
using ui::FormView;

namespace {

std::unique_ptr<FormView> viewOf(const std::string& text)
{
    std::string file;
    formfile::TextToResource(text, file);
    auto view = std::make_unique<FormView>(formfile::readFormFile(file));
    view->show();
    QApplication::processEvents();
    return view;
}

// A form "Form1: TForm1" with a client area of 400 x 300 and the given lines.
std::string form(const std::string& body, const std::string& properties = {})
{
    return "object Form1: TForm1\r\n  ClientWidth = 400\r\n  ClientHeight = 300\r\n  Caption = 'Test'\r\n"
           + properties + body + "end\r\n";
}

// Components with no properties, each "name: class".
std::string objects(std::initializer_list<const char*> components)
{
    std::string out;
    for (const char* c : components)
        out += std::string("  object ") + c + "\r\n  end\r\n";
    return out;
}

std::string u32(std::uint32_t v)
{
    std::string b;
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>(v >> (8 * i));
    return b;
}

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

template <typename T>
T* child(FormView& view, const char* name)
{
    T* w = view.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QRect geometryOf(FormView& view, const char* name)
{
    QWidget* w = child<QWidget>(view, name);
    return w ? w->geometry() : QRect();
}

} // namespace

TEST(FormView, EveryKnownClassIsShownAsItselfWithItsSavedTexts)
{
    auto view = viewOf(form(
        "  object Label1: TLabel\r\n    Caption = 'Gr\xF6\xDF" "e &in \x80'\r\n  end\r\n"
        "  object Edit1: TEdit\r\n    Text = 'Hallo'\r\n  end\r\n"
        "  object Memo1: TMemo\r\n    Lines.Strings = (\r\n      'eins'\r\n      'zwei')\r\n  end\r\n"
        "  object Button1: TButton\r\n    Caption = '&Weiter'\r\n    OnClick = Button1Click\r\n  end\r\n"
        "  object BitBtn1: TBitBtn\r\n    Kind = bkOK\r\n  end\r\n"
        "  object BitBtn2: TBitBtn\r\n    Kind = bkCancel\r\n    Caption = 'Abbrechen'\r\n  end\r\n"
        "  object CheckBox1: TCheckBox\r\n    Caption = 'Pr\xFC" "fen'\r\n    Checked = True\r\n  end\r\n"
        + objects({"MaskEdit1: TMaskEdit", "RichEdit1: TRichEdit", "StaticText1: TStaticText",
                   "SpeedButton1: TSpeedButton", "RadioButton1: TRadioButton", "CheckListBox1: TCheckListBox",
                   "Bevel1: TBevel", "Shape1: TShape", "Image1: TImage", "DrawGrid1: TDrawGrid",
                   "ScrollBar1: TScrollBar", "SpinEdit1: TSpinEdit", "PaintBox1: TPaintBox", "TreeView1: TTreeView",
                   "Header1: THeaderControl", "ProgressBar1: TProgressBar", "TrackBar1: TTrackBar"})));
    EXPECT_EQ(view->windowTitle(), "Test");
    EXPECT_TRUE(view->unknownClasses().isEmpty()) << view->unknownClasses().join(", ").toStdString();
    EXPECT_EQ(view->statusLine(), nullptr);
    EXPECT_EQ(view->clientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 24);
    EXPECT_EQ(child<QLabel>(*view, "Label1")->text(), QString::fromUtf8("Größe &in €"));
    EXPECT_EQ(child<QLineEdit>(*view, "Edit1")->text(), "Hallo");
    EXPECT_EQ(child<QPlainTextEdit>(*view, "Memo1")->toPlainText(), "eins\nzwei");
    EXPECT_EQ(child<QCheckBox>(*view, "CheckBox1")->text(), QString::fromUtf8("Prüfen"));
    EXPECT_TRUE(child<QCheckBox>(*view, "CheckBox1")->isChecked());
    // A bit button shows its kind's caption and icon unless it stores a caption.
    EXPECT_EQ(child<QPushButton>(*view, "BitBtn1")->text(), "OK");
    EXPECT_FALSE(child<QPushButton>(*view, "BitBtn1")->icon().isNull());
    EXPECT_EQ(child<QPushButton>(*view, "BitBtn2")->text(), "Abbrechen");

    // The handler named in the form is not connected: a click does nothing.
    auto* button = child<QPushButton>(*view, "Button1");
    EXPECT_EQ(button->property("delphiClass").toString(), "TButton");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->result(), 0);
}

TEST(FormView, ListsPagesAndBarsCarryTheirItemsAndChildren)
{
    auto view = viewOf(form(
        "  object ComboBox1: TComboBox\r\n    Text = 'frei'\r\n    Items.Strings = (\r\n      'x'\r\n      'y')\r\n  end\r\n"
        "  object ComboBox2: TComboBox\r\n    Style = csDropDownList\r\n    ItemIndex = 1\r\n"
        "    Items.Strings = (\r\n      'x'\r\n      'y')\r\n  end\r\n"
        "  object RadioGroup1: TRadioGroup\r\n    Width = 210\r\n    Height = 100\r\n    Columns = 2\r\n"
        "    ItemIndex = 2\r\n    Items.Strings = (\r\n      'a'\r\n      'b'\r\n      'c')\r\n  end\r\n"
        "  object PageControl1: TPageControl\r\n    ActivePage = TabSheet2\r\n"
        "    object TabSheet1: TTabSheet\r\n      Caption = 'Erste'\r\n"
        "      object Label2: TLabel\r\n        Caption = 'auf Seite 1'\r\n      end\r\n    end\r\n"
        "    object TabSheet2: TTabSheet\r\n      Caption = 'Zweite'\r\n    end\r\n  end\r\n"
        "  object TabControl1: TTabControl\r\n    TabIndex = 1\r\n    Tabs.Strings = (\r\n      'A'\r\n      'B')\r\n"
        "    object Edit3: TEdit\r\n    end\r\n  end\r\n"
        "  object ScrollBox1: TScrollBox\r\n    object Edit4: TEdit\r\n      Left = 300\r\n      Top = 200\r\n    end\r\n  end\r\n"
        "  object StringGrid1: TStringGrid\r\n    ColCount = 3\r\n    RowCount = 4\r\n    FixedRows = 2\r\n  end\r\n"
        "  object ListView1: TListView\r\n    ViewStyle = vsReport\r\n    Columns = <\r\n"
        "      item\r\n        Caption = 'Name'\r\n      end\r\n"
        "      item\r\n        Caption = 'Gr\xF6\xDF" "e'\r\n      end>\r\n  end\r\n"
        "  object StatusBar1: TStatusBar\r\n    Panels = <\r\n"
        "      item\r\n        Text = 'links'\r\n        Width = 60\r\n      end\r\n"
        "      item\r\n        Text = 'rechts'\r\n      end>\r\n  end\r\n"
        "  object ToolBar1: TToolBar\r\n    ButtonWidth = 30\r\n    ShowCaptions = True\r\n"
        "    object ToolButton1: TToolButton\r\n      Caption = 'Neu'\r\n    end\r\n"
        "    object ToolButton2: TToolButton\r\n      Style = tbsSeparator\r\n    end\r\n"
        "    object ToolButton3: TToolButton\r\n      Caption = 'Alt'\r\n      Style = tbsCheck\r\n"
        "      Down = True\r\n    end\r\n  end\r\n"));
    // An editable combo box shows its text, a drop-down list its chosen item.
    EXPECT_EQ(child<QComboBox>(*view, "ComboBox1")->currentText(), "frei");
    EXPECT_EQ(child<QComboBox>(*view, "ComboBox2")->currentText(), "y");

    // Three items in two columns: a and b in the first, c in the second.
    const auto buttons = child<QGroupBox>(*view, "RadioGroup1")->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons[2]->isChecked());
    EXPECT_EQ(buttons[0]->x(), buttons[1]->x());
    EXPECT_GT(buttons[2]->x(), buttons[0]->x());

    auto* pages = child<QTabWidget>(*view, "PageControl1");
    EXPECT_EQ(pages->currentWidget()->objectName(), "TabSheet2");
    EXPECT_EQ(child<QLabel>(*view, "Label2")->parentWidget(), pages->widget(0));
    // A tab control's children stand on it, whichever tab is chosen.
    EXPECT_EQ(child<QLineEdit>(*view, "Edit3")->parentWidget(), child<QWidget>(*view, "TabControl1"));
    // A scroll box scrolls as far as its controls reach.
    EXPECT_GE(child<QScrollArea>(*view, "ScrollBox1")->widget()->minimumWidth(), 300 + 121);
    // Fixed cells have items, the others none.
    EXPECT_NE(child<QTableWidget>(*view, "StringGrid1")->item(1, 2), nullptr);
    EXPECT_EQ(child<QTableWidget>(*view, "StringGrid1")->item(2, 2), nullptr);
    EXPECT_EQ(child<QTreeWidget>(*view, "ListView1")->headerItem()->text(1), QString::fromUtf8("Größe"));
    // The last status panel reaches to the right end.
    EXPECT_EQ(child<QLabel>(*view, "StatusBar1Panel1")->geometry().right(),
              child<QWidget>(*view, "StatusBar1")->width() - 1);
    // A tool bar sits at the top; buttons without a stored place follow each other.
    EXPECT_EQ(geometryOf(*view, "ToolBar1").topRight(), QPoint(399, 0));
    auto* third = child<QToolButton>(*view, "ToolButton3");
    EXPECT_EQ(third->x(), 30 + 8);
    EXPECT_TRUE(third->isChecked());
}

TEST(FormView, AlignedControlsShareTheClientArea)
{
    auto view = viewOf(form("  object Top1: TPanel\r\n    Height = 30\r\n    Align = alTop\r\n  end\r\n"
                            "  object Top2: TPanel\r\n    Height = 20\r\n    Align = alTop\r\n  end\r\n"
                            "  object Status: TStatusBar\r\n    Height = 19\r\n    SimpleText = 's'\r\n"
                            "    SimplePanel = True\r\n  end\r\n"
                            "  object Side: TPanel\r\n    Width = 100\r\n    Align = alLeft\r\n"
                            "    object Inner: TMemo\r\n      Align = alClient\r\n    end\r\n  end\r\n"
                            "  object Split: TSplitter\r\n    Width = 3\r\n  end\r\n"
                            "  object Right1: TListBox\r\n    Width = 50\r\n    Align = alRight\r\n  end\r\n"
                            "  object Rest: TMemo\r\n    Align = alClient\r\n  end\r\n"
                            "  object Free: TButton\r\n    Left = 10\r\n    Top = 20\r\n    Width = 30\r\n"
                            "    Height = 40\r\n  end\r\n"));
    EXPECT_EQ(view->clientArea()->size(), QSize(400, 300));
    EXPECT_EQ(geometryOf(*view, "Top1"), QRect(0, 0, 400, 30));
    EXPECT_EQ(geometryOf(*view, "Top2"), QRect(0, 30, 400, 20));
    // A status bar sits at the bottom, a splitter at the left, without Align stored.
    EXPECT_EQ(geometryOf(*view, "Status"), QRect(0, 281, 400, 19));
    EXPECT_EQ(geometryOf(*view, "Side"), QRect(0, 50, 100, 231));
    EXPECT_EQ(geometryOf(*view, "Split"), QRect(100, 50, 3, 231));
    EXPECT_EQ(geometryOf(*view, "Right1"), QRect(350, 50, 50, 231));
    EXPECT_EQ(geometryOf(*view, "Rest"), QRect(103, 50, 247, 231));
    EXPECT_EQ(geometryOf(*view, "Free"), QRect(10, 20, 30, 40));
    // Inside a raised panel the client area is inside its bevel.
    EXPECT_EQ(geometryOf(*view, "Inner"), QRect(1, 1, 98, 229));

    // The aligned controls follow when the window is resized.
    view->resize(500, view->height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(child<QWidget>(*view, "Top1")->width(), 500);
    EXPECT_EQ(geometryOf(*view, "Rest"), QRect(103, 50, 347, 331));

    // Controls of one alignment take their turns by their designed place,
    // not by the order in which the form stores them.
    auto stored = viewOf(form("  object Splitter1: TSplitter\r\n    Left = 150\r\n    Width = 3\r\n  end\r\n"
                              "  object Tree1: TTreeView\r\n    Width = 150\r\n    Align = alLeft\r\n  end\r\n"
                              "  object Bottom2: TPanel\r\n    Top = 280\r\n    Height = 20\r\n    Align = alBottom\r\n  end\r\n"
                              "  object Bottom1: TPanel\r\n    Top = 250\r\n    Height = 30\r\n    Align = alBottom\r\n  end\r\n"
                              "  object Header1: THeaderControl\r\n    Height = 17\r\n    Sections = <\r\n"
                              "      item\r\n        Text = 'Name'\r\n        Width = 90\r\n      end>\r\n  end\r\n"));
    EXPECT_EQ(geometryOf(*stored, "Header1"), QRect(0, 0, 400, 17));
    EXPECT_EQ(geometryOf(*stored, "Bottom2"), QRect(0, 280, 400, 20));
    EXPECT_EQ(geometryOf(*stored, "Bottom1"), QRect(0, 250, 400, 30));
    EXPECT_EQ(geometryOf(*stored, "Tree1"), QRect(0, 17, 150, 233));
    EXPECT_EQ(geometryOf(*stored, "Splitter1"), QRect(150, 17, 3, 233));
    auto* header = child<QHeaderView>(*stored, "Header1");
    EXPECT_EQ(header->model()->headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(header->sectionSize(0), 90);
}

TEST(FormView, TreeNodesAndNotebookPagesAreShown)
{
    // Nodes as Delphi 3 writes them (each record after its size) and as older
    // writers do.
    auto node = [](const std::string& text, int children, bool sized) {
        std::string record = u32(0) + u32(1) + u32(0xFFFFFFFF) + u32(0xFFFFFFFF) + u32(0)
                             + u32(static_cast<std::uint32_t>(children)) + std::string(1, char(text.size())) + text;
        return sized ? u32(static_cast<std::uint32_t>(record.size())) + record : record;
    };
    const std::string sized = u32(2) + node("Wurzel", 1, true) + node("Bl\xE4tter", 0, true) + node("Zweite", 0, true);
    const std::string plain = u32(1) + node("Ohne", 1, false) + node("Gr\xF6\xDF" "e", 0, false);
    auto view = viewOf(form("  object Tree1: TTreeView\r\n    Items.Data = {" + hex(sized) + "}\r\n  end\r\n"
                            "  object Tree2: TTreeView\r\n    Items.Data = {" + hex(plain) + "}\r\n  end\r\n"
                            "  object Tree3: TTreeView\r\n    Items.Data = {" + hex(sized.substr(0, sized.size() - 9))
                            + "}\r\n  end\r\n"
                            "  object Notebook1: TNotebook\r\n    PageIndex = 1\r\n"
                            "    object TPage\r\n      Caption = 'Eins'\r\n"
                            "      object OnFirst: TLabel\r\n        Caption = 'a'\r\n      end\r\n    end\r\n"
                            "    object TPage\r\n      Caption = 'Zwei'\r\n    end\r\n  end\r\n"));
    // Each tree as its items' texts, children after their parent.
    const auto texts = [&](const char* name) {
        QStringList out;
        for (QTreeWidgetItemIterator it(child<QTreeWidget>(*view, name)); *it; ++it)
            out << QString(2 * ((*it)->parent() != nullptr), u' ') + (*it)->text(0);
        return out;
    };
    EXPECT_EQ(texts("Tree1"), QStringList({"Wurzel", QString::fromUtf8("  Blätter"), "Zweite"}));
    EXPECT_EQ(texts("Tree2"), QStringList({"Ohne", QString::fromUtf8("  Größe")}));
    // Cut short: what could be read is shown.
    EXPECT_EQ(texts("Tree3").value(0), "Wurzel");

    auto* notebook = child<QStackedWidget>(*view, "Notebook1");
    ASSERT_EQ(notebook->count(), 2);
    EXPECT_EQ(notebook->currentIndex(), 1);
    EXPECT_EQ(child<QLabel>(*view, "OnFirst")->parentWidget(), notebook->widget(0));
}

TEST(FormView, AutoSizedLabelsFitTheirTranslatedCaption)
{
    auto view = viewOf(form("  object Short: TLabel\r\n    Left = 10\r\n    Width = 20\r\n    Height = 13\r\n"
                            "    Caption = 'Ein viel l\xE4ngerer Text als vorher'\r\n  end\r\n"
                            "  object Fixed: TLabel\r\n    Left = 10\r\n    Width = 20\r\n    Height = 13\r\n"
                            "    AutoSize = False\r\n    Caption = 'Ein viel l\xE4ngerer Text als vorher'\r\n  end\r\n"
                            "  object Right: TLabel\r\n    Left = 100\r\n    Width = 20\r\n    Height = 13\r\n"
                            "    Alignment = taRightJustify\r\n    Caption = 'Ein viel l\xE4ngerer Text'\r\n  end\r\n"));
    auto* grown = child<QLabel>(*view, "Short");
    EXPECT_EQ(grown->x(), 10);
    EXPECT_GT(grown->width(), 100);
    EXPECT_EQ(geometryOf(*view, "Fixed"), QRect(10, 0, 20, 13));
    // A right-aligned label keeps its right edge.
    auto* right = child<QLabel>(*view, "Right");
    EXPECT_EQ(right->geometry().right(), 119);
    EXPECT_GT(right->width(), 20);
}

TEST(FormView, WindowTakesSizeTitleAndPositionFromTheForm)
{
    // Outer size only: the client area is what the Windows frame leaves.
    auto outer = viewOf("object F: TForm1\r\n  Left = 30\r\n  Top = 40\r\n  Width = 308\r\n  Height = 227\r\n"
                        "  Caption = 'Einstellungen \xFC'\r\nend\r\n");
    EXPECT_EQ(outer->clientArea()->size(), QSize(300, 200));
    EXPECT_EQ(outer->windowTitle(), QString::fromUtf8("Einstellungen ü"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(outer->pos(), QPoint(std::max(30, screen.left()), std::max(40, screen.top())));

    auto centred = viewOf("object F: TForm1\r\n  ClientWidth = 200\r\n  ClientHeight = 100\r\n"
                          "  BorderStyle = bsDialog\r\n  Position = poScreenCenter\r\nend\r\n");
    EXPECT_EQ(centred->clientArea()->size(), QSize(200, 100));
    EXPECT_LE(std::abs(centred->geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(centred->geometry().center().y() - screen.center().y()), 1);

    // Sizes and places from a damaged or hostile file stay within reason.
    auto huge = viewOf("object F: TForm1\r\n  Left = -2000000000\r\n  Width = 2147483647\r\n  Height = -5\r\n"
                       "  object G: TStringGrid\r\n    Width = 2147483647\r\n    ColCount = 2000000000\r\n"
                       "    RowCount = 2000000000\r\n  end\r\nend\r\n");
    EXPECT_LE(huge->width(), 4000);
    EXPECT_GE(huge->clientArea()->height(), 20);
    EXPECT_LE(child<QTableWidget>(*huge, "G")->rowCount(), 1000);
    EXPECT_GE(huge->x(), screen.left());
}

TEST(FormView, FontColourVisibilityEnabledAndHint)
{
    auto view = viewOf(form("  object Label1: TLabel\r\n    Font.Color = clRed\r\n    Font.Height = -16\r\n"
                            "    Font.Name = 'Arial'\r\n    Font.Style = [fsBold, fsUnderline]\r\n"
                            "    Hint = 'Kurz|Ein langer Hinweis'\r\n    Caption = 'x'\r\n  end\r\n"
                            "  object Label2: TLabel\r\n    Font.Size = 12\r\n    Hint = '<b>roh</b>'\r\n  end\r\n"
                            "  object Panel1: TPanel\r\n    Color = $00FF8000\r\n    Visible = False\r\n  end\r\n"
                            "  object Edit1: TEdit\r\n    Color = clBtnFace\r\n    Enabled = False\r\n  end\r\n"
                            "  object List1: TListBox\r\n  end\r\n",
                            "  Color = clYellow\r\n  Font.Height = -11\r\n"));
    auto* label = child<QLabel>(*view, "Label1");
    EXPECT_EQ(label->font().pixelSize(), 16);
    EXPECT_TRUE(label->font().bold() && label->font().underline() && !label->font().italic());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(label->toolTip(), "Kurz");
    // Points at 96 pixels per inch; a hint that looks like markup stays text.
    EXPECT_EQ(child<QLabel>(*view, "Label2")->font().pixelSize(), 16);
    EXPECT_TRUE(child<QLabel>(*view, "Label2")->toolTip().contains("&lt;b&gt;"));
    // The form's font reaches controls that have none of their own.
    EXPECT_EQ(child<QWidget>(*view, "Edit1")->font().pixelSize(), 11);
    EXPECT_EQ(view->clientArea()->palette().color(QPalette::Window), QColor(255, 255, 0));

    EXPECT_TRUE(child<QWidget>(*view, "Panel1")->isHidden());
    EXPECT_EQ(child<QWidget>(*view, "Panel1")->palette().color(QPalette::Window), QColor(0, 0x80, 0xFF));
    // An edit's Color is its text area's.
    EXPECT_FALSE(child<QWidget>(*view, "Edit1")->isEnabled());
    EXPECT_EQ(child<QWidget>(*view, "Edit1")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Button));
    // The form's colour is no list's text area.
    EXPECT_EQ(child<QWidget>(*view, "List1")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(child<QWidget>(*view, "List1")->palette().color(QPalette::Window), QColor(255, 255, 0));
}

TEST(FormView, TheNamedMainMenuBecomesTheMenuBar)
{
    auto view = viewOf(form("  object Other: TMainMenu\r\n    object X1: TMenuItem\r\n      Caption = 'X'\r\n"
                            "    end\r\n  end\r\n"
                            "  object MainMenu1: TMainMenu\r\n    Left = 8\r\n    Top = 8\r\n"
                            "    object File1: TMenuItem\r\n      Caption = '&Datei'\r\n"
                            "      object Open1: TMenuItem\r\n        Caption = '\xD6" "&ffnen...'\r\n"
                            "        ShortCut = 16463\r\n      end\r\n"
                            "      object N1: TMenuItem\r\n        Caption = '-'\r\n      end\r\n"
                            "      object Recent1: TMenuItem\r\n        Caption = 'Zuletzt'\r\n"
                            "        object Recent2: TMenuItem\r\n          Caption = 'a.txt'\r\n"
                            "          Checked = True\r\n        end\r\n      end\r\n"
                            "      object Exit1: TMenuItem\r\n        Caption = '&Beenden'\r\n"
                            "        Enabled = False\r\n      end\r\n    end\r\n"
                            "    object Help1: TMenuItem\r\n    end\r\n  end\r\n",
                            "  Menu = MainMenu1\r\n"));
    QMenuBar* bar = view->formMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), "MainMenu1");
    const auto top = bar->actions();
    ASSERT_EQ(top.size(), 2);
    ASSERT_NE(top[0]->menu(), nullptr);
    const auto items = top[0]->menu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QString::fromUtf8("Ö&ffnen..."));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_TRUE(items[1]->isSeparator());
    ASSERT_NE(items[2]->menu(), nullptr);
    EXPECT_TRUE(items[2]->menu()->actions()[0]->isChecked());
    EXPECT_FALSE(items[3]->isEnabled());
    // The other main menu and the menu items make no widgets of the form.
    EXPECT_EQ(view->findChild<QMenuBar*>("Other"), nullptr);
    EXPECT_EQ(view->clientArea()->findChildren<QWidget*>().size(), 0);
    // The bar sits above the client area, which keeps its size.
    EXPECT_EQ(view->clientArea()->size(), QSize(400, 300));
    EXPECT_GE(view->clientArea()->y(), bar->height());
}

TEST(FormView, UnknownControlsArePlaceholdersNamedOnTheStatusLine)
{
    auto view = viewOf(form("  object Grid1: TMyGrid\r\n    Left = 5\r\n    Top = 6\r\n    Width = 70\r\n"
                            "    Height = 80\r\n    object Inside: TButton\r\n      Caption = 'drin'\r\n    end\r\n  end\r\n"
                            "  object Fancy1: TFancyButton\r\n    Width = 20\r\n    Height = 20\r\n  end\r\n"
                            "  object Grid2: TMyGrid\r\n    Width = 20\r\n    Height = 20\r\n  end\r\n"
                            "  object Helper1: TMyComponent\r\n    Left = 8\r\n    Top = 8\r\n  end\r\n"
                            "  object OpenDialog1: TOpenDialog\r\n    Left = 8\r\n    Top = 8\r\n  end\r\n"
                            "  object Timer1: TTimer\r\n  end\r\n"
                            "  object PopupMenu1: TPopupMenu\r\n    object Copy1: TMenuItem\r\n"
                            "      Caption = 'Kopieren'\r\n    end\r\n  end\r\n"
                            "  object Table1: TTable\r\n    DatabaseName = 'DBDEMOS'\r\n  end\r\n"));
    auto* grid = child<QWidget>(*view, "Grid1");
    EXPECT_TRUE(grid->property("placeholder").toBool());
    EXPECT_EQ(grid->geometry(), QRect(5, 6, 70, 80));
    EXPECT_EQ(child<QPushButton>(*view, "Inside")->parentWidget(), grid);
    ASSERT_NE(view->statusLine(), nullptr);
    EXPECT_EQ(view->unknownClasses(), (QStringList{"TMyGrid", "TFancyButton"}));
    EXPECT_EQ(view->statusLine()->findChild<QLabel*>()->text(), "Not shown as themselves: TMyGrid, TFancyButton");
    // Non-visual components, known or not, make nothing.
    for (const char* name : {"Helper1", "OpenDialog1", "Timer1", "PopupMenu1", "Copy1", "Table1"})
        EXPECT_EQ(view->findChild<QObject*>(name), nullptr) << name;
    // The status line comes below the client area, which keeps its size.
    EXPECT_EQ(view->clientArea()->size(), QSize(400, 300));
    EXPECT_GE(view->statusLine()->y(), 300);
}

TEST(FormView, PicturesAndGlyphsAreShown)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    image.setPixelColor(2, 0, QColor(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    const std::string bitmap = bytes.toStdString();
    // As a TBitmap writes itself: its size first. The second picture has none.
    const std::string withSize = "\x07TBitmap" + u32(bitmap.size()) + bitmap;
    const std::string bare = "\x07TBitmap" + bitmap;
    const std::string glyph = u32(bitmap.size()) + bitmap;
    auto view = viewOf(form("  object Image1: TImage\r\n    Width = 10\r\n    Height = 10\r\n"
                            "    Picture.Data = {" + hex(withSize) + "}\r\n  end\r\n"
                            "  object Image2: TImage\r\n    Picture.Data = {" + hex(bare) + "}\r\n  end\r\n"
                            "  object Image3: TImage\r\n    Picture.Data = {07544269746D6170FFFF}\r\n  end\r\n"
                            "  object BitBtn1: TBitBtn\r\n    Caption = 'Bild'\r\n"
                            "    Glyph.Data = {" + hex(glyph) + "}\r\n  end\r\n"));
    for (const char* name : {"Image1", "Image2"}) {
        const QImage shown = child<QLabel>(*view, name)->pixmap().toImage();
        ASSERT_EQ(shown.size(), QSize(3, 2)) << name;
        EXPECT_EQ(shown.pixelColor(0, 1), QColor(255, 0, 0));
        EXPECT_EQ(shown.pixelColor(2, 0), QColor(0, 0, 255));
    }
    // Data that holds no picture shows none and breaks nothing.
    EXPECT_TRUE(child<QLabel>(*view, "Image3")->pixmap().isNull());
    EXPECT_FALSE(child<QPushButton>(*view, "BitBtn1")->icon().isNull());
    EXPECT_TRUE(ui::formImage("\x20TBitmap", true).isNull());   // class name longer than the data
}

TEST(FormViewValues, ColoursShortCutsAndStrings)
{
    const auto colour = [](const char* name, std::int32_t number = 0) {
        formfile::FormValue v;
        v.type = name ? formfile::FormValue::Type::Identifier : formfile::FormValue::Type::Integer;
        v.text = name ? name : "";
        v.integer = number;
        return ui::delphiColor(v);
    };
    EXPECT_EQ(colour("CLNAVY"), QColor(0, 0, 128));
    EXPECT_EQ(colour("clWindow"), QApplication::palette().color(QPalette::Base));
    EXPECT_FALSE(colour("clNone").isValid());
    EXPECT_FALSE(colour("clNoSuchColour").isValid());
    EXPECT_EQ(colour(nullptr, 0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(colour(nullptr, static_cast<std::int32_t>(0x8000000F)),   // clBtnFace as a number
              QApplication::palette().color(QPalette::Button));

    EXPECT_EQ(ui::delphiShortCut(0x2000 | 0x8000 | 0x71), QKeySequence("Shift+Alt+F2"));
    EXPECT_EQ(ui::delphiShortCut(0x2E), QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(ui::delphiShortCut(0xFF).isEmpty());
    EXPECT_EQ(ui::formString(std::string("\x80\x81\xE4", 3)), QString::fromUtf16(u"\u20AC\u0081\u00E4"));
}
