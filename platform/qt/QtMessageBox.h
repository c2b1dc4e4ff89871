#pragma once

#include <string>
#include <string_view>

class QWidget;

namespace quorvin::qt {

// A modal message with the given title (the program's), an OK button only and no icon, its text
// as plain text.
void showPlainMessage(QWidget* parent, std::string_view title, const std::string& text);

} // namespace quorvin::qt
