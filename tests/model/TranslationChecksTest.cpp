// The checks at a commit: Delphi format strings, accelerators, spaces,
// endings and line-break codes, and on a form of our own the accelerator
// clashes of menus and panels and the width of captions.
#include "model/FormOutline.h"
#include "model/TranslationChecks.h"

#include <QTextDocument>
#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

// The messages of the warnings, for comparing and for failure output.
std::vector<std::string> messages(const std::vector<CheckWarning>& warnings)
{
    std::vector<std::string> out;
    for (const CheckWarning& w : warnings)
        out.push_back(w.message.toStdString());
    return out;
}

std::vector<std::string> format(const char* source, const char* translation)
{
    return messages(checkFormat(QString::fromUtf8(source), QString::fromUtf8(translation)));
}

using Strings = std::vector<std::string>;

TEST(FormatCheck, TranslationsThatKeepTheArgumentsPass)
{
    EXPECT_EQ(format("File %s not found", "Datei %s nicht gefunden"), Strings());
    EXPECT_EQ(format("%d of %d files copied (%.1f%%)", "%d von %d Dateien kopiert (%.1f %%)"), Strings());
    // Order changed through index specifiers, width and precision changed.
    EXPECT_EQ(format("%s has %d items", "%1:d Einträge hat %0:s"), Strings());
    EXPECT_EQ(format("Total: %8.2m", "Summe: %.2M"), Strings());
    EXPECT_EQ(format("Value %*d", "Wert %*d"), Strings());
    EXPECT_EQ(format("%-10s|%5d", "%-12s|%4d"), Strings());
    // Not a format string, and the translation's percent sign is no specifier.
    EXPECT_EQ(format("Sale 50% off", "50 % Rabatt"), Strings());
}

TEST(FormatCheck, ChangedArgumentsAndBrokenSpecifiersAreNamed)
{
    // The classic crash: %s now takes the integer.
    EXPECT_EQ(format("Copied %d files to %s", "Dateien nach %s kopiert"),
              Strings({"Argument 1 is %d in the source but %s in the translation.",
                       "Argument 2 (%s) is not used in the translation."}));
    EXPECT_EQ(format("Progress: %d%%", "Fortschritt: %d%"),
              Strings({"The translation ends with a lone \"%\": Format would fail (write \"%%\" for a percent "
                       "sign)."}));
    EXPECT_EQ(format("%d%% done", "%d% erledigt"),
              Strings({"\"% \" in the translation is no format specifier: Format would fail (write \"%%\" for a "
                       "percent sign)."}));
    EXPECT_EQ(format("%0:s", "%0:s %2:s"),
              Strings({"The translation uses argument 3 (%s), which the source does not: Format would fail."}));
    // A "*" width takes an argument of its own.
    EXPECT_EQ(format("Value %*d", "Wert %d"), Strings({"Argument 2 (%d) is not used in the translation."}));
    // The same arguments, once less often.
    EXPECT_EQ(format("%0:s and %0:s", "%0:s"),
              Strings({"The source has 2 format specifiers (%0:s, %0:s), the translation 1 (%0:s)."}));
    EXPECT_EQ(format("Ready", "Bereit: %s"),
              Strings({"The translation has format specifiers (%s), the source none."}));
    // A "*" index: only the order of the types counts.
    EXPECT_EQ(format("%*:s %d", "%*:s %s").size(), 1u);
}

TEST(TextChecks, AcceleratorSpacesEndingsAndCodes)
{
    auto check = [](const char* s, const char* t) {
        return messages(checkTranslation(QString::fromUtf8(s), QString::fromUtf8(t)));
    };
    EXPECT_EQ(check("&Open", "&Öffnen"), Strings());
    EXPECT_EQ(check("&Open", "Öffnen"), Strings({"The source has the accelerator &O, the translation none."}));
    EXPECT_EQ(check("E&xit", "&Be&enden"), Strings({"The translation has 2 accelerators (&B, &e); one is enough."}));
    EXPECT_EQ(check("Save && Exit", "Speichern && Beenden"), Strings()) << "&& is an ampersand";
    EXPECT_EQ(check("Tom && &Jerry", "Tom && Jerry"),
              Strings({"The source has the accelerator &J, the translation none."}));

    EXPECT_EQ(check(" Name: ", "Name:"),
              Strings({"The source starts with 1 space, the translation with no space.",
                       "The source ends with 1 space, the translation with no space."}));
    EXPECT_EQ(check("Save &as...", "Speichern &unter"),
              Strings({"The source ends with \u201C...\u201D, the translation does not."}));
    EXPECT_EQ(check("Save &as...", "Speichern &unter\u2026"), Strings());
    EXPECT_EQ(check("Name:", "Nom :"), Strings());
    EXPECT_EQ(check("Done.", "完了。"), Strings());
    EXPECT_EQ(check("Done.", "Fertig..."),
              Strings({"The source ends with \u201C.\u201D, the translation with \u201C...\u201D."}));
    EXPECT_EQ(check("Done", "Fertig."), Strings()) << "only what the source has is kept";

    EXPECT_EQ(check("Line one#13#10Line two", "Zeile eins#$0D#$0AZeile zwei"), Strings());
    EXPECT_EQ(check("Line one#13#10Line two", "Zeile eins#13Zeile zwei"),
              Strings({"Line-break codes changed: #10 (line feed): 1 in the source, 0 in the translation."}));
    EXPECT_EQ(check("Col1#9Col2", "Sp1 Sp2"),
              Strings({"Line-break codes changed: #9 (tab): 1 in the source, 0 in the translation."}));
}

// A form of our own: a main menu with two menus, a panel of buttons and a
// group box, a list with items and a list view with columns.
const char* kForm = R"(object EditorForm: TEditorForm
  Caption = 'Editor'
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'DejaVu Sans'
  Font.Style = []
  object ButtonPanel: TPanel
    Width = 400
    object OkButton: TButton
      Width = 75
      Caption = '&OK'
    end
    object CancelButton: TButton
      Width = 75
      Caption = '&Abbrechen'
    end
    object CopyBox: TCheckBox
      Width = 120
      Caption = '&Kopie behalten'
    end
  end
  object OptionsBox: TGroupBox
    Width = 200
    Caption = 'Optionen'
    object CaseBox: TCheckBox
      Width = 150
      Caption = '&Gro'#223'/klein'
    end
    object HintLabel: TLabel
      Width = 20
      Caption = 'Ein sehr langer Hinweis, der wachsen darf'
    end
  end
  object Names: TListBox
    Items.Strings = (
      'Anna'
      'Bert (Chef)'
      'Carla')
  end
  object Files: TListView
    Columns = <
      item
        Caption = 'Name'
        Width = 100
      end
      item
        Caption = 'Gr'#246#223'e'
      end>
  end
  object MainMenu1: TMainMenu
    object FileMenu: TMenuItem
      Caption = '&Datei'
      object NewItem: TMenuItem
        Caption = '&Neu'
      end
      object SaveItem: TMenuItem
        Caption = '&Speichern'
      end
      object SaveAsItem: TMenuItem
        Caption = 'Speichern &unter...'
      end
      object Separator1: TMenuItem
        Caption = '-'
      end
    end
    object EditMenu: TMenuItem
      Caption = '&Bearbeiten'
      object CopyItem: TMenuItem
        Caption = '&Kopieren'
      end
    end
  end
end
)";

// The line of the page that holds text.
int lineOf(const QString& page, const QString& text)
{
    const QStringList lines = page.split(u'\n');
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].contains(text))
            return i + 1;
    ADD_FAILURE() << "no line holds " << text.toStdString();
    return 0;
}

// The page with one caption translated, and its outline.
struct Translated {
    QString page;
    int line = 0;
    std::optional<FormOutline> form;
};

Translated translate(const QString& from, const QString& to)
{
    Translated t;
    t.page = QString::fromUtf8(kForm);
    t.line = lineOf(t.page, QLatin1Char('\'') + from + QLatin1Char('\''));
    t.page.replace(QLatin1Char('\'') + from + QLatin1Char('\''), QLatin1Char('\'') + to + QLatin1Char('\''));
    QString why;
    t.form = FormOutline::read(t.page, &why);
    EXPECT_TRUE(t.form) << why.toStdString();
    return t;
}

TEST(FormOutlineTest, EveryLineBelongsToItsComponentAndProperty)
{
    const QString page = QString::fromUtf8(kForm);
    QString why;
    const std::optional<FormOutline> form = FormOutline::read(page, &why);
    ASSERT_TRUE(form) << why.toStdString();

    auto at = [&](const char* text) {
        const auto place = form->placeOf(lineOf(page, QString::fromUtf8(text)));
        if (!place)
            return std::string("-");
        return place->component->name + "." + place->property.toStdString() + "[" + std::to_string(place->item)
               + "]" + place->itemProperty.toStdString() + " in "
               + (place->parent ? place->parent->name : std::string("-"));
    };
    EXPECT_EQ(at("'&Abbrechen'"), "CancelButton.Caption[-1] in ButtonPanel");
    EXPECT_EQ(at("'Bert (Chef)'"), "Names.Items.Strings[1] in EditorForm");
    EXPECT_EQ(at("'Carla')"), "Names.Items.Strings[2] in EditorForm");
    EXPECT_EQ(at("'Gr'#246#223'e'"), "Files.Columns[1]Caption in EditorForm");
    EXPECT_EQ(at("'&Neu'"), "NewItem.Caption[-1] in FileMenu");
    EXPECT_EQ(at("Caption = 'Editor'"), "EditorForm.Caption[-1] in -");
    EXPECT_EQ(at("object SaveItem"), "-");

    EXPECT_EQ(FormOutline::text(*form->placeOf(lineOf(page, "'&Gro'"))->component, "Caption"),
              QString::fromUtf8("&Groß/klein"));
    // A page whose objects are not the form's is refused.
    EXPECT_FALSE(FormOutline::read(QStringLiteral("object A: TA\n  Caption = 'x\nend\n"), &why));
}

TEST(FormChecks, AcceleratorClashesInOneMenuOrParentAreNamed)
{
    // Two items of the File menu with S; another menu's S would not count.
    Translated t = translate("Speichern &unter...", "&Save as...");
    const std::vector<CheckWarning> clash = checkFormCaption(*t.form, t.line);
    ASSERT_EQ(clash.size(), 1u);
    EXPECT_EQ(clash[0].kind, CheckWarning::Kind::AcceleratorClash);
    EXPECT_EQ(clash[0].clashWith, "SaveItem");
    EXPECT_EQ(clash[0].message.toStdString(),
              "Alt+S of \u201CSave as...\u201D (SaveAsItem) is also the key of \u201CSpeichern\u201D (SaveItem).");

    t = translate("&Kopieren", "&Speichern");
    EXPECT_TRUE(checkFormCaption(*t.form, t.line).empty()) << "another menu";
    t = translate("&Bearbeiten", "&Datei bearbeiten");
    EXPECT_EQ(checkFormCaption(*t.form, t.line).size(), 1u) << "the menu bar's items";

    // Controls of one panel: the check box takes the cancel button's key.
    t = translate("&Kopie behalten", "C&opy kept");
    EXPECT_EQ(messages(checkFormCaption(*t.form, t.line)),
              Strings({"Alt+O of \u201CCopy kept\u201D (CopyBox) is also the key of \u201COK\u201D (OkButton)."}));
    t = translate("&Gro'#223'/klein", "&Original case");
    EXPECT_TRUE(checkFormCaption(*t.form, t.line).empty()) << "another parent";
    t = translate("Anna", "&Ann");
    EXPECT_TRUE(checkFormCaption(*t.form, t.line).empty()) << "list items are no captions";
}

TEST(FormChecks, CaptionWiderThanItsControlGivesBothWidths)
{
    Translated t = translate("&Abbrechen", "&Cancel");
    EXPECT_TRUE(checkFormCaption(*t.form, t.line).empty());

    t = translate("&Abbrechen", "&Cancel and discard all changes");
    const std::vector<CheckWarning> wide = checkFormCaption(*t.form, t.line);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].kind, CheckWarning::Kind::Width);
    EXPECT_EQ(wide[0].roomWidth, 67) << "75 less the button's frame";
    EXPECT_GT(wide[0].textWidth, 2 * wide[0].roomWidth);
    EXPECT_TRUE(wide[0].message.contains("has room for 67 px")) << wide[0].message.toStdString();

    // The check box's box takes room too; a label that grows never warns.
    t = translate("&Kopie behalten", "&Keep a copy of the file");
    ASSERT_EQ(checkFormCaption(*t.form, t.line).size(), 1u);
    EXPECT_EQ(checkFormCaption(*t.form, t.line)[0].roomWidth, 102);
    t = translate("Ein sehr langer Hinweis, der wachsen darf", "A very long hint that may grow as it likes to");
    EXPECT_TRUE(checkFormCaption(*t.form, t.line).empty());
}

TEST(FormChecks, CommitOnAFormPageRunsTextAndFormChecks)
{
    Translated t = translate("&Speichern", "Save");
    QTextDocument page;
    page.setPlainText(t.page);
    const std::vector<CheckWarning> all = checkCommit("&Speichern", "Save", &page, t.line);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].kind, CheckWarning::Kind::Accelerator);

    t = translate("&Neu", "&Speichern neu");
    page.setPlainText(t.page);
    EXPECT_EQ(checkCommit("&Neu", "&Speichern neu", &page, t.line).size(), 1u);
    EXPECT_TRUE(checkCommit("&Neu", "&Speichern neu", nullptr, t.line).empty()) << "a unit has no form checks";
    page.setPlainText("unit Broken;");
    EXPECT_TRUE(checkCommit("&Neu", "&Speichern neu", &page, 1).empty());
}

} // namespace
