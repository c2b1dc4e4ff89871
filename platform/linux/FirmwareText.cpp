#include "FirmwareText.h"

#include "scan/values/ScanValue.h"

namespace quorvin::linux_hw {

namespace {

// Windows-1252 from 0x80 to 0x9F; the rest of its upper half is Latin-1.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

std::string firmwareText(std::string_view bytes) {
    if (isValidUtf8(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        appendUtf8(text, b >= 0x80 && b < 0xA0 ? windows1252High[b - 0x80] : char32_t{b});
    }
    return text;
}

} // namespace quorvin::linux_hw
