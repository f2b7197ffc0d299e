// tamcad's host side in process: plug-in loads, the glTF of a real import checked against its
// scene graph, settings and Ctrl-C.
#include "Console.h"
#include "GltfExport.h"
#include "HostSettings.h"
#include "Plugins.h"
#include "SceneWalk.h"

#include <TamInteropCAD/exports.h>
#include <gtest/gtest.h>
#include <tamkernel/CTamPreferences.h>
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>
#include <tiny_gltf.h>

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::wstring kSampleStep = (fs::path(TAM_SAMPLES_DIR) / "sample_assembly.step").wstring();

std::vector<std::wstring>& messages() {
    static std::vector<std::wstring> recorded;
    return recorded;
}

void recordMessage(const wchar_t* text, unsigned int) {
    messages().push_back(text != nullptr ? text : L"");
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        sglModelLoader::ResetSettings();
        tam::registerPlugins();
        messages().clear();
        sglModelLoader::s_callbackLoadingError = recordMessage;
    }
    void TearDown() override {
        sglModelLoader::unregisterAll();
        sglModelLoader::ResetSettings();
    }
};

// What the glTF of a scene graph must hold, counted from the graph itself.
class ExpectedGltf : public tam::SceneVisitor {
public:
    size_t nodes = 0, meshes = 0, accessors = 0;

    void enterNode(const sglNode& node, const sglMat4<float>&, unsigned int) override {
        ++nodes;
        const auto* geode = dynamic_cast<const sglGeode*>(&node);
        if (geode == nullptr || !tam::isVisible(*geode))
            return;
        size_t primitives = 0;
        for (const sglGeoSet* drawable : tam::finestDrawables(*geode)) {
            if (!drawable->isValid())
                continue;
            const auto* strips = dynamic_cast<const sglMonoIndexedTriangleStripSet*>(drawable);
            if (strips != nullptr && strips->getTriangles(true).empty())
                continue;
            ++primitives;
            ++accessors;  // positions
            if (strips != nullptr) {
                ++accessors;  // indices
                if (drawable->getNormalBinding() == SGL_BIND_PER_VERTEX)
                    ++accessors;
            } else if (dynamic_cast<const sglLineStripSet*>(drawable) != nullptr) {
                ++accessors;  // segment indices
            }
            if (drawable->getColorBinding() == SGL_BIND_PER_VERTEX)
                ++accessors;
        }
        if (primitives > 0)
            ++meshes;
    }
};

TEST_F(HostTest, GltfOfTheSampleMatchesItsSceneGraph) {
    std::unique_ptr<CTamDBRoot> root(LoadModelCAD(kSampleStep.c_str(), 0x180));
    ASSERT_NE(root, nullptr);
    ASSERT_NE(root->GetSglRoot(), nullptr);
    ExpectedGltf expected;
    tam::walkScene(root->GetSglRoot(), expected, tam::LevelChoice::Finest);

    const fs::path glb =
        fs::temp_directory_path() / ("tamcad_host_" + std::to_string(::getpid()) + ".glb");
    tam::GltfCounts counts;
    std::string error;
    ASSERT_TRUE(tam::writeGltf(root->GetSglRoot(), glb.string(), counts, error)) << error;
    tinygltf::TinyGLTF reader;
    tinygltf::Model model;
    std::string err, warn;
    ASSERT_TRUE(reader.LoadBinaryFromFile(&model, &err, &warn, glb.string())) << err;
    fs::remove(glb);
    EXPECT_EQ(model.nodes.size(), expected.nodes);
    EXPECT_EQ(model.meshes.size(), expected.meshes);
    EXPECT_EQ(model.accessors.size(), expected.accessors);
    EXPECT_GT(expected.meshes, 5u);
}

TEST_F(HostTest, CadPluginStartsAndStopsByFlags) {
    std::unique_ptr<CTamDBRoot> root(tam::loadCadModel(kSampleStep, 0x180, L"STEP"));
    ASSERT_NE(root, nullptr);
    EXPECT_NE(root->GetSglRoot(), nullptr);
    EXPECT_TRUE(messages().empty());
}

TEST_F(HostTest, CadPluginGivesAnEmptyRootAndOneMessageForAnEmptyFile) {
    const std::wstring empty =
        (fs::path(TAM_TEST_DATA_DIR) / "invalid" / "e2e_empty.step").wstring();
    std::unique_ptr<CTamDBRoot> root(tam::loadCadModel(empty, 0x180, L"STEP"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetSglRoot(), nullptr);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(HostTest, WriterRefusesANullList) {
    EXPECT_FALSE(tam::writeCadFile(L"/tmp/never.step", nullptr));
    EXPECT_FALSE(fs::exists("/tmp/never.step"));
}

TEST_F(HostTest, SettingsReachTheRegistryAndPreferences) {
    tam::ImportSettings settings;
    settings.levelsOfDetail = 3;
    settings.asBodies = true;
    settings.points = false;
    settings.refinement = 0.8f;
    settings.explicitTolerances = true;
    settings.chordalError = 0.25f;
    settings.checkTessellation = true;
    sglModelLoader::m_sbCancelImport = true;
    tam::applyImportSettings(settings);
    EXPECT_EQ(sglModelLoader::m_suiNbLOD, 3u);
    EXPECT_TRUE(sglModelLoader::m_sbImportAsBodies);
    EXPECT_FALSE(sglModelLoader::m_sbImportPoints);
    EXPECT_TRUE(sglModelLoader::m_sbImportCurves);
    EXPECT_FLOAT_EQ(sglModelLoader::m_fRefinement, 0.8f);
    EXPECT_EQ(sglModelLoader::m_suiRefinementType, 1u);
    EXPECT_TRUE(sglModelLoader::m_sbSetChordalError);
    EXPECT_FLOAT_EQ(sglModelLoader::m_fChordalErrorValue, 0.25f);
    EXPECT_FALSE(sglModelLoader::m_sbSetNormalDeviation);
    EXPECT_FALSE(sglModelLoader::m_sbCancelImport);
    EXPECT_FALSE(sglModelLoader::m_sbHealing);
    EXPECT_TRUE(GetTamPreferences()->GetIOCheckTesselation());
    GetTamPreferences()->Reset();
}

TEST_F(HostTest, CtrlCAsksTheImportToCancel) {
    {
        tam::CancelOnInterrupt guard;
        std::raise(SIGINT);
        EXPECT_TRUE(sglModelLoader::m_sbCancelImport);
    }
    struct sigaction current {};
    sigaction(SIGINT, nullptr, &current);
    EXPECT_NE(current.sa_handler, SIG_IGN);
}

}  // namespace
