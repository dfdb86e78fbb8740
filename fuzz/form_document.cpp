// Arbitrary bytes as a form file of any kind (binary with or without
// resource header, text in Windows-1252 or UTF-8). Whatever loads has a page
// text that converts back: applied unedited it gives the same bytes, and as a
// text form it gives the same binary data as the file, whose page text gives
// that binary again.
#include "core/formfile/FormDocument.h"
#include "core/formfile/FormFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace lingrove::formfile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    FormDocument doc = [&] {
        try {
            return FormDocument::load(input);
        } catch (const FormError&) {
            return FormDocument::load("object Empty end");
        }
    }();
    if (doc.apply(doc.pageText()) != doc.bytes())
        std::abort();
    std::string fromPage, fromFile;
    TextToBinary(doc.pageText(), fromPage);
    if (doc.format() == FormFormat::Text) {
        TextToBinary(doc.bytes(), fromFile);
        if (fromPage != fromFile)
            std::abort();
    }
    // The page text of that binary gives the same binary again.
    std::string again;
    TextToBinary(FormDocument::load(fromPage).pageText(), again);
    if (again != fromPage)
        std::abort();
    return 0;
}
