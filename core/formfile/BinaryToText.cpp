// Binary form data -> text form.
#include "core/formfile/Events.h"
#include "core/formfile/FormFile.h"

namespace lingrove::formfile {

void BinaryToText(std::string_view input, std::string& output)
{
    output.reserve(output.size() + input.size() * 2 + 256);
    detail::TextEmitter text(output, detail::TextStyle::Delphi);
    detail::parseBinary(input, 0, text);
}

} // namespace lingrove::formfile
