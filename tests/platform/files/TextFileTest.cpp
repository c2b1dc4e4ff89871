// Files are read only when regular and up to a bound: special files fail at once, with the
// system's reason.
#include "platform/files/TextFile.h"
#include "FakeTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace quorvin::linux_hw {
namespace {

struct FileCase {
    std::filesystem::path file;
    const char* reason; // nullptr: read whole
    bool absentForTheMachine = false;
};

TEST(TextFile, OnlyRegularFilesUpToTheBoundAreRead) {
    testing::FakeTree tree;
    const auto fifo = tree.root() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto locked = tree.write("locked", "secret");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    std::vector<FileCase> cases{
        {tree.write("ten", "0123456789"), nullptr},
        {tree.write("eleven", "0123456789A"), "it is larger than 10 bytes"},
        {fifo, "it is a FIFO, not a regular file"},
        {tree.root(), "Is a directory"},
        {"/dev/zero", "it is a character device, not a regular file"},
        {"/dev/urandom", "it is a character device, not a regular file"},
        {tree.root() / "missing", "No such file or directory", true},
        {tree.root() / "ten" / "below", "Not a directory", true},
    };
    if (geteuid() != 0) // root reads the file anyway
        cases.push_back({locked, "Permission denied", true});
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(files::readUserFile(c.file, 10, "the test file "), "0123456789") << c.file;
            EXPECT_EQ(c.reason, nullptr) << c.file;
        } catch (const files::FileError& e) {
            const std::string expected = "Reading the test file " + c.file.string() + " failed: ";
            EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
            ASSERT_NE(c.reason, nullptr) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        // The machine's own files: missing or forbidden is "not there"; the rest as above.
        if (c.absentForTheMachine) {
            EXPECT_EQ(files::readTextFileIfPresent(c.file), std::nullopt) << c.file;
        } else if (c.reason && std::string(c.reason).rfind("it is larger", 0) != 0) {
            EXPECT_THROW(files::readBinaryFileIfPresent(c.file), files::FileError) << c.file;
        }
    }
}

} // namespace
} // namespace quorvin::linux_hw
