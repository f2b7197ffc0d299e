// tamcad over the shared real-world corpus: every STEP, IGES and B-rep file either imports into a
// glTF file (exit 0) or fails cleanly (exit 1, no glTF) within a time limit; it never crashes.
#include <corpus.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

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
        EXPECT_TRUE(code == 0 || code == 1) << file << " exit " << code;
        EXPECT_EQ(code == 0, fs::exists(out)) << file;
        imported += code == 0 ? 1 : 0;
    }
    fs::remove(out);
    EXPECT_GT(imported, 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, TamcadCorpusTest, ::testing::Values("step", "iges", "brep"));

}  // namespace
