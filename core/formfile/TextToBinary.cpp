// Text form -> binary form data.
#include "core/formfile/Events.h"
#include "core/formfile/FormFile.h"

namespace lingrove::formfile {

void TextToBinary(std::string_view input, std::string& output)
{
    output.reserve(output.size() + input.size() / 2 + 64);
    output += "TPF0";
    detail::BinaryEmitter binary(output);
    detail::parseText(input, binary);
}

} // namespace lingrove::formfile
