// tamcad over the shared real-world corpus: every STEP, IGES and B-rep file either imports into a
// glTF file (exit 0, or 4 when the library reported losses) or fails cleanly (exit 1, no glTF)
// within a time limit; it never crashes. A cancel request on the largest file ends it within a
// second.
#include <corpus.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Exit code of `tamcad import -q FILE -o OUT` (124 after the time limit), or -1 when it died of
// a signal.
int importExitCode(const fs::path& file, const fs::path& out) {
    const std::string command = "timeout 300 '" TAMCAD_EXE "' import -q '" + file.string() +
                                "' -o '" + out.string() + "' > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TamcadCorpusTest : public ::testing::TestWithParam<const char*> {};

TEST_P(TamcadCorpusTest, EveryFileImportsOrFailsCleanly) {
    TAM_REQUIRE_CORPUS();
    const fs::path out =
        fs::temp_directory_path() / ("tamcad_corpus_" + std::to_string(::getpid()) + ".glb");
    size_t imported = 0;
    for (const fs::path& file : tamtest::CorpusFiles(GetParam())) {
        fs::remove(out);
        const int code = importExitCode(file, out);
        const bool loaded = code == 0 || code == 4;
        EXPECT_TRUE(loaded || code == 1) << file << " exit " << code;
        EXPECT_EQ(loaded, fs::exists(out)) << file;
        imported += loaded ? 1 : 0;
    }
    fs::remove(out);
    EXPECT_GT(imported, 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, TamcadCorpusTest, ::testing::Values("step", "iges", "brep"));

// SIGTERM (as Ctrl-C) in the middle of the largest file's import: exit code 130 within a second
// (some slack for a loaded machine), no output written.
TEST(TamcadCancel, ATerminationRequestEndsTheImportWithinASecond) {
    TAM_REQUIRE_CORPUS();
    std::vector<fs::path> files = tamtest::CorpusFiles("step");
    ASSERT_FALSE(files.empty());
    const fs::path largest = *std::max_element(
        files.begin(), files.end(),
        [](const fs::path& a, const fs::path& b) { return fs::file_size(a) < fs::file_size(b); });
    const fs::path out =
        fs::temp_directory_path() / ("tamcad_cancel_" + std::to_string(::getpid()) + ".glb");
    for (const double after : {0.2, 1.5}) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        if (child == 0) {
            dup2(pipeEnds[1], STDERR_FILENO);
            close(pipeEnds[0]);
            execl(TAMCAD_EXE, "tamcad", "import", "--no-cache", largest.c_str(), "-o", out.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        // The first progress text shows that the import (and its signal handling) has begun.
        FILE* progress = fdopen(pipeEnds[0], "r");
        char line[512];
        while (std::fgets(line, sizeof line, progress) != nullptr &&
               std::string(line).find("Loading") == std::string::npos) {
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(after));
        const auto asked = std::chrono::steady_clock::now();
        kill(child, SIGTERM);
        while (std::fgets(line, sizeof line, progress) != nullptr) {
        }
        std::fclose(progress);
        int status = 0;
        waitpid(child, &status, 0);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        ASSERT_TRUE(WIFEXITED(status)) << after;
        EXPECT_EQ(WEXITSTATUS(status), 130) << after;
        EXPECT_LT(seconds, 1.5) << after;
        EXPECT_FALSE(fs::exists(out)) << after;
    }
}

}  // namespace
