#include "SmbiosEntryPoint.h"

#include "LittleEndian.h"

#include <cstring>

namespace quorvin::linux_hw {

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, const char* anchor) {
    const std::size_t n = std::strlen(anchor);
    return bytes.size() >= n && std::memcmp(bytes.data(), anchor, n) == 0;
}

// Version 3.0 and later: 24 bytes, 64-bit table address, maximum table size.
std::optional<EntryPoint> parseSm3(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 0x18)
        return std::nullopt;
    EntryPoint ep;
    ep.majorVersion = bytes[0x07];
    ep.minorVersion = bytes[0x08];
    ep.tableLength = readLe32(bytes, 0x0C);
    ep.tableAddress = readLe64(bytes, 0x10);
    return ep;
}

// The "_DMI_" block, at offset 0 in a legacy entry point or at 0x10 inside "_SM_".
std::optional<EntryPoint> parseDmi(std::span<const std::uint8_t> bytes, int major, int minor) {
    if (bytes.size() < 0x0F || !startsWith(bytes, "_DMI_"))
        return std::nullopt;
    EntryPoint ep;
    ep.majorVersion = major;
    ep.minorVersion = minor;
    ep.tableLength = readLe16(bytes, 0x06);
    ep.tableAddress = readLe32(bytes, 0x08);
    ep.structureCount = readLe16(bytes, 0x0C);
    return ep;
}

} // namespace

std::optional<EntryPoint> parseEntryPoint(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, "_SM3_"))
        return parseSm3(bytes);
    if (startsWith(bytes, "_SM_")) {
        if (bytes.size() < 0x1F)
            return std::nullopt;
        return parseDmi(bytes.subspan(0x10), bytes[0x06], bytes[0x07]);
    }
    if (startsWith(bytes, "_DMI_")) {
        if (bytes.size() < 0x0F)
            return std::nullopt;
        const int bcd = bytes[0x0E];
        return parseDmi(bytes, bcd >> 4, bcd & 0x0F);
    }
    return std::nullopt;
}

} // namespace quorvin::linux_hw
