// `tamcad assembly` end to end on the bundled sample assembly: the summary, the glTF with one
// mesh per part (checked by the Khronos validator when installed), the product XML read back,
// and the failure paths.
#include "assembly_test_support.h"
#include "scratch_folder.h"

#include <tamfoundations/CTamProductXmlReader.h>

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <cmath>
#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;
using tamtest::quoted;
using tamtest::runTamcad;

const fs::path kSampleStep = fs::path(TAM_SAMPLES_DIR) / "sample_assembly.step";

std::string utf8(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // the sample's names are ASCII
}

class TamcadAssemblyTest : public ::testing::Test {
protected:
    // Imports the sample into sample.glb and sample.rvdxml.
    tamtest::RunResult importSample() {
        return runTamcad("assembly -q " + quoted(kSampleStep) + " -o " +
                         quoted(m_dir / "sample.glb") + " -o " + quoted(m_dir / "sample.rvdxml"));
    }

    tamtest::ScratchFolder m_scratch;
    const fs::path m_dir = m_scratch.path();
};

TEST_F(TamcadAssemblyTest, GltfAndProductXmlDescribeTheSameInstances) {
    const tamtest::RunResult run = importSample();
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("(assembly)"), std::string::npos) << run.out;
    const long instances = tamtest::summaryFigure(run.out, "instances");
    const long meshed = tamtest::summaryFigure(run.out, "parts meshed");
    EXPECT_EQ(instances, 7) << run.out;  // the post is placed three times
    EXPECT_EQ(meshed, 5) << run.out;
    EXPECT_EQ(tamtest::summaryFigure(run.out, "distinct parts"), 5) << run.out;
    EXPECT_TRUE(fs::exists(m_dir / "sample.rvdGeom"));

    tinygltf::TinyGLTF loader;
    tinygltf::Model model;
    std::string err, warn;
    ASSERT_TRUE(loader.LoadBinaryFromFile(&model, &err, &warn, (m_dir / "sample.glb").string()));
    EXPECT_EQ(long(model.meshes.size()), meshed);
    std::map<std::string, std::vector<double>> gltfPlacements;
    long placedMeshes = 0;
    for (const tinygltf::Node& node : model.nodes) {
        placedMeshes += node.mesh >= 0 ? 1 : 0;
        if (!node.matrix.empty())
            gltfPlacements[node.name] = node.matrix;
    }
    EXPECT_EQ(placedMeshes, instances);

    CTamProductXmlReader reader;
    sglGroup* back = reader.Read((m_dir / "sample.rvdxml").wstring());
    ASSERT_NE(back, nullptr) << utf8(reader.GetLastError());
    back->ref();
    const std::vector<tamtest::PlacedPart> parts = tamtest::placedParts(*back);
    EXPECT_EQ(long(parts.size()), instances);
    size_t triangles = 0;
    for (const tamtest::PlacedPart& part : parts) {
        triangles += part.triangles;
        const std::string name = utf8(part.placement->getName());
        if (part.placement->isIdentity())
            continue;
        ASSERT_EQ(gltfPlacements.count(name), 1u) << name;
        for (int k = 0; k < 16; ++k) {
            const double want = part.placement->getMatrix()[k];
            EXPECT_NEAR(gltfPlacements[name][k], want, 1e-6 * std::max(1.0, std::abs(want)))
                << name;
        }
    }
    EXPECT_EQ(long(triangles), tamtest::summaryFigure(run.out, "triangles"));
    back->unref();

    const tamtest::RunResult info = runTamcad("info " + quoted(m_dir / "sample.rvdxml"));
    EXPECT_EQ(info.exitCode, 0) << info.out;
    EXPECT_NE(info.out.find("transform \"Post_3\""), std::string::npos) << info.out;
}

TEST_F(TamcadAssemblyTest, GltfPassesTheKhronosValidator) {
    const fs::path script = fs::path(TAM_SCRIPTS_DIR) / "validate_gltf.js";
    if (std::system("command -v node > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "node is missing; glTF validation skipped";
    ASSERT_EQ(importSample().exitCode, 0);
    const tamtest::RunResult report =
        tamtest::runShell("node " + quoted(script) + " " + quoted(m_dir / "sample.glb"));
    if (report.exitCode == 2)
        GTEST_SKIP() << report.out;  // the validator is not installed
    EXPECT_EQ(report.exitCode, 0) << report.out;
    EXPECT_NE(report.out.find(": 0 errors"), std::string::npos) << report.out;
}

TEST_F(TamcadAssemblyTest, FailuresGiveAMessageAndTheirExitCode) {
    std::ofstream(m_dir / "damaged.rvdxml") << "<DocumentRVD><Server";
    std::ofstream(m_dir / "notes.txt") << "not CAD";
    const struct {
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {"info " + quoted(m_dir / "damaged.rvdxml"), 1, "cannot read product XML"},
        {"assembly -q " + quoted(fs::path(TAM_TEST_DATA_DIR) / "invalid" / "kvxi_truncated.stp"), 1,
         "flat instead"},
        {"assembly -q " + quoted(m_dir / "notes.txt"), 2, "is not a STEP, IGES or B-rep file"},
        {"assembly -q " + quoted(kSampleStep) + " -o " + quoted(m_dir / "out.okt"), 2,
         "unknown extension"},
        {"assembly -q " + quoted(kSampleStep) + " -o a.rvdxml -o b.rvdxml", 2,
         "one product XML output at most"},
    };
    for (const auto& row : cases) {
        const tamtest::RunResult run = runTamcad(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(row.message), std::string::npos) << row.arguments << "\n" << run.out;
    }
}

}  // namespace
