#pragma once

#include <stdexcept>
#include <string>

namespace quorvin::qt {

class ClipboardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Empties the system clipboard, then puts the text on it as plain text. Throws ClipboardError when
// the clipboard does not take the text (another program holds it open).
void replaceClipboardText(const std::string& text);

} // namespace quorvin::qt
