#include "TextFile.h"

#include <fstream>
#include <iterator>

namespace quorvin::linux_hw {

namespace {

template <typename Container> std::optional<Container> readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    Container data;
    // sysfs and procfs files report no size; read until the end.
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        data.insert(data.end(), buffer, buffer + in.gcount());
        if (!in)
            break;
    }
    if (in.bad())
        return std::nullopt;
    return data;
}

} // namespace

std::optional<std::string> readTextFileIfPresent(const std::filesystem::path& file) {
    return readAll<std::string>(file);
}

std::optional<std::vector<std::uint8_t>>
readBinaryFileIfPresent(const std::filesystem::path& file) {
    return readAll<std::vector<std::uint8_t>>(file);
}

} // namespace quorvin::linux_hw
