// tamcad batch over a few corpus documents: with two imports at once it writes the same glTF
// files, byte for byte, as one tamcad import per document run one after another, and a document
// that fails alone fails in the batch.
#include "corpus.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "file_bytes.h"

namespace {

namespace fs = std::filesystem;

int run(const std::string& arguments) {
    const int status = std::system(("'" TAMCAD_EXE "' " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BatchCorpusTest, TwoJobsWriteWhatOneImportPerDocumentWrites) {
    TAM_REQUIRE_CORPUS();
    const fs::path dir =
        fs::temp_directory_path() / ("tamcad_batch_corpus_" + std::to_string(::getpid()));
    fs::create_directories(dir / "single");
    const char* documents[] = {"step/as1-oc-214.stp", "iges/OCC26138_Torus.igs",
                               "brep/bottle.brep"};
    {
        std::ofstream list(dir / "list.txt");
        for (const char* document : documents)
            list << (tamtest::CorpusDir() / document).string() << "\n";
    }
    const int batchExit = run("batch -q --jobs 2 --to glb '" + (dir / "list.txt").string() +
                              "' -o '" + (dir / "batch").string() + "'");
    std::map<std::string, std::string> status;
    std::ifstream report(dir / "batch/report.jsonl");
    for (std::string line; std::getline(report, line);) {
        const nlohmann::json json = nlohmann::json::parse(line);
        status[fs::path(json["path"].get<std::string>()).filename().string()] = json["status"];
    }
    bool allConverted = true;
    for (const char* document : documents) {
        const fs::path source = tamtest::CorpusDir() / document;
        const fs::path single = dir / "single" / (source.filename().string() + ".glb");
        const int exitCode =
            run("import -q '" + source.string() + "' -o '" + single.string() + "'");
        const fs::path batched = dir / "batch" / (std::string(document) + ".glb");
        allConverted = allConverted && exitCode == 0;
        if (exitCode == 0) {
            EXPECT_EQ(status[source.filename().string()], "converted") << document;
            EXPECT_TRUE(tamtest::readFile(batched) == tamtest::readFile(single)) << document;
        } else {
            EXPECT_EQ(status[source.filename().string()], "failed") << document;
            EXPECT_FALSE(fs::exists(batched)) << document;
        }
    }
    EXPECT_EQ(batchExit == 0, allConverted);
    fs::remove_all(dir);
}

}  // namespace
