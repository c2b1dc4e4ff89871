#include "FakeTree.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>

namespace quorvin::testing {

FakeTree::FakeTree() {
    static std::atomic<int> counter{0};
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("quorvin-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(root_);
}

FakeTree::~FakeTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path FakeTree::write(const std::filesystem::path& relative,
                                      std::string_view content) {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("Writing the test file " + path.string() + " failed");
    return path;
}

std::filesystem::path FakeTree::write(const std::filesystem::path& relative,
                                      const std::vector<std::uint8_t>& content) {
    return write(relative,
                 std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

} // namespace quorvin::testing
