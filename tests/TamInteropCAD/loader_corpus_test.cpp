// Every STEP file of the shared corpus, translated and walked into a scene graph.
#include <tamsg/sglLOD.h>
#include <tamsgdb/sglModelLoader.h>

#include <cctype>
#include <filesystem>

#include "corpus.h"
#include "loader_test_support.h"

namespace tamtest {
namespace {

// Every drawable of the tree is valid and every geode carries a record.
void ExpectSoundTree(sglNode* node) {
    for (sglGeode* geode : Geodes(node)) {
        EXPECT_NE(dynamic_cast<const CTamUserData*>(geode->getUserData()), nullptr);
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i)
            EXPECT_TRUE(geode->getGeometry(i)->isValid()) << geode->getName().size();
    }
}

std::vector<std::filesystem::path> StepFiles() {
    return CorpusFiles("step");
}

}  // namespace

class LoaderCorpus : public LoaderTest,
                     public ::testing::WithParamInterface<std::filesystem::path> {};

TEST_P(LoaderCorpus, WalksWithoutLeakOrCrash) {
    TAM_REQUIRE_CORPUS();
    TAM_SKIP_IF_LEFT_OUT(GetParam());
    sglModelLoader::m_sbImportMassProperties = true;
    sglModelLoader::m_sbImportMetas = true;
    TranslatedFile file(GetParam());
    if (file.list() == nullptr || file.list()->count() == 0)
        GTEST_SKIP() << "the translator hands out no entities for " << GetParam();
    GroupPtr group(loader.ParseEntities(*file.list(), GetParam().wstring()));
    if (group != nullptr)
        ExpectSoundTree(group.get());
}

INSTANTIATE_TEST_SUITE_P(Step, LoaderCorpus, ::testing::ValuesIn(StepFiles()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) {
                             std::string name = info.param.stem().string();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name + "_" + std::to_string(info.index);
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(LoaderCorpus);

using LoaderCorpusContent = LoaderTest;

TEST_F(LoaderCorpusContent, AssemblyGivesNamedPlacedGeodesInBothModesInvisibleOnesRecordedHidden) {
    TAM_REQUIRE_CORPUS();
    TranslatedFile file(CorpusDir() / "step" / "as1-oc-214.stp");
    ASSERT_NE(file.list(), nullptr);
    GroupPtr faces(loader.ParseEntities(*file.list(), L"as1-oc-214.stp"));
    ASSERT_NE(faces, nullptr);
    unsigned int transforms = 0;
    for (unsigned int i = 0; i < faces->getNumChildren(); ++i)
        transforms += dynamic_cast<sglTransform<float>*>(faces->getChild(i)) != nullptr ? 1 : 0;
    EXPECT_GT(transforms, 0u);
    for (sglGeode* geode : Geodes(faces.get())) {
        EXPECT_FALSE(geode->getName().empty());
        EXPECT_EQ(Record(geode).GetIssuedFrom(), L"as1-oc-214.stp");
    }

    sglModelLoader::m_sbImportAsBodies = true;
    sglModelLoader::m_sbImportMassProperties = true;
    sglModelLoader::m_suiNbLOD = 2;
    GroupPtr bodies(loader.ParseEntities(*file.list(), L"as1-oc-214.stp"));
    ASSERT_NE(bodies, nullptr);
    unsigned int solids = 0;
    for (sglGeode* geode : Geodes(bodies.get())) {
        const CTamUserData& record = Record(geode);
        if (record.GetEntityKind() == 1) {
            ++solids;
            EXPECT_GT(record.GetVolume(), 0.0f);
            EXPECT_GT(record.GetArea(), 0.0f);
        }
    }
    EXPECT_GT(solids, 0u);
    ExpectSoundTree(bodies.get());
    // Invisible components are recorded hidden.
    sglModelLoader::m_sbImportNoShow = true;  // the translator keeps hidden entities
    TranslatedFile invisible(CorpusDir() / "step" / "bug25381_test_assembly_invisible.step");
    ASSERT_NE(invisible.list(), nullptr);
    sglModelLoader::m_sbImportAsBodies = true;
    GroupPtr hidden(loader.ParseEntities(*invisible.list(), L"invisible.step"));
    ASSERT_NE(hidden, nullptr);
    unsigned int hiddenGeodes = 0;
    for (sglGeode* geode : Geodes(hidden.get()))
        hiddenGeodes += Record(geode).GetVisible() ? 0 : 1;
    EXPECT_GT(hiddenGeodes, 0u);
}

}  // namespace tamtest
