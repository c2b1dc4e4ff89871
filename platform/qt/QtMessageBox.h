#pragma once

#include <string>

class QWidget;

namespace quorvin::qt {

inline constexpr const char* programTitle = "Quorvin - System Memory Information";

// A modal message with the program's title, an OK button only and no icon.
void showPlainMessage(QWidget* parent, const std::string& text);

} // namespace quorvin::qt
