#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvin::linux_hw {

// Little-endian reads; the caller has checked that offset + width lies inside the buffer.
inline std::uint64_t readLe(std::span<const std::uint8_t> bytes, std::size_t offset,
                            std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = (value << 8) | bytes[offset + i];
    return value;
}
inline std::uint16_t readLe16(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint16_t>(readLe(b, offset, 2));
}
inline std::uint32_t readLe32(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint32_t>(readLe(b, offset, 4));
}
inline std::uint64_t readLe64(std::span<const std::uint8_t> b, std::size_t offset) {
    return readLe(b, offset, 8);
}

} // namespace quorvin::linux_hw
