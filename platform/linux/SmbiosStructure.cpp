#include "SmbiosStructure.h"

#include "FirmwareText.h"
#include "LittleEndian.h"
#include "SmbiosFields.h"

#include <algorithm>

namespace quorvin::linux_hw {

namespace {

constexpr std::size_t headerLength = 4;

struct StringArea {
    std::vector<std::string_view> strings;
    std::size_t end = 0; // offset just past the double NUL
};

// The strings after a formatted area end with an extra NUL; a structure without strings has
// two NULs straight away.
std::optional<StringArea> readStrings(std::span<const std::uint8_t> table, std::size_t start) {
    StringArea area;
    std::size_t pos = start;
    if (pos + 1 < table.size() && table[pos] == 0 && table[pos + 1] == 0) {
        area.end = pos + 2;
        return area;
    }
    while (pos < table.size()) {
        const auto* begin = table.data() + pos;
        const auto* nul = std::find(begin, table.data() + table.size(), std::uint8_t{0});
        if (nul == table.data() + table.size())
            return std::nullopt;
        area.strings.emplace_back(reinterpret_cast<const char*>(begin),
                                  static_cast<std::size_t>(nul - begin));
        pos += static_cast<std::size_t>(nul - begin) + 1;
        if (pos < table.size() && table[pos] == 0) {
            area.end = pos + 1;
            return area;
        }
    }
    return std::nullopt;
}

} // namespace

SmbiosStructure::SmbiosStructure(std::span<const std::uint8_t> formatted,
                                 std::vector<std::string_view> strings)
    : formatted_(formatted)
    , strings_(std::move(strings)) {}

std::uint16_t SmbiosStructure::handle() const {
    return readLe16(formatted_, 2);
}

std::optional<std::uint8_t> SmbiosStructure::byte(std::size_t offset) const {
    if (offset + 1 > formatted_.size())
        return std::nullopt;
    return formatted_[offset];
}

std::optional<std::uint16_t> SmbiosStructure::word(std::size_t offset) const {
    if (offset + 2 > formatted_.size())
        return std::nullopt;
    return readLe16(formatted_, offset);
}

std::optional<std::uint32_t> SmbiosStructure::dword(std::size_t offset) const {
    if (offset + 4 > formatted_.size())
        return std::nullopt;
    return readLe32(formatted_, offset);
}

std::optional<std::uint64_t> SmbiosStructure::qword(std::size_t offset) const {
    if (offset + 8 > formatted_.size())
        return std::nullopt;
    return readLe64(formatted_, offset);
}

std::optional<std::string> SmbiosStructure::string(std::size_t offset) const {
    const auto index = byte(offset);
    if (!index || *index == 0 || *index > strings_.size())
        return std::nullopt;
    return firmwareText(strings_[*index - 1]);
}

std::vector<SmbiosStructure> parseStructures(std::span<const std::uint8_t> table,
                                             std::optional<std::uint32_t> maxCount) {
    std::vector<SmbiosStructure> structures;
    std::size_t pos = 0;
    while (pos + headerLength <= table.size()) {
        if (maxCount && structures.size() >= *maxCount)
            break;
        const std::size_t length = table[pos + 1];
        if (length < headerLength || pos + length > table.size())
            break;
        auto strings = readStrings(table, pos + length);
        if (!strings)
            break;
        if (table[pos] == smbios::type127::type)
            break;
        structures.emplace_back(table.subspan(pos, length), std::move(strings->strings));
        pos = strings->end;
    }
    return structures;
}

} // namespace quorvin::linux_hw
