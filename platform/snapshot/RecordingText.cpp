#include "RecordingText.h"

#include "scan/values/ScanValue.h"

#include <stdexcept>
#include <string_view>

namespace quorvin::snapshot {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string utf8FromUtf16le(std::string_view bytes) {
    if (bytes.size() % 2 != 0)
        throw std::runtime_error(
            "The recording is UTF-16LE text with an odd number of bytes: the file "
            "was cut in the middle of a character");
    const auto unitAt = [&](std::size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[i]) |
               (static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

[[noreturn]] void unreadableEncoding(std::string_view encoding) {
    throw std::runtime_error("The recording is " + std::string(encoding) +
                             " text, which is not read here: save it as UTF-8 "
                             "(Out-File -Encoding utf8) or UTF-16LE");
}

} // namespace

std::string recordingUtf8(std::string bytes) {
    // UTF-32LE's mark begins with UTF-16LE's, so it is looked at first.
    if (startsWith(bytes, std::string_view("\xFF\xFE\0\0", 4)))
        unreadableEncoding("UTF-32LE");
    if (startsWith(bytes, std::string_view("\0\0\xFE\xFF", 4)))
        unreadableEncoding("UTF-32BE");
    if (startsWith(bytes, "\xFE\xFF"))
        unreadableEncoding("UTF-16BE");
    if (startsWith(bytes, "\xFF\xFE"))
        return utf8FromUtf16le(std::string_view(bytes).substr(2));
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.erase(0, 3);
    return bytes;
}

} // namespace quorvin::snapshot
