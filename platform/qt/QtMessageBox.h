#pragma once

#include <string>

class QWidget;

namespace quorvin::qt {

inline constexpr const char* programTitle = "Quorvin - System Memory Information";

// A modal message with the program's title, an OK button only and no icon; a text longer than
// 500 characters shows its first 500 and "...".
void showPlainMessage(QWidget* parent, const std::string& text);

} // namespace quorvin::qt
