#pragma once

#include <string>
#include <string_view>

class QWidget;

namespace quorvin::qt {

// A modal message with the given title (the program's), an OK button only and no icon; a text
// longer than 500 characters shows its first 500 and "...".
void showPlainMessage(QWidget* parent, std::string_view title, const std::string& text);

} // namespace quorvin::qt
