#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvin::linux_hw {

// The whole file, or nullopt when it is missing or unreadable (the kernel's files may be
// readable by root only, or absent on a machine without the feature).
std::optional<std::string> readTextFileIfPresent(const std::filesystem::path& file);
std::optional<std::vector<std::uint8_t>> readBinaryFileIfPresent(const std::filesystem::path& file);

} // namespace quorvin::linux_hw
