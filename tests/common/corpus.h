// Locating the shared real-world CAD corpus from tests labelled "corpus".
#pragma once

#include <gtest/gtest.h>

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

}  // namespace tamtest

// Skips the current test with a clear message when the corpus is absent.
#define TAM_REQUIRE_CORPUS()                                                              \
    do {                                                                                  \
        if (tamtest::CorpusDir().empty())                                                 \
            GTEST_SKIP() << "CAD corpus not found at " TAM_CORPUS_DIR                     \
                         << " (../shared/cad-corpus beside the checkout); corpus test skipped"; \
    } while (0)
