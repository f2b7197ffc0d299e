// `tamcad batch` end to end: a folder with good, damaged, crashing and hanging documents, the
// report's JSON lines, and a batch killed half way that resumes with what was missing. A stand-in
// importer script crashes or hangs on request and otherwise runs the real tamcad import.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSampleStep = fs::path(TAM_SAMPLES_DIR) / "sample_assembly.step";

// Crashes on documents named *crash*, hangs on *hang* and on those matching $TAMCAD_TEST_HANG.
const char kWorkerScript[] = R"(#!/bin/sh
for document; do :; done
case "$document" in
  *crash*) kill -SEGV $$ ;;
  *hang*|*"${TAMCAD_TEST_HANG:-//}"*) exec sleep 60 ;;
esac
exec ')" TAMCAD_EXE R"(' "$@"
)";

class BatchCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_dir / "src");
        std::ofstream(m_worker) << kWorkerScript;
        fs::permissions(m_worker, fs::perms::owner_all);
    }

    // Starts tamcad batch over a folder (src) into out with the stand-in importer; returns its
    // process.
    pid_t startBatch(const std::string& options, const std::string& environment = "",
                     const std::string& sources = "src") {
        const std::string command = environment + " exec '" TAMCAD_EXE "' batch -q '" +
                                    (m_dir / sources).string() + "' -o '" + m_out.string() +
                                    "' --worker '" + m_worker.string() + "' " + options +
                                    " 2>/dev/null";
        const pid_t pid = fork();
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }
    int runBatch(const std::string& options, const std::string& sources = "src") {
        int status = 0;
        waitpid(startBatch(options, "", sources), &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The report's lines by document name; every line must be a JSON object.
    std::map<std::string, nlohmann::json> report() {
        std::map<std::string, nlohmann::json> byName;
        std::ifstream in(m_out / "report.jsonl");
        for (std::string line; std::getline(in, line);) {
            const nlohmann::json json = nlohmann::json::parse(line, nullptr, false);
            EXPECT_TRUE(json.is_object()) << line;
            if (json.is_object())
                byName[fs::path(json.value("path", "")).filename().string()] = json;
        }
        return byName;
    }
    size_t partialFiles() {
        size_t count = 0;
        for (const auto& entry : fs::recursive_directory_iterator(m_out))
            count += entry.path().filename().string().find(".partial") != std::string::npos;
        return count;
    }

    tamtest::ScratchFolder m_scratch;
    const fs::path m_dir = m_scratch.path();
    const fs::path m_out = m_dir / "out";
    const fs::path m_worker = m_dir / "worker.sh";
};

TEST_F(BatchCliTest, FailedCrashedAndHangingDocumentsAreReportedAndTheBatchGoesOn) {
    fs::copy_file(kSampleStep, m_dir / "src/good.step");
    fs::create_directories(m_dir / "src/sub");
    fs::copy_file(fs::path(TAM_TEST_DATA_DIR) / "invalid/kvxi_truncated.stp",
                  m_dir / "src/sub/damaged.stp");
    std::ofstream(m_dir / "src/sub/crash.step") << "crash";
    fs::create_directories(m_dir / "slow");
    std::ofstream(m_dir / "slow/hang.igs") << "hang";
    std::ofstream(m_dir / "src/readme.txt") << "not a document";

    EXPECT_EQ(runBatch("--to glb,png --jobs 2 --timeout 0 --width 64 --height 48"), 1);
    // The hanging document in a batch of its own, so that a slow machine's imports are not cut.
    EXPECT_EQ(runBatch("--to glb,png --timeout 1", "slow"), 1);
    std::map<std::string, nlohmann::json> lines = report();
    ASSERT_EQ(lines.size(), 4u);
    const struct {
        const char* name;
        const char* status;
        nlohmann::json exitCode, signal;
    } expected[] = {{"good.step", "converted", 0, nullptr},
                    {"damaged.stp", "failed", 1, nullptr},
                    {"crash.step", "crashed", nullptr, SIGSEGV},
                    {"hang.igs", "timeout", nullptr, nullptr}};
    for (const auto& e : expected) {
        const nlohmann::json& line = lines[e.name];
        EXPECT_EQ(line["status"], e.status) << line;
        EXPECT_EQ(line["exit_code"], e.exitCode) << line;
        EXPECT_EQ(line["signal"], e.signal) << line;
        EXPECT_TRUE(line["seconds"].is_number()) << line;
        EXPECT_EQ(line["outputs"].size(), e.status == std::string("converted") ? 2u : 0u);
    }
    EXPECT_EQ(lines["good.step"]["triangles"], 432);
    EXPECT_NE(lines["damaged.stp"]["message"].get<std::string>().find("nothing loaded"),
              std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(m_out / "good.step.glb"));
    EXPECT_TRUE(fs::is_regular_file(m_out / "good.step.png"));
    EXPECT_FALSE(fs::exists(m_out / "sub/damaged.stp.glb"));
    EXPECT_EQ(partialFiles(), 0u);
}

TEST_F(BatchCliTest, ResumeAfterAKillConvertsOnlyWhatWasMissing) {
    for (const char* name : {"a.step", "b.step", "c.step"})
        fs::copy_file(kSampleStep, m_dir / "src" / name);
    // One import at a time, in name order (equal sizes): a is converted, then b hangs.
    const pid_t batch = startBatch("--to glb --jobs 1", "TAMCAD_TEST_HANG=b.step");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (report().size() < 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(batch, SIGKILL);
    waitpid(batch, nullptr, 0);
    ASSERT_EQ(report().size(), 1u);
    EXPECT_EQ(report()["a.step"]["status"], "converted");
    EXPECT_FALSE(fs::exists(m_out / "b.step.glb"));

    fs::remove(m_out / "report.jsonl");
    EXPECT_EQ(runBatch("--to glb --jobs 1"), 0);
    std::map<std::string, nlohmann::json> lines = report();
    EXPECT_EQ(lines["a.step"]["status"], "skipped");
    EXPECT_EQ(lines["a.step"]["triangles"], 432);
    EXPECT_EQ(lines["b.step"]["status"], "converted");
    EXPECT_EQ(lines["c.step"]["status"], "converted");
    EXPECT_EQ(partialFiles(), 0u);

    // Other import options convert everything again.
    fs::remove(m_out / "report.jsonl");
    EXPECT_EQ(runBatch("--to glb --jobs 2 --lod 2"), 0);
    for (const auto& [name, line] : report())
        EXPECT_EQ(line["status"], "converted") << name;
}

}  // namespace
