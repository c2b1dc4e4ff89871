#pragma once

#include <string>

namespace quorvin::snapshot {

// A recording's bytes as UTF-8 text. PowerShell saves UTF-8, with or without a byte order mark
// (Out-File -Encoding utf8), or UTF-16LE with one (">" in Windows PowerShell); both are read. The
// other byte order marks (UTF-16BE, UTF-32) and a UTF-16LE file cut in the middle of a character
// throw std::runtime_error with one line that says what the file holds.
std::string recordingUtf8(std::string bytes);

} // namespace quorvin::snapshot
