// The tessellated STEP files of the shared corpus (parts given as triangles only) walked into
// scene graphs: every face brings its triangles and its styled color, a face styled by an
// overriding style its own.
#include <tamsg/sglMaterial.h>
#include <tamsgdb/sglModelLoader.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <ostream>
#include <set>
#include <string>
#include <utility>

#include "corpus.h"
#include "loader_test_support.h"

namespace tamtest {
namespace {

// The loader's color for entities without one of their own, packed.
constexpr unsigned long kUnstyledColor = 15060172ul;

// The packed form of a strip set's diffuse color (red in the low byte).
unsigned long PackedDiffuse(const sglGeoSet& set) {
    for (sglStatelet* statelet : set.getState(0)) {
        if (auto* material = dynamic_cast<const sglMaterial*>(statelet)) {
            const sglVec4<float> c = material->getDiffuse(SGL_FRONT);
            return (static_cast<unsigned long>(c[0] * 255.0f) & 0xFF) |
                   (static_cast<unsigned long>(c[1] * 255.0f) & 0xFF) << 8 |
                   (static_cast<unsigned long>(c[2] * 255.0f) & 0xFF) << 16;
        }
    }
    return 0;
}

// The smallest and the largest x of a geode's positions.
std::pair<float, float> XRange(const sglGeode& geode) {
    std::pair<float, float> range(std::numeric_limits<float>::max(),
                                  -std::numeric_limits<float>::max());
    for (unsigned int i = 0; i < geode.getNumGeometries(); ++i) {
        for (unsigned int k = 0; k < geode.getGeometry(i)->getNumCoords(); ++k) {
            const float x = geode.getGeometry(i)->getCoord(k)[0];
            range = {std::min(range.first, x), std::max(range.second, x)};
        }
    }
    return range;
}

// Faces of the translated entities.
int FaceCount(ENTITY_LIST& entities) {
    ENTITY_LIST faces;
    for (int i = 0; i < entities.count(); ++i)
        api_get_faces(entities[i], faces).ignore();
    return faces.count();
}

}  // namespace

struct TessellatedFile {
    const char* name;
    unsigned int triangles;  // as translated
    float volume;            // of the part's closed shells; 0 when it has none
    size_t colors;           // distinct styled colors among its faces
};

void PrintTo(const TessellatedFile& file, std::ostream* out) {
    *out << file.name;
}

class LoaderMeshFacesCorpus : public LoaderTest,
                              public ::testing::WithParamInterface<TessellatedFile> {};

TEST_P(LoaderMeshFacesCorpus, FacesBringTheirTrianglesAndStyledColorsClosedPartsTheirVolume) {
    TAM_REQUIRE_CORPUS();
    sglModelLoader::m_sbImportMassProperties = true;
    const std::filesystem::path path = CorpusDir() / "step" / GetParam().name;
    TranslatedFile file(path);
    ASSERT_NE(file.list(), nullptr);
    ASSERT_GT(file.list()->count(), 0);
    GroupPtr group(loader.ParseEntities(*file.list(), path.wstring()));
    ASSERT_NE(group, nullptr);
    unsigned int triangles = 0;
    std::set<unsigned long> colors;
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    EXPECT_EQ(int(geodes.size()), FaceCount(*file.list()));  // one geode per face
    for (sglGeode* geode : geodes) {
        EXPECT_GT(Record(geode).GetArea(), 0.0f);
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i) {
            EXPECT_TRUE(geode->getGeometry(i)->isValid());
            colors.insert(PackedDiffuse(*geode->getGeometry(i)));
        }
        triangles += TriangleCount(geode);
    }
    EXPECT_EQ(triangles, GetParam().triangles);
    EXPECT_EQ(colors.count(kUnstyledColor), 0u) << "a face without its styled color";
    EXPECT_EQ(colors.size(), GetParam().colors);

    sglModelLoader::m_sbImportAsBodies = true;  // one body geode, with the part's volume
    group.reset(loader.ParseEntities(*file.list(), path.wstring()));
    const std::vector<sglGeode*> bodies = Geodes(group.get());
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(TriangleCount(bodies[0]), GetParam().triangles);
    EXPECT_NEAR(Record(bodies[0]).GetVolume(), GetParam().volume, 1e-4f * GetParam().volume);
}

// A red cube whose face at the largest x is styled blue by a style overriding the cube's own.
TEST_F(LoaderTest, OverridingStyleColorsOnlyItsFace) {
    TAM_REQUIRE_CORPUS();
    const std::filesystem::path path = CorpusDir() / "step" / "bug33638.stp";
    TranslatedFile file(path);
    ASSERT_NE(file.list(), nullptr);
    GroupPtr group(loader.ParseEntities(*file.list(), path.wstring()));
    ASSERT_NE(group, nullptr);
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 6u);
    constexpr unsigned long kRed = 0x0000FFul, kBlue = 0xFF0000ul;
    float largestX = -std::numeric_limits<float>::max();
    for (const sglGeode* geode : geodes)
        largestX = std::max(largestX, XRange(*geode).second);
    int blueFaces = 0;
    for (const sglGeode* geode : geodes) {
        ASSERT_EQ(geode->getNumGeometries(), 1u);
        // The face at the largest x has no position below it.
        const bool overridden =
            std::abs(XRange(*geode).first - largestX) <= 1e-3f * std::abs(largestX);
        EXPECT_EQ(PackedDiffuse(*geode->getGeometry(0)), overridden ? kBlue : kRed);
        blueFaces += overridden ? 1 : 0;
    }
    EXPECT_EQ(blueFaces, 1);
}

INSTANTIATE_TEST_SUITE_P(Tessellated, LoaderMeshFacesCorpus,
                         ::testing::Values(TessellatedFile{"nist_ftc_08_asme1_ap242-2.stp", 3368,
                                                           503281.0f, 1},
                                           TessellatedFile{"bug33638.stp", 12, 772403.0f, 2},
                                           TessellatedFile{"bug33100_window.step", 356, 0.0f, 4}),
                         [](const ::testing::TestParamInfo<TessellatedFile>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

}  // namespace tamtest
