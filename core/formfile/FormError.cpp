#include "core/formfile/FormFile.h"

namespace lingrove::formfile {

FormError::FormError(Kind kind, const std::string& message, long line, long long offset,
                     std::string expected, long column)
    : std::runtime_error(message), kind_(kind), line_(line), column_(column), offset_(offset),
      expected_(std::move(expected))
{
}

} // namespace lingrove::formfile
