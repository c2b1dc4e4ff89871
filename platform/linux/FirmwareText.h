#pragma once

#include <string>
#include <string_view>

namespace quorvin::linux_hw {

// A firmware string as UTF-8 text. SMBIOS strings carry no encoding: most are ASCII, some UTF-8,
// and older firmware writes Windows-1252 ("Café" with 0xE9, "®" as 0xAE). One rule for every
// string: UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise (its five unassigned bytes
// become the control characters of the same value, as Windows maps them), so every value is valid
// UTF-8.
std::string firmwareText(std::string_view bytes);

} // namespace quorvin::linux_hw
