#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::linux_hw {

// One structure of the SMBIOS table: the formatted area (header included) and the strings that
// follow it. The views point into the table buffer, which must outlive the structure. Field reads
// past the formatted area give nullopt, so an older, shorter structure reads as "not given".
class SmbiosStructure {
public:
    SmbiosStructure(std::span<const std::uint8_t> formatted, std::vector<std::string_view> strings);

    std::uint8_t type() const { return formatted_[0]; }
    std::uint16_t handle() const;
    std::size_t length() const { return formatted_.size(); }

    std::optional<std::uint8_t> byte(std::size_t offset) const;
    std::optional<std::uint16_t> word(std::size_t offset) const;
    std::optional<std::uint32_t> dword(std::size_t offset) const;
    std::optional<std::uint64_t> qword(std::size_t offset) const;
    // The string whose 1-based index the byte at offset holds, as UTF-8 (firmwareText); nullopt
    // for index 0 (unset), an index past the last string, or a field outside the formatted area.
    std::optional<std::string> string(std::size_t offset) const;

private:
    std::span<const std::uint8_t> formatted_;
    std::vector<std::string_view> strings_;
};

// Walks the structure table. Stops at the end-of-table structure (type 127), after maxCount
// structures when the entry point gives a count, or at the first structure that does not fit:
// a header shorter than 4 bytes, a formatted area running past the buffer, or a string area
// without its double-NUL end. What was read before the fault is kept. Every step moves forward,
// so a damaged table can only end the walk early, never make it repeat.
std::vector<SmbiosStructure> parseStructures(std::span<const std::uint8_t> table,
                                             std::optional<std::uint32_t> maxCount = {});

} // namespace quorvin::linux_hw
