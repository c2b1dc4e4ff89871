#pragma once

#include <string>

namespace quorvin {

// The decimal separator of the user's locale, as UTF-8 ("." or ","); "." when none is set.
std::string userDecimalSeparator();

} // namespace quorvin
