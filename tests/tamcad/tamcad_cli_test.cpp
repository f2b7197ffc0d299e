// The tamcad program end to end: import of the bundled sample into glTF and a picture, info,
// convert, help and exit codes. The program runs as a child process.
#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <tiny_gltf.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "file_bytes.h"
#include "run_shell.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

using tamtest::quoted;
using tamtest::RunResult;
using tamtest::runShell;

// Runs tamcad with the arguments (already quoted for the shell).
RunResult runTamcad(const std::string& arguments) {
    return runShell("'" TAMCAD_EXE "' " + arguments);
}

const fs::path kSampleStep = fs::path(TAM_SAMPLES_DIR) / "sample_assembly.step";
const fs::path kSampleOkt = fs::path(TAM_SAMPLES_DIR) / "sample_assembly.okt";

class TamcadCliTest : public ::testing::Test {
protected:
    tamtest::ScratchFolder m_scratch;
    const fs::path m_dir = m_scratch.path();
};

TEST_F(TamcadCliTest, ImportWritesTheSummaryGltfAndAPictureOfTheModelInItsColors) {
    const fs::path glb = m_dir / "sample.glb";
    const fs::path png = m_dir / "sample.png";
    const RunResult run = runTamcad("import " + quoted(kSampleStep) + " -o " + quoted(glb) +
                                    " -o " + quoted(png) + " --width 400 --height 300");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    for (const char* figure : {"nodes", "geodes", "triangles", "strips", "indices per triangle",
                               "levels of detail", "seconds"})
        EXPECT_NE(run.out.find(figure), std::string::npos) << figure;
    EXPECT_TRUE(fs::file_size(glb) > 0);
    EXPECT_EQ(run.out.find("tamcad: "), std::string::npos) << run.out;  // no message
    // The picture shows the model in its colors.
    int width = 0, height = 0, channels = 0;
    unsigned char* rgb = stbi_load(png.string().c_str(), &width, &height, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(width, 400);
    ASSERT_EQ(height, 300);
    size_t model = 0, red = 0, blue = 0, green = 0, yellow = 0;
    for (int i = 0; i < width * height; ++i) {
        const int r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
        model += (r != 242 || g != 244 || b != 247) ? 1 : 0;
        red += (r > 120 && r > 3 * g && r > 3 * b) ? 1 : 0;
        blue += (b > 100 && 2 * b > 3 * g && b > 2 * r) ? 1 : 0;
        green += (g > 100 && g > 2 * r && g > 2 * b) ? 1 : 0;
        yellow += (r > 120 && g > 100 && b < r / 3) ? 1 : 0;
    }
    stbi_image_free(rgb);
    EXPECT_GT(model, static_cast<size_t>(width * height / 10));  // the model fills the view
    EXPECT_GT(red, 50u);                                         // the base's top face
    EXPECT_GT(blue, 50u);                                        // the base's other faces
    EXPECT_GT(green, 50u);                                       // the posts
    EXPECT_GT(yellow, 50u);                                      // the roof
}

TEST_F(TamcadCliTest, ConvertWritesEveryTarget) {
    const fs::path one = m_dir / "one.okt", ebom = m_dir / "ebom";  // a folder takes the EBOM
    RunResult run = runTamcad("convert -q " + quoted(kSampleStep) + " -o " + quoted(one) + " -o " +
                              quoted(ebom));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_GT(fs::file_size(one), 0u);
    EXPECT_GT(fs::file_size(ebom / "assembly.xml"), 0u);
    const fs::path a = m_dir / "a.okb", b = m_dir / "b.stl", c = m_dir / "c.brep";
    run = runTamcad("convert " + quoted(one) + " -o " + quoted(a) + " -o " + quoted(b) + " -o " +
                    quoted(c));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    for (const fs::path& target : {a, b, c})
        EXPECT_GT(fs::file_size(target), 0u) << target;
}

// Every failure names the file and its cause on stderr, and exits with its own code.
TEST_F(TamcadCliTest, FailuresSayWhyAndExitWithTheirCode) {
    const fs::path data = TAM_TEST_DATA_DIR;
    std::ofstream(m_dir / "empty.step").close();
    std::ofstream(m_dir / "noise.step") << "\x01\x7f binary noise, not ISO 10303";
    std::ofstream(m_dir / "notes.txt") << "text";
    fs::create_directories(m_dir / "folder.step");
    const auto quietImport = [](const fs::path& file) { return "import -q " + quoted(file); };
    const struct {
        std::string arguments;
        int exitCode;
        const char* says;
    } cases[] = {
        {quietImport(m_dir / "empty.step"), 1, "empty.step: the file is empty"},
        {quietImport(m_dir / "noise.step"), 1, "noise.step: not a STEP file"},
        {quietImport(data / "invalid/truncated_step_part.stp"), 1,
         "truncated_step_part.stp: syntax error at line"},
        {quietImport(data / "invalid/no_shapes.stp"), 1, "no shapes in the file"},
        {quietImport(data / "invalid/step_product_loop.stp"), 1,
         "step_product_loop.stp: the product structure loops: product 'P"},
        {quietImport(data / "invalid/step_nesting_600.stp"), 1, "nests deeper than 500 levels"},
        {quietImport(data / "invalid/brep_cut_short.brep"), 1,
         "brep_cut_short.brep: the file is damaged"},
        {quietImport(data / "invalid/orik_truncated.okb"), 1,
         "orik_truncated.okb: file is damaged"},
        {quietImport(m_dir / "notes.txt"), 1, "No model loader registered"},
        {quietImport(m_dir / "missing.step"), 1, "missing.step: No such file or directory"},
        {"info " + quoted(m_dir / "folder.step"), 1, "folder.step: Is a directory"},
        {"convert -q " + quoted(m_dir / "empty.step") + " -o " + quoted(m_dir / "y.okt"), 1,
         "empty.step: the file is empty"},
        {quietImport(kSampleStep) + " -o " + quoted(m_dir / "no/folder/x.glb"), 3,
         "x.glb: cannot write: No such file or directory"},
        {quietImport(kSampleStep) + " -o " + quoted(m_dir), 2, "unknown output type"},
    };
    for (const auto& c : cases) {
        const RunResult run = runTamcad(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.arguments << "\n" << run.out;
        if (c.exitCode == 1) {
            EXPECT_EQ(run.out.find("imported "), std::string::npos) << run.out;
        }
        EXPECT_EQ(run.out.find("\x1b["), std::string::npos) << run.out;  // no reader text
    }
    EXPECT_FALSE(fs::exists(m_dir / "y.okt"));
}

// The readers' own console text goes to the host log: info's stdout holds the tree alone.
TEST_F(TamcadCliTest, InfoOnStdoutIsTheTreeAlone) {
    const std::string out =
        runShell("'" TAMCAD_EXE "' info " +
                     quoted(fs::path(TAM_TEST_DATA_DIR) / "invalid/kvxi_truncated.stp") +
                     " 2>/dev/null",
                 false)
            .out;
    EXPECT_TRUE(out.empty() || out.rfind("group ", 0) == 0) << out;
}

TEST_F(TamcadCliTest, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runTamcad("").exitCode, 2);
    EXPECT_EQ(runTamcad("import").exitCode, 2);
    EXPECT_EQ(runTamcad("import " + quoted(kSampleStep) + " -o out.xyz").exitCode, 2);
    EXPECT_EQ(runTamcad("import " + quoted(kSampleStep) + " --lod 9").exitCode, 2);
    EXPECT_EQ(runTamcad("import " + quoted(kSampleStep) + " --chordal 0.1").exitCode, 2);
    EXPECT_EQ(runTamcad("convert " + quoted(kSampleStep)).exitCode, 2);
    EXPECT_EQ(runTamcad("frobnicate").exitCode, 2);
}

TEST_F(TamcadCliTest, EveryCommandHasHelpAndTakesOutputsWithOAndQuietWithQ) {
    EXPECT_EQ(runTamcad("--help").exitCode, 0);
    for (const char* command :
         {"import ", "assembly ", "convert ", "info ", "xml-only ", "batch "}) {
        const RunResult run = runTamcad(std::string(command) + "--help");
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_NE(run.out.find("Usage"), std::string::npos) << command << run.out;
        EXPECT_NE(run.out.find("-o,--output"), std::string::npos) << command << run.out;
        EXPECT_NE(run.out.find("-q,--quiet"), std::string::npos) << command << run.out;
    }
    EXPECT_NE(runTamcad("import --help").out.find("--refinement"), std::string::npos);
    EXPECT_NE(runTamcad("convert --help").out.find("a FOLDER takes the assembly's EBOM"),
              std::string::npos);
}

TEST_F(TamcadCliTest, KernelFileImportsLikeStep) {
    const RunResult run = runTamcad("import -q " + quoted(kSampleOkt) + " --lod 3 --bodies --mass");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("levels of detail      3"), std::string::npos) << run.out;
}

// The summary lines of an import without its timing line (sanitizer reports left out).
std::string summaryWithoutTime(const std::string& out) {
    std::string kept;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const bool summary = line.rfind("imported ", 0) == 0 || line.rfind("  ", 0) == 0;
        if (summary && line.find("seconds") == std::string::npos)
            kept += line + "\n";
    }
    return kept;
}

TEST_F(TamcadCliTest, TwoImportsOfOneFileAtOnceBothSucceedThroughTheCache) {
    const fs::path cache = m_dir / "cache";
    // An import writing its stdout alone (so that sanitizer reports on stderr stay out) to the
    // file `name` and its exit code to `name`.rc.
    const auto import = [this](const std::string& name, const std::string& options) {
        return "('" TAMCAD_EXE "' import -q " + options + " " + quoted(kSampleStep) + " > " +
               quoted(m_dir / name) + "; echo $? > " + quoted(m_dir / (name + ".rc")) + ")";
    };
    const auto summary = [this](const std::string& name) {
        EXPECT_EQ(tamtest::readFile(m_dir / (name + ".rc")), "0\n") << name;
        return summaryWithoutTime(tamtest::readFile(m_dir / name));
    };
    const std::string cached = "--cache-dir " + quoted(cache);
    runShell(import("a", cached) + " & " + import("b", cached) + " & wait");
    EXPECT_EQ(summary("a"), summary("b"));
    // A hit, then an import without the cache: the same summary.
    runShell(import("again", cached));
    EXPECT_EQ(summary("again"), summary("a"));
    runShell(import("uncached", "--no-cache"));
    EXPECT_EQ(summary("uncached"), summary("a"));
    size_t entries = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(cache))
        entries += entry.path().extension() == ".entry" ? 1 : 0;
    EXPECT_EQ(entries, 1u);
}

}  // namespace
