#include <gtest/gtest.h>

#include <platform/AtomicFile.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "file_bytes.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

using tamtest::readFile;

size_t filesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

bool writeHalfThen(const std::string& temporary, bool result) {
    std::ofstream(temporary) << "half of the new ";
    return result;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::ofstream(target()) << "old content"; }
    fs::path target() const { return m_scratch.path() / "model.glb"; }
    tamtest::ScratchFolder m_scratch;
};

TEST_F(AtomicFileTest, SuccessReplacesTheTargetWhole) {
    std::string error;
    ASSERT_TRUE(tam::WriteFileAtomically(
        target().string(),
        [](const std::string& temporary) { return !!(std::ofstream(temporary) << "new content"); },
        error))
        << error;
    EXPECT_EQ(readFile(target()), "new content");
    EXPECT_EQ(filesIn(m_scratch.path()), 1u);
}

// A writer that fails half-way, throws, or is killed leaves the old file as it was.
TEST_F(AtomicFileTest, AnInterruptedWriteLeavesTheOldFile) {
    std::string error;
    EXPECT_FALSE(tam::WriteFileAtomically(
        target().string(), [](const std::string& t) { return writeHalfThen(t, false); }, error));
    EXPECT_EQ(error, "the writer failed");
    EXPECT_THROW(tam::WriteFileAtomically(
                     target().string(),
                     [](const std::string& t) -> bool {
                         writeHalfThen(t, true);
                         throw std::runtime_error("disk gone");
                     },
                     error),
                 std::runtime_error);
    const pid_t child = fork();
    if (child == 0) {
        tam::WriteFileAtomically(
            target().string(),
            [](const std::string& t) {
                writeHalfThen(t, true);
                _exit(9);  // killed in the middle of the write
                return true;
            },
            error);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(readFile(target()), "old content");
}

TEST_F(AtomicFileTest, UnwritablePlacesGiveTheSystemsReason) {
    std::string error;
    const auto writer = [](const std::string& t) { return writeHalfThen(t, true); };
    EXPECT_FALSE(
        tam::WriteFileAtomically((m_scratch.path() / "no/folder/x.png").string(), writer, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(tam::WriteFileAtomically(m_scratch.path().string(), writer, error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_EQ(readFile(target()), "old content");
    EXPECT_EQ(filesIn(m_scratch.path()), 1u);
}

}  // namespace
