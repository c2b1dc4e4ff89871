#pragma once

#include <string>

namespace quorvin::layout {

// The disclaimer's four paragraphs, separated by CR LF CR LF: 920 characters, UTF-8.
std::string disclaimerText();

} // namespace quorvin::layout
