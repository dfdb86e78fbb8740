// Reading binary form files into a component tree.
#include "FormTestUtil.h"
#include "core/formfile/FormTree.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace lingrove::formfile;
using namespace formtest;

namespace {

FormComponent fromText(const std::string& text)
{
    std::string file;
    TextToResource(text, file);
    return readFormFile(file);
}

FormError::Kind errorKind(const std::string& file, long long* offset = nullptr)
{
    try {
        readFormFile(file);
    } catch (const FormError& e) {
        if (offset)
            *offset = e.offset();
        return e.kind();
    }
    ADD_FAILURE() << "no error";
    return FormError::Kind::Io;
}

std::string resource(const std::string& data)
{
    return "\xFF\x0A" + std::string(1, '\0') + "TFORM1" + std::string(1, '\0') + "\x30\x10" + u32(data.size()) + data;
}

} // namespace

TEST(FormTree, ComponentsKeepClassNameFlagsAndOrder)
{
    const FormComponent root = fromText("inherited Main: TMainForm\r\n"
                                        "  Caption = 'Hi'\r\n"
                                        "  object Panel1: TPanel\r\n"
                                        "    object Button1: TButton\r\n"
                                        "    end\r\n"
                                        "    object TLabel [2]\r\n"
                                        "    end\r\n"
                                        "  end\r\n"
                                        "  inherited Edit1: TEdit [0]\r\n"
                                        "  end\r\n"
                                        "end\r\n");
    EXPECT_EQ(root.className, "TMainForm");
    EXPECT_EQ(root.name, "Main");
    EXPECT_TRUE(root.inherited);
    EXPECT_FALSE(root.hasChildPosition);
    ASSERT_EQ(root.children.size(), 2u);
    const FormComponent& panel = root.children[0];
    EXPECT_EQ(panel.name, "Panel1");
    EXPECT_FALSE(panel.inherited);
    ASSERT_EQ(panel.children.size(), 2u);
    EXPECT_EQ(panel.children[0].className, "TButton");
    EXPECT_EQ(panel.children[1].name, "");
    EXPECT_TRUE(panel.children[1].hasChildPosition);
    EXPECT_EQ(panel.children[1].childPosition, 2);
    const FormComponent& edit = root.children[1];
    EXPECT_TRUE(edit.inherited);
    EXPECT_TRUE(edit.hasChildPosition);
    EXPECT_EQ(edit.childPosition, 0);
}

TEST(FormTree, EveryValueTypeIsRead)
{
    const std::string longText(300, 'x');
    const FormComponent root = fromText(formText("  Small = -128\r\n"
                                                 "  Medium = 32767\r\n"
                                                 "  Large = -2147483648\r\n"
                                                 "  Ratio = 1.5\r\n"
                                                 "  Tiny = -0.001\r\n"
                                                 "  Caption = 'Gr\xF6\xDF" "e'#13#10'x'\r\n"
                                                 "  Long = '" + longText + "'\r\n"
                                                 "  Align = alClient\r\n"
                                                 "  Font.Style = [fsBold, fsItalic]\r\n"
                                                 "  Empty = []\r\n"
                                                 "  Shown = True\r\n"
                                                 "  Hidden = False\r\n"
                                                 "  Ref = nil\r\n"
                                                 "  Data = {00FF10}\r\n"
                                                 "  Items.Strings = (\r\n    'one'\r\n    'two'\r\n    3)\r\n"
                                                 "  Panels = <\r\n"
                                                 "    item\r\n      Text = 'a'\r\n      Width = 50\r\n    end\r\n"
                                                 "    item [7]\r\n      Text = 'b'\r\n    end>\r\n"
                                                 "  None = <>\r\n"));
    EXPECT_EQ(root.integer("Small"), -128);
    EXPECT_EQ(root.integer("Medium"), 32767);
    EXPECT_EQ(root.integer("Large"), INT32_MIN);
    ASSERT_NE(root.find("Ratio"), nullptr);
    EXPECT_EQ(root.find("Ratio")->type, FormValue::Type::Float);
    EXPECT_DOUBLE_EQ(root.find("Ratio")->number, 1.5);
    EXPECT_NEAR(root.find("Tiny")->number, -0.001, 1e-15);
    EXPECT_EQ(root.text("Caption"), "Gr\xF6\xDF" "e\r\nx");
    EXPECT_EQ(root.text("Long"), longText);
    EXPECT_EQ(root.find("Align")->type, FormValue::Type::Identifier);
    EXPECT_EQ(root.text("Align"), "alClient");
    EXPECT_EQ(root.find("Font.Style")->elements, (std::vector<std::string>{"fsBold", "fsItalic"}));
    EXPECT_EQ(root.find("Empty")->type, FormValue::Type::Set);
    EXPECT_TRUE(root.find("Empty")->elements.empty());
    EXPECT_TRUE(root.boolean("Shown"));
    EXPECT_FALSE(root.boolean("Hidden", true));
    EXPECT_EQ(root.find("Ref")->type, FormValue::Type::Nil);
    EXPECT_EQ(root.find("Data")->type, FormValue::Type::Binary);
    EXPECT_EQ(root.find("Data")->text, std::string("\x00\xFF\x10", 3));
    // Non-string list members are left out of strings().
    EXPECT_EQ(root.strings("Items.Strings"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(root.find("Items.Strings")->items.size(), 3u);

    const FormValue* panels = root.find("Panels");
    ASSERT_NE(panels, nullptr);
    ASSERT_EQ(panels->collection.size(), 2u);
    EXPECT_FALSE(panels->collection[0].hasIndex);
    EXPECT_EQ(panels->collection[0].find("Text")->text, "a");
    EXPECT_EQ(panels->collection[0].find("width")->integer, 50);
    EXPECT_TRUE(panels->collection[1].hasIndex);
    EXPECT_EQ(panels->collection[1].index, 7);
    EXPECT_EQ(panels->collection[1].find("Width"), nullptr);
    EXPECT_TRUE(root.find("None")->collection.empty());
}

TEST(FormTree, LookupsIgnoreCaseAndFallBackOnOtherTypes)
{
    const FormComponent root = fromText(formText("  Width = 10\r\n  Caption = 'c'\r\n  caption = 'exact'\r\n"));
    EXPECT_EQ(root.integer("WIDTH"), 10);
    EXPECT_EQ(root.text("caption"), "exact");   // the exact spelling wins
    EXPECT_EQ(root.text("CAPTION"), "c");       // else the first without regard to case
    EXPECT_EQ(root.integer("Caption", 5), 5);   // a string is no integer
    EXPECT_EQ(root.text("Width", "none"), "none");
    EXPECT_EQ(root.integer("Missing", -1), -1);
    EXPECT_TRUE(root.strings("Missing").empty());
    EXPECT_TRUE(sameIdentifier("TForm1", "tFORM1"));
    EXPECT_FALSE(sameIdentifier("TForm1", "TForm2"));
    EXPECT_FALSE(sameIdentifier("\xC4", "\xE4"));   // only ASCII letters fold
}

TEST(FormTree, ResourceNameGivenByNumberIsSkipped)
{
    const std::string data = form(prop("Tag", byte(2) + byte(5)));
    const std::string file = std::string("\xFF\x0A\x00\xFF\x01\x00\x30\x10", 8) + u32(data.size()) + data;
    EXPECT_EQ(readFormFile(file).integer("Tag"), 5);
    EXPECT_EQ(readFormData(data).name, "Form1");
}

TEST(FormTree, MalformedInputNamesTheFileOffset)
{
    long long offset = -2;
    // A unit's text, not a form file.
    EXPECT_EQ(errorKind("unit Unit1;\r\ninterface\r\n", &offset), FormError::Kind::InvalidStreamFormat);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(errorKind(std::string("\xFF\x0A\x00TFORM", 8)), FormError::Kind::InvalidStreamFormat);
    EXPECT_EQ(errorKind(resource("TPF1")), FormError::Kind::InvalidStreamFormat);

    // Offsets count from the start of the file, header included.
    const std::string good = resource(form(prop("Tag", byte(2) + byte(1))));
    const std::size_t header = good.size() - form(prop("Tag", byte(2) + byte(1))).size();
    const std::string truncated = good.substr(0, good.size() - 3);
    EXPECT_EQ(errorKind(truncated, &offset), FormError::Kind::UnexpectedEnd);
    EXPECT_EQ(offset, static_cast<long long>(truncated.size()));

    const std::string badType = form(prop("Tag", byte(22)));
    EXPECT_EQ(errorKind(resource(badType), &offset), FormError::Kind::UnknownValueType);
    EXPECT_EQ(offset, static_cast<long long>(header + badType.size() - 3));

    // A string whose length runs past the end.
    EXPECT_EQ(errorKind(resource(form(prop("Caption", byte(12) + u32(0xFFFFFFF0u) + "ab")))),
              FormError::Kind::UnexpectedEnd);
    // Infinite extended number.
    const std::string inf = std::string(7, '\0') + "\x80\xFF\x7F";
    EXPECT_EQ(errorKind(resource(form(prop("Ratio", byte(5) + inf)))), FormError::Kind::NotFinite);
    // A child position that is no integer.
    EXPECT_EQ(errorKind(resource(form("", byte(0xF2) + byte(6) + shortStr("x") + shortStr("TButton")
                                              + shortStr("B") + byte(0) + byte(0)))),
              FormError::Kind::InvalidComponent);
    // A collection item without its property list.
    EXPECT_EQ(errorKind(resource(form(prop("Panels", byte(14) + byte(6) + shortStr("x"))))),
              FormError::Kind::UnknownValueType);
}

TEST(FormTree, DeepNestingIsRefused)
{
    std::string children;
    for (int i = 0; i < 1000; ++i)
        children += shortStr("TPanel") + shortStr("P") + byte(0);
    children += std::string(1000, '\0');
    EXPECT_EQ(errorKind(resource(form("", children))), FormError::Kind::TooDeep);
}

// Every form of the corpus gives as many components as its text has objects.
TEST(FormTree, CorpusFormsAgreeWithTheirText)
{
    namespace fs = std::filesystem;
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(LINGROVE_TEST_DATA) / "forms")) {
        if (entry.path().extension() != ".dfm")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream buffer;
        buffer << in.rdbuf();
        const std::string file = buffer.str();
        std::string text;
        try {
            ResourceToText(file, text);
        } catch (const FormError&) {
            EXPECT_THROW(readFormFile(file), FormError) << entry.path();
            continue;
        }
        const FormComponent root = readFormFile(file);
        std::size_t objects = 0;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t first = line.find_first_not_of(' ');
            if (first != std::string::npos
                && (line.compare(first, 7, "object ") == 0 || line.compare(first, 10, "inherited ") == 0))
                ++objects;
        }
        std::size_t counted = 0;
        auto count = [&](auto&& self, const FormComponent& c) -> void {
            ++counted;
            for (const FormComponent& child : c.children)
                self(self, child);
        };
        count(count, root);
        EXPECT_EQ(counted, objects) << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 5);
}

TEST(FormTree, LaterDelphiValueTypes)
{
    // UTF-8 and UTF-16 captions, a 64-bit integer, Single and Currency.
    const std::string utf16 = std::string("\x1F\x04\x40\x04", 4); // Cyrillic "Пр"
    const FormComponent root = readFormData(
        form(prop("Caption", byte(20) + u32(6) + "Gr\xC3\xB6\xC3\x9F") + prop("Hint", byte(18) + u32(2) + utf16)
             + prop("Big", byte(19) + u32(0) + u32(1)) + prop("Small", byte(19) + u32(5) + u32(0))
             + prop("Ratio", byte(15) + u32(0x3FC00000u)) + prop("Price", byte(16) + u32(123400) + u32(0))));
    EXPECT_EQ(root.text("Caption"), "Gr\xF6\xDF");
    EXPECT_FALSE(root.find("Caption")->utf8);
    EXPECT_EQ(root.text("Hint"), "\xD0\x9F\xD1\x80");
    EXPECT_TRUE(root.find("Hint")->utf8);
    EXPECT_EQ(root.find("Big")->number, 4294967296.0);
    EXPECT_EQ(root.integer("Small"), 5);
    EXPECT_EQ(root.find("Ratio")->number, 1.5);
    EXPECT_EQ(root.find("Price")->number, 12.34);
}
