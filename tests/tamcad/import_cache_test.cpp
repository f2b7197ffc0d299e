// The re-import cache: its storage (round trip, damaged entries, eviction of the least recently
// used, several processes at once), its keys (content, settings, library identity) and CAD
// loads through it (a hit gives the scene a fresh import gives; a damaged entry is rebuilt).
#include "CachedCadLoad.h"
#include "ContentHash.h"
#include "GltfExport.h"
#include "HostSettings.h"
#include "ImportCache.h"
#include "Plugins.h"

#include <TamInteropCAD/exports.h>
#include <gtest/gtest.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "file_bytes.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSampleStep = fs::path(TAM_SAMPLES_DIR) / "sample_assembly.step";

using tamtest::readFile;
using tamtest::writeFile;

// A cache payload writer that writes the bytes.
tam::ImportCache::PayloadWriter written(const std::string& bytes) {
    return [bytes](std::iostream& out) {
        return bool(out.write(bytes.data(), std::streamsize(bytes.size())));
    };
}

std::vector<fs::path> entries(const fs::path& folder) {
    return {fs::directory_iterator(folder), fs::directory_iterator()};
}

// The cache's folder, not made yet, in a scratch folder of the test.
class CacheFolderTest : public ::testing::Test {
protected:
    void TearDown() override {
        tam::setImportCache(nullptr);
        sglModelLoader::ResetSettings();
    }
    tamtest::ScratchFolder scratch_;
    const fs::path folder_ = scratch_.path() / "cache";
};

using ImportCacheTest = CacheFolderTest;

TEST_F(ImportCacheTest, StoredPayloadsComeBackUnderTheirKeyOnly) {
    const tam::ImportCache cache(folder_.string(), 1 << 20);
    EXPECT_FALSE(cache.load("a"));
    ASSERT_TRUE(cache.store("a", written(std::string("payload\0with zero", 17))));
    ASSERT_TRUE(cache.store("b", written("")));
    EXPECT_EQ(cache.load("a"), std::string("payload\0with zero", 17));
    EXPECT_EQ(cache.load("b"), std::string());
    EXPECT_FALSE(cache.load("c"));
    ASSERT_TRUE(cache.store("a", written("replaced")));
    EXPECT_EQ(cache.load("a"), std::string("replaced"));
    EXPECT_FALSE(cache.store("c", [](std::iostream& out) { return !out.write("half", 4); }));
    EXPECT_FALSE(cache.load("c"));
    EXPECT_EQ(entries(folder_).size(), 2u);
}

TEST(ContentHashTest, BytesHashedInPiecesHashAsAWhole) {
    const std::string bytes = "a text of more than three words of eight bytes";
    for (std::size_t cut : {0u, 1u, 7u, 8u, 13u, 46u}) {
        tam::ContentHasher hasher(bytes.size());
        hasher.add(bytes.data(), cut);
        hasher.add(bytes.data() + cut, bytes.size() - cut);
        EXPECT_EQ(hasher.text(), tam::contentHash(bytes)) << "cut at " << cut;
    }
}

TEST_F(ImportCacheTest, TruncatedOrChangedEntriesAreMisses) {
    const tam::ImportCache cache(folder_.string(), 1 << 20);
    ASSERT_TRUE(cache.store("key", written(std::string(300, 'x') + "end")));
    const fs::path entry = entries(folder_).front();
    const std::string whole = readFile(entry);
    for (size_t length = 0; length < whole.size(); length += 7) {
        writeFile(entry, whole.substr(0, length));
        EXPECT_FALSE(cache.load("key")) << "truncated to " << length;
    }
    for (size_t at = 0; at < whole.size(); at += 5) {
        std::string changed = whole;
        changed[at] = char(changed[at] ^ 0x21);
        writeFile(entry, changed);
        EXPECT_FALSE(cache.load("key")) << "byte " << at << " changed";
    }
    writeFile(entry, whole + "x");
    EXPECT_FALSE(cache.load("key"));
    writeFile(entry, whole);
    EXPECT_TRUE(cache.load("key"));
}

TEST_F(ImportCacheTest, TheLeastRecentlyUsedEntriesGoFirst) {
    const std::string payload(1000, 'p');
    const tam::ImportCache cache(folder_.string(), 3500);  // three entries fit, not four
    const auto age = [this](const std::string& name, int minutes) {
        for (const fs::path& entry : entries(folder_)) {
            if (readFile(entry).find(name) != std::string::npos)
                fs::last_write_time(
                    entry, fs::file_time_type::clock::now() - std::chrono::minutes(minutes));
        }
    };
    for (const char* key : {"first", "second", "third"})
        ASSERT_TRUE(cache.store(key, written(payload)));
    age("first", 30);
    age("second", 20);
    age("third", 10);
    ASSERT_TRUE(cache.load("first"));  // used now: the second is the oldest
    ASSERT_TRUE(cache.store("fourth", written(payload)));
    EXPECT_TRUE(cache.load("first"));
    EXPECT_FALSE(cache.load("second"));
    EXPECT_TRUE(cache.load("third"));
    EXPECT_TRUE(cache.load("fourth"));
}

TEST_F(ImportCacheTest, ProcessesStoringAndLoadingAtOnceSeeWholeEntries) {
    const tam::ImportCache cache(folder_.string(), 1 << 24);
    // Each process stores its own payload under the shared key and loads it back, many times.
    std::vector<pid_t> children;
    for (int child = 0; child < 4; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const std::string own(20000 + 1000 * child, char('a' + child));
            bool sound = true;
            for (int round = 0; round < 40; ++round) {
                sound = sound && cache.store("shared", written(own));
                const std::optional<std::string> seen = cache.load("shared");
                sound = sound && (!seen || (seen->size() >= 20000 &&
                                            *seen == std::string(seen->size(), seen->front())));
            }
            ::_exit(sound ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_TRUE(cache.load("shared"));
    EXPECT_EQ(entries(folder_).size(), 1u);  // no file left half written
}

using CadCacheKeyTest = CacheFolderTest;

TEST_F(CadCacheKeyTest, ContentSettingsAndLibrariesChangeTheKey) {
    fs::create_directories(folder_);
    const fs::path copy = folder_ / "part.step";
    fs::copy_file(kSampleStep, copy);
    const auto key = [&copy](const std::string& identity = "libraries A") {
        return tam::cadCacheKey(copy.wstring(), L"STEP", identity).value_or("");
    };
    const std::string original = key();
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(key(), original);
    EXPECT_NE(tam::cadCacheKey(copy.wstring(), L"IGES", "libraries A"), original);
    EXPECT_NE(key("libraries B"), original);
    EXPECT_FALSE(tam::cadCacheKey((folder_ / "missing.step").wstring(), L"STEP", "x"));

    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"one byte of the file",
         [&copy] {
             std::string bytes = readFile(copy);
             bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
             writeFile(copy, bytes);
         }},
        {"healing", [] { sglModelLoader::m_sbHealing = !sglModelLoader::m_sbHealing; }},
        {"points", [] { sglModelLoader::m_sbImportPoints = false; }},
        {"hidden", [] { sglModelLoader::m_sbImportNoShow = true; }},
        {"levels of detail", [] { sglModelLoader::m_suiNbLOD = 3; }},
        {"refinement", [] { sglModelLoader::m_fRefinement = 0.50001f; }},
        {"chordal error", [] { sglModelLoader::m_fChordalErrorValue = 0.1f; }},
        {"edge length switch", [] { sglModelLoader::m_sbSetEdgeLength = true; }},
    };
    for (const auto& change : changes) {
        const std::string before = readFile(copy);
        change.second();
        EXPECT_NE(key(), original) << change.first;
        sglModelLoader::ResetSettings();
        writeFile(copy, before);
        EXPECT_EQ(key(), original) << change.first;
    }
}

// Loads through the plug-in registry like tamcad does and writes the scene as glTF bytes.
class CachedImportTest : public CacheFolderTest {
protected:
    void SetUp() override {
        tam::applyImportSettings(tam::ImportSettings());
        tam::registerPlugins();
    }

    std::string importedGltf(bool throughCache, const fs::path& file = kSampleStep) {
        tam::setImportCache(
            throughCache ? std::make_unique<tam::ImportCache>(folder_.string(), 1 << 30) : nullptr);
        std::unique_ptr<CTamDBRoot> root(LoadModelCAD(file.wstring().c_str(), 0x180));
        tam::setImportCache(nullptr);
        if (root == nullptr || root->GetSglRoot() == nullptr)
            return std::string();
        const fs::path glb = folder_.string() + ".glb";
        tam::GltfCounts counts;
        std::string error;
        EXPECT_TRUE(tam::writeGltf(root->GetSglRoot(), glb.string(), counts, error)) << error;
        const std::string bytes = readFile(glb);
        fs::remove(glb);
        return bytes;
    }
};

TEST_F(CachedImportTest, AHitGivesTheSceneOfAFreshImportAnotherRefinementItsOwnEntry) {
    const std::string fresh = importedGltf(false);
    ASSERT_FALSE(fresh.empty());
    EXPECT_EQ(importedGltf(true), fresh);  // a miss: translates and stores
    ASSERT_EQ(entries(folder_).size(), 1u);
    const fs::path entry = entries(folder_).front();
    const std::string stored = readFile(entry);
    EXPECT_EQ(importedGltf(true), fresh);  // a hit
    EXPECT_EQ(readFile(entry), stored);
    // Another refinement gets its own entry.
    sglModelLoader::m_fRefinement = 0.9f;
    const std::string fine = importedGltf(false);
    EXPECT_NE(fine, fresh);
    EXPECT_EQ(importedGltf(true), fine);
    EXPECT_EQ(entries(folder_).size(), 2u);
}

TEST_F(CachedImportTest, DamagedEntriesAreRebuilt) {
    const std::string fresh = importedGltf(true);
    ASSERT_FALSE(fresh.empty());
    const fs::path entry = entries(folder_).front();
    const std::string stored = readFile(entry);
    const std::vector<std::string> damages = {
        stored.substr(0, stored.size() / 2), stored.substr(0, stored.size() - 1),
        std::string(stored.size(), '\0'), stored.substr(0, 64) + "x" + stored.substr(65)};
    for (const std::string& damaged : damages) {
        writeFile(entry, damaged);
        EXPECT_EQ(importedGltf(true), fresh);
        EXPECT_EQ(readFile(entry), stored);
    }
}

std::vector<std::wstring>& sentMessages() {
    static std::vector<std::wstring> sent;
    return sent;
}

TEST_F(CachedImportTest, TranslationMessagesComeAgainOnAHit) {
    // A record the parser skips: the translation warns and still gives the model.
    std::string step = readFile(kSampleStep);
    step.insert(step.find("DATA;") + 6, "#99999=CARTESIAN_POINT('',(1.,2.,3.),,);\n");
    fs::create_directories(folder_);
    const fs::path damaged = folder_ / "damaged.step";
    writeFile(damaged, step);
    sglModelLoader::s_callbackLoadingError = [](const wchar_t* text, unsigned int) {
        sentMessages().push_back(text);
    };
    const std::string fresh = importedGltf(true, damaged);
    const std::vector<std::wstring> first = sentMessages();
    sentMessages().clear();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(entries(folder_).size(), 2u);  // the file and its entry
    EXPECT_EQ(importedGltf(true, damaged), fresh);
    EXPECT_EQ(sentMessages(), first);
}

}  // namespace
