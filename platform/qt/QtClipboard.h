#pragma once

#include <stdexcept>
#include <string>

namespace quorvin::qt {

// One try at emptying the system clipboard and putting the text on it as plain text: false when
// the clipboard does not take it (another program holds it); throws std::runtime_error when there
// is no clipboard at all.
bool replaceClipboardText(const std::string& text);

} // namespace quorvin::qt
