#pragma once

#include <string>
#include <string_view>

class QWidget;

namespace quorvin::qt {

// A modal message with the given title (the program's), an OK button only and no icon, its text
// as plain text; at least as wide as its title needs.
void showPlainMessage(QWidget* parent, std::string_view title, const std::string& text);

// The same with the error icon: the box that reports an error ending the program.
void showErrorMessage(QWidget* parent, std::string_view title, const std::string& text);

} // namespace quorvin::qt
