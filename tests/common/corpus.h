// Locating the shared real-world CAD corpus from tests labelled "corpus".
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tamtest {

// The corpus folder, or an empty path when ../shared is not beside the checkout.
inline std::filesystem::path CorpusDir() {
    std::filesystem::path dir(TAM_CORPUS_DIR);
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

// Files of one corpus sub-folder ("step", "iges", "brep"), sorted by name.
inline std::vector<std::filesystem::path> CorpusFiles(const std::string& subfolder) {
    std::vector<std::filesystem::path> files;
    const auto dir = CorpusDir();
    if (dir.empty()) return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir / subfolder)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

#if defined(TAM_SANITIZED)
// Under the sanitizers corpus tests leave out files over a megabyte: those exercise Open CASCADE
// far more than our code and would make the sanitizer run several times longer.
constexpr std::uintmax_t kSanitizedFileLimit = 1000 * 1000;
#else
constexpr std::uintmax_t kSanitizedFileLimit = ~std::uintmax_t(0);
#endif

inline bool LeftOutInThisBuild(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::file_size(file, ec) > kSanitizedFileLimit;
}

}  // namespace tamtest

// Skips the current test with a clear message when the corpus is absent.
#define TAM_REQUIRE_CORPUS()                                                              \
    do {                                                                                  \
        if (tamtest::CorpusDir().empty())                                                 \
            GTEST_SKIP() << "CAD corpus not found at " TAM_CORPUS_DIR                     \
                         << " (../shared/cad-corpus beside the checkout); corpus test skipped"; \
    } while (0)

// Skips the current test for a corpus file this build leaves out (see kSanitizedFileLimit).
#define TAM_SKIP_IF_LEFT_OUT(file)                                                        \
    do {                                                                                  \
        if (tamtest::LeftOutInThisBuild(file))                                            \
            GTEST_SKIP() << (file) << " is over a megabyte, left out under the sanitizers"; \
    } while (0)
