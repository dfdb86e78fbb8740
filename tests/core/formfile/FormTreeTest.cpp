// Reading binary form files into a component tree.
#include "FormTestUtil.h"
#include "core/formfile/FormTree.h"

#include <filesystem>
#include <fstream>
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

} // namespace

TEST(FormTree, ComponentsKeepClassNameFlagsAndOrder)
{
    // Each component as "name: class", with "inherited" and its position, children indented.
    const auto describe = [](auto&& self, const FormComponent& c, const std::string& indent) -> std::string {
        std::string out = indent + (c.inherited ? "inherited " : "") + c.name + ": " + c.className
                          + (c.hasChildPosition ? " [" + std::to_string(c.childPosition) + "]" : "") + "\n";
        for (const FormComponent& child : c.children)
            out += self(self, child, indent + "  ");
        return out;
    };
    const FormComponent root = fromText("inherited Main: TMainForm\r\n"
                                        "  Caption = 'Hi'\r\n"
                                        "  object Panel1: TPanel\r\n"
                                        "    object Button1: TButton\r\n    end\r\n"
                                        "    object TLabel [2]\r\n    end\r\n"
                                        "  end\r\n"
                                        "  inherited Edit1: TEdit [0]\r\n  end\r\n"
                                        "end\r\n");
    EXPECT_EQ(describe(describe, root, ""), "inherited Main: TMainForm\n"
                                            "  Panel1: TPanel\n"
                                            "    Button1: TButton\n"
                                            "    : TLabel [2]\n"
                                            "  inherited Edit1: TEdit [0]\n");
}

TEST(FormTree, EveryValueTypeIsRead)
{
    const FormComponent root = fromText(formText(
        "  Small = -128\r\n  Medium = 32767\r\n  Large = -2147483648\r\n  Small64 = Int64(5)\r\n"
        "  Big = 4294967296\r\n  Ratio = 1.5\r\n  Tiny = -0.001\r\n  Single = 1.5s\r\n  Price = 123400c\r\n"
        "  When = 36526.5d\r\n  Exact = Double(0.1)\r\n"
        "  Caption = 'Gr\xF6\xDF" "e'#13#10'x'\r\n  Long = LString('abc')\r\n  Wide = 'Gr'#246#223\r\n"
        "  Cyr = #1055#1088\r\n  Align = alClient\r\n  Font.Style = [fsBold, fsItalic]\r\n  Empty = []\r\n"
        "  Shown = True\r\n  Hidden = False\r\n  Ref = nil\r\n  Data = {00FF10}\r\n"
        "  Items.Strings = (\r\n    'one'\r\n    'two'\r\n    3)\r\n"
        "  Panels = <\r\n    item\r\n      Text = 'a'\r\n      Width = 50\r\n    end\r\n    item [7]\r\n    end>\r\n"));
    EXPECT_EQ(root.integer("Small"), -128);
    EXPECT_EQ(root.integer("Medium"), 32767);
    EXPECT_EQ(root.integer("Large"), INT32_MIN);
    EXPECT_EQ(root.integer("Small64"), 5);
    const std::pair<const char*, double> numbers[] = {{"Big", 4294967296.0}, {"Ratio", 1.5}, {"Tiny", -0.001},
                                                      {"Single", 1.5},       {"Price", 12.34}, {"When", 36526.5},
                                                      {"Exact", 0.1}};
    for (const auto& [name, number] : numbers) {
        ASSERT_NE(root.find(name), nullptr) << name;
        EXPECT_EQ(root.find(name)->type, FormValue::Type::Float) << name;
        EXPECT_DOUBLE_EQ(root.find(name)->number, number) << name;
    }
    EXPECT_EQ(root.text("Caption"), "Gr\xF6\xDF" "e\r\nx");
    EXPECT_EQ(root.text("Long"), "abc");
    // Wide strings: Windows-1252 while it holds them, else UTF-8.
    EXPECT_EQ(root.text("Wide"), "Gr\xF6\xDF");
    EXPECT_FALSE(root.find("Wide")->utf8);
    EXPECT_EQ(root.text("Cyr"), "\xD0\x9F\xD1\x80");
    EXPECT_TRUE(root.find("Cyr")->utf8);
    EXPECT_EQ(root.text("Align"), "alClient");
    EXPECT_EQ(root.find("Font.Style")->elements, (std::vector<std::string>{"fsBold", "fsItalic"}));
    EXPECT_TRUE(root.find("Empty")->elements.empty());
    EXPECT_TRUE(root.boolean("Shown"));
    EXPECT_FALSE(root.boolean("Hidden", true));
    EXPECT_EQ(root.find("Ref")->type, FormValue::Type::Nil);
    EXPECT_EQ(root.find("Data")->text, std::string("\x00\xFF\x10", 3));
    // Non-string list members are left out of strings().
    EXPECT_EQ(root.strings("Items.Strings"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(root.find("Items.Strings")->items.size(), 3u);
    const FormValue* panels = root.find("Panels");
    ASSERT_NE(panels, nullptr);
    ASSERT_EQ(panels->collection.size(), 2u);
    EXPECT_FALSE(panels->collection[0].hasIndex);
    EXPECT_EQ(panels->collection[0].find("width")->integer, 50);
    EXPECT_EQ(panels->collection[1].index, 7);
    EXPECT_EQ(panels->collection[1].find("Width"), nullptr);
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
    EXPECT_FALSE(sameIdentifier("TForm1", "TForm2"));
    EXPECT_FALSE(sameIdentifier("\xC4", "\xE4"));   // only ASCII letters fold
    EXPECT_EQ(readFormData(form(prop("Tag", byte(2) + byte(5)))).integer("Tag"), 5);
}

TEST(FormTree, MalformedInputIsRefusedWithTheFileOffset)
{
    // Offsets count from the start of the file, header included.
    const std::string good = resource(form(prop("Tag", byte(2) + byte(1))));
    const std::string truncated = good.substr(0, good.size() - 3);
    const std::string badType = resource(form(prop("Tag", byte(22))));
    const std::string positionNoInteger = byte(0xF2) + byte(6) + shortStr("x") + shortStr("TButton") + shortStr("B");
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += shortStr("TPanel") + shortStr("P") + byte(0);
    const long long any = -2;
    const struct {
        std::string file;
        Kind kind;
        long long offset;
    } cases[] = {
        {"unit Unit1;\r\ninterface\r\n", Kind::InvalidStreamFormat, 0},   // a unit's text
        {std::string("\xFF\x0A\x00TFORM", 8), Kind::InvalidStreamFormat, any},
        {resource("TPF1"), Kind::InvalidStreamFormat, any},
        {truncated, Kind::UnexpectedEnd, static_cast<long long>(truncated.size())},
        {badType, Kind::UnknownValueType, static_cast<long long>(badType.size() - 3)},
        // A string whose length runs past the end.
        {resource(form(prop("Caption", byte(12) + u32(0xFFFFFFF0u) + "ab"))), Kind::UnexpectedEnd, any},
        {resource(form(prop("Ratio", byte(5) + std::string(7, '\0') + "\x80\xFF\x7F"))), Kind::NotFinite, any},
        {resource(form(prop("Caption", utf8("\xC3(")))), Kind::InvalidCharacter, any},
        // A child position that is no integer; a collection item without its property list.
        {resource(form("", positionNoInteger + byte(0) + byte(0))), Kind::InvalidComponent, any},
        {resource(form(prop("Panels", byte(14) + byte(6) + shortStr("x")))), Kind::UnknownValueType, any},
        {resource(form("", deep + std::string(1000, '\0'))), Kind::TooDeep, any},
    };
    for (const auto& c : cases) {
        const FormError e = errorOf([&] { readFormFile(c.file); });
        EXPECT_EQ(e.kind(), c.kind) << e.what();
        EXPECT_TRUE(c.offset == any || e.offset() == c.offset) << e.offset() << ": " << e.what();
    }
}

// Every form of the corpus gives as many components as its text has objects.
TEST(FormTree, CorpusFormsAgreeWithTheirText)
{
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(LINGROVE_TEST_DATA) / "forms")) {
        if (entry.path().extension() != ".dfm")
            continue;
        std::ostringstream file;
        file << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        std::string text;
        try {
            ResourceToText(file.str(), text);
        } catch (const FormError&) {
            EXPECT_THROW(readFormFile(file.str()), FormError) << entry.path();
            continue;
        }
        std::size_t objects = 0;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t first = line.find_first_not_of(' ');
            if (first != std::string::npos
                && (line.compare(first, 7, "object ") == 0 || line.compare(first, 10, "inherited ") == 0))
                ++objects;
        }
        std::size_t counted = 0;
        const auto count = [&](auto&& self, const FormComponent& c) -> void {
            ++counted;
            for (const FormComponent& child : c.children)
                self(self, child);
        };
        count(count, readFormFile(file.str()));
        EXPECT_EQ(counted, objects) << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 5);
}
