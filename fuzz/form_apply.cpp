// Arbitrary bytes as an edited page text of one of a few forms (the first
// byte picks the form). Whatever apply() accepts is a form that loads again
// and whose own page text gives it back unchanged.
#include "core/formfile/FormDocument.h"
#include "core/formfile/FormFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace lingrove::formfile;

namespace {

const FormDocument& base(unsigned which)
{
    static const FormDocument forms[] = {
        // A binary form: 8-bit and UTF-8 strings, a list, a collection, a frame.
        [] {
            std::string text;
            TextToResource("object Form1: TForm1\r\n  Caption = 'Gr'#246#223'e'\r\n  Hint = 'Don''t'\r\n"
                           "  Items.Strings = (\r\n    'one'\r\n    'two')\r\n"
                           "  Columns = <\r\n    item\r\n      Caption = 'Name'\r\n    end>\r\n"
                           "  Ratio = 1.5s\r\n  inline Frame1: TFrame1\r\n    Tag = 5\r\n  end\r\nend\r\n",
                           text);
            return FormDocument::load(text);
        }(),
        // A text form with LF line ends and a continued string.
        FormDocument::load("object F: TF\n  Caption = \n    'abc' +\n    'def'\n  Lines.Strings = (\n    'x'#13'y')\nend\n"),
        // A UTF-8 text form.
        FormDocument::load("\xEF\xBB\xBFobject F: TF\r\n  Caption = '\xD0\x9F\xD1\x80'\r\n  Left = 5\r\nend\r\n"),
    };
    return forms[which % 3];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const FormDocument& form = base(data[0]);
    const std::string edited(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string out;
    try {
        out = form.apply(edited);
    } catch (const FormError&) {
        return 0;
    }
    // Our own output must load, and give itself back.
    const FormDocument again = FormDocument::load(out);
    if (again.apply(again.pageText()) != out)
        std::abort();
    return 0;
}
