#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::testing {

// A fresh directory under the system's temporary directory, removed with the object; tests
// build fake /proc, /sys and firmware trees in it.
class FakeTree {
public:
    FakeTree();
    ~FakeTree();
    FakeTree(const FakeTree&) = delete;
    FakeTree& operator=(const FakeTree&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // Writes the file (making its directories) and returns its path.
    std::filesystem::path write(const std::filesystem::path& relative, std::string_view content);
    std::filesystem::path write(const std::filesystem::path& relative,
                                const std::vector<std::uint8_t>& content);

private:
    std::filesystem::path root_;
};

} // namespace quorvin::testing
