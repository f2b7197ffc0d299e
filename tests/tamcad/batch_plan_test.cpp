// The batch's plan in process: listing a folder or a list file, shards, resume records, and the
// import options handed to each child.
#include "BatchPlan.h"
#include "HostSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

class BatchPlanTest : public ::testing::Test {
protected:
    void writeFile(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    std::vector<std::string> relativePaths(const std::vector<tam::BatchDocument>& documents) {
        std::vector<std::string> paths;
        for (const tam::BatchDocument& document : documents)
            paths.push_back(document.relative);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    tamtest::ScratchFolder m_scratch;
    const fs::path m_dir = m_scratch.path();
};

TEST(BatchShard, ParsesIndexOfCount) {
    const struct {
        const char* text;
        bool valid;
        unsigned int index, count;
    } cases[] = {{"0/1", true, 0, 1},  {"1/2", true, 1, 2},   {"6/7", true, 6, 7},
                 {"2/2", false, 0, 0}, {"0/0", false, 0, 0},  {"-1/2", false, 0, 0},
                 {"1", false, 0, 0},   {"/2", false, 0, 0},   {"1/", false, 0, 0},
                 {"a/b", false, 0, 0}, {"1/2/3", false, 0, 0}};
    for (const auto& c : cases) {
        tam::ShardSpec shard;
        EXPECT_EQ(tam::parseShard(c.text, shard), c.valid) << c.text;
        EXPECT_TRUE(!c.valid || (shard.index == c.index && shard.count == c.count)) << c.text;
    }
}

TEST(BatchShard, ShardsAreDisjointCoverTheListAndIgnoreItsOrder) {
    std::vector<tam::BatchDocument> documents;
    for (int i = 0; i < 60; ++i)
        documents.push_back({"", "vault/part" + std::to_string(i) + ".step", 0});
    std::vector<tam::BatchDocument> reversed(documents.rbegin(), documents.rend());
    for (const unsigned int count : {1u, 2u, 7u}) {
        std::multiset<std::string> covered;
        for (unsigned int index = 0; index < count; ++index) {
            std::set<std::string> share, shareOfReversed;
            for (const auto& document : tam::selectShard(documents, {index, count}))
                share.insert(document.relative);
            for (const auto& document : tam::selectShard(reversed, {index, count}))
                shareOfReversed.insert(document.relative);
            EXPECT_EQ(share, shareOfReversed) << index << "/" << count;
            EXPECT_TRUE(count == 1 || share.size() < documents.size()) << index << "/" << count;
            covered.insert(share.begin(), share.end());
        }
        EXPECT_EQ(covered.size(), documents.size()) << count;
        for (const auto& document : documents)
            EXPECT_EQ(covered.count(document.relative), 1u) << document.relative;
    }
    EXPECT_EQ(tam::fnv1a64(""), 14695981039346656037ull);
    EXPECT_EQ(tam::fnv1a64("a"), 0xaf63dc4c8601ec8cull);
}

TEST_F(BatchPlanTest, FolderWalkFindsCadDocumentsOnlyAndLeavesTheOutputFolderOut) {
    for (const char* name : {"a.step", "sub/b.IGS", "sub/deeper/c.brep", "d.okb", "notes.txt",
                             "out/e.step", "sub/f.stp.bak"})
        writeFile(m_dir / name, "x");
    std::vector<tam::BatchDocument> documents;
    std::string error;
    ASSERT_TRUE(tam::listDocuments(m_dir, m_dir / "out", documents, error)) << error;
    EXPECT_EQ(relativePaths(documents),
              (std::vector<std::string>{"a.step", "d.okb", "sub/b.IGS", "sub/deeper/c.brep"}));
    EXPECT_FALSE(tam::listDocuments(m_dir / "missing", "", documents, error));
}

TEST_F(BatchPlanTest, ListFileTakesPathsFromItsFolderOnceEachBelowTheirCommonFolder) {
    writeFile(m_dir / "vault/x/a.step", "xx");
    writeFile(m_dir / "vault/y/b.igs", "x");
    writeFile(m_dir / "lists/list.txt", "# parts\n../vault/x/a.step\n\n  " +
                                            (m_dir / "vault/y/b.igs").string() +
                                            "  \r\n../vault/x/../x/a.step\n");
    std::vector<tam::BatchDocument> documents;
    std::string error;
    ASSERT_TRUE(tam::listDocuments(m_dir / "lists/list.txt", "", documents, error)) << error;
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].relative, "x/a.step");  // the larger one first
    EXPECT_EQ(documents[1].relative, "y/b.igs");
    EXPECT_TRUE(fs::is_regular_file(documents[0].source));
}

TEST_F(BatchPlanTest, DocumentIsUpToDateOnlyWithNewerOutputsAndTheSameOptions) {
    const tam::BatchDocument document{m_dir / "src/a.step", "a.step", 1};
    writeFile(document.source, "x");
    const tam::DocumentOutputs outputs = tam::outputsOf(document, m_dir / "out", {"glb", "png"});
    ASSERT_EQ(outputs.files.size(), 2u);
    EXPECT_EQ(outputs.files[0], m_dir / "out/a.step.glb");
    EXPECT_EQ(outputs.record, m_dir / "out/a.step.batch.json");
    const std::vector<std::string> options = {"--lod", "2"};
    tam::ConversionRecord record;
    EXPECT_FALSE(tam::isUpToDate(document, outputs, options, record));

    fs::last_write_time(document.source,
                        fs::file_time_type::clock::now() - std::chrono::seconds(10));
    for (const fs::path& output : outputs.files)
        writeFile(output, "y");
    EXPECT_FALSE(tam::isUpToDate(document, outputs, options, record));  // no record yet
    ASSERT_TRUE(tam::writeRecord(outputs.record, {options, 432, 1.5}));
    ASSERT_TRUE(tam::isUpToDate(document, outputs, options, record));
    EXPECT_EQ(record.triangles, 432u);
    EXPECT_FALSE(tam::isUpToDate(document, outputs, {"--lod", "3"}, record));

    fs::last_write_time(document.source,
                        fs::file_time_type::clock::now() + std::chrono::seconds(10));
    EXPECT_FALSE(tam::isUpToDate(document, outputs, options, record));
}

TEST(BatchChildOptions, ImportArgumentsReadBackAsTheSameSettings) {
    tam::ImportSettings given;
    given.levelsOfDetail = 3;
    given.asBodies = true;
    given.curves = false;
    given.hidden = true;
    given.refinement = 0.1f;
    given.explicitTolerances = true;
    given.chordalError = 0.05f;
    given.edgeLength = 12.5f;
    given.healing = true;
    CLI::App app;
    tam::ImportSettings read;
    read.points = false;
    tam::addImportOptions(app, read);
    std::vector<std::string> arguments = tam::importArguments(given);
    std::reverse(arguments.begin(), arguments.end());  // CLI11 parses a reversed vector
    ASSERT_NO_THROW(app.parse(arguments));
    EXPECT_EQ(tam::importArguments(read), tam::importArguments(given));
    EXPECT_EQ(read.refinement, 0.1f);
    EXPECT_EQ(read.chordalError, 0.05f);
    EXPECT_TRUE(read.points);
}

}  // namespace
