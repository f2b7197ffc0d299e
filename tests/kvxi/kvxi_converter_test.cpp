// Conversions through the translator with the kernel running, on the small documents in
// tests/data/kvxi: a STEP assembly (a block placed twice, one instance red, one hidden
// cylinder with a non-ASCII name, one yellow face), an AP242 file of tessellated parts and a
// B-rep compound with free geometry.
#include "file_bytes.h"
#include "kvxi_test_support.h"
#include "scratch_folder.h"

#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;
using namespace kvxitest;

namespace {

const std::string kData = std::string(TAM_TEST_DATA_DIR) + "/kvxi/";

class KvxiConverterTest : public KernelSuite {
protected:
    std::string Out(const std::string& name) const { return (m_scratch.path() / name).string(); }

    tamtest::ScratchFolder m_scratch;
};

// How many faces of a body have each of their own colors (named, "other" or "none").
std::map<std::string, int> FaceColorCounts(const ENTITY* body) {
    const std::pair<const char*, rgb_color> named[] = {
        {"red", rgb_color(1, 0, 0)}, {"blue", rgb_color(0, 0, 1)}, {"yellow", rgb_color(1, 1, 0)}};
    ENTITY_LIST faces;
    api_get_faces(const_cast<ENTITY*>(body), faces);
    std::map<std::string, int> counts;
    for (int i = 0; i < faces.count(); ++i) {
        rgb_color color;
        std::string name = OwnColor(faces[i], color) ? "other" : "none";
        for (const auto& [text, value] : named)
            name = name == "other" && color == value ? text : name;
        ++counts[name];
    }
    return counts;
}

TEST_F(KvxiConverterTest, StepAssemblyBecomesPlacedBodiesWithAttributes) {
    Entities entities;
    Convert(kData + "assembly.stp", "STEP", EntityOptions(), entities);
    ASSERT_TRUE(entities.result.IsSuccess()) << entities.result.GetText();
    ASSERT_EQ(CountBodies(entities), 3);

    const ENTITY* first = FindByName(entities, "Block-1");
    const ENTITY* second = FindByName(entities, "Block-2");
    const ENTITY* hidden = FindByName(entities, "Hidden cylinder");
    ASSERT_TRUE(first && second && hidden);
    EXPECT_TRUE(orik_entity_shape(first).IsSame(orik_entity_shape(second)));
    EXPECT_NEAR(orik_entity_placement(second).TranslationPart().X(), 100.0, 1e-9);
    EXPECT_EQ(TextAttribute(hidden, "ATTRIB_XORIK_SHOW"), "0");
    EXPECT_EQ(TextAttribute(first, "ATTRIB_XORIK_SHOW"), "");

    rgb_color color;
    ASSERT_TRUE(OwnColor(second, color));
    EXPECT_DOUBLE_EQ(color.red(), 1.0);
    EXPECT_DOUBLE_EQ(color.blue(), 0.0);
    ASSERT_TRUE(OwnColor(first, color));
    EXPECT_DOUBLE_EQ(color.blue(), 1.0);

    EXPECT_EQ(FaceColorCounts(first), (std::map<std::string, int>{{"none", 5}, {"yellow", 1}}));
    // The non-ASCII name stays intact as a wide string.
    bool wide = false;
    for (int i = 0; i < entities.Count(); ++i) {
        ATTRIB_GEN_NAME* attrib = nullptr;
        api_find_named_attribute(entities[i], "ATTRIB_XORIK_NAME", attrib);
        wide |= attrib && attrib->identity() == ATTRIB_GEN_WSTRING_TYPE;
    }
    EXPECT_TRUE(wide);
}

// AP242 tessellated geometry: a red mesh cube with a blue face placed twice (strips and a fan),
// and a mesh sheet given in metres.
TEST_F(KvxiConverterTest, TessellatedPartsBecomeMeshBodies) {
    Entities entities;
    Convert(kData + "tessellated.stp", nullptr, EntityOptions(), entities);
    ASSERT_TRUE(entities.result.IsSuccess()) << entities.result.GetText();
    ASSERT_EQ(CountBodies(entities), 3);
    const ENTITY* second = FindByName(entities, "Cube 2");
    const ENTITY* sheet = FindByName(entities, "Sheet");
    ASSERT_TRUE(FindByName(entities, "Cube 1") && second && sheet);
    EXPECT_NEAR(orik_entity_placement(second).TranslationPart().X(), 200.0, 1e-9);

    const Bnd_Box box = WorldBox(entities);
    EXPECT_NEAR(box.CornerMin().Distance(gp_Pnt(0.0, 0.0, 0.0)), 0.0, 1e-6);
    EXPECT_NEAR(box.CornerMax().Distance(gp_Pnt(210.0, 20.0, 10.0)), 0.0, 1e-6);

    // The cube's red style is overridden on one face: its faces carry the colors.
    rgb_color color;
    EXPECT_FALSE(OwnColor(second, color));
    EXPECT_FALSE(OwnColor(sheet, color));
    EXPECT_EQ(FaceColorCounts(second), (std::map<std::string, int>{{"blue", 1}, {"red", 5}}));
    EXPECT_TRUE(api_facet_entity(const_cast<ENTITY*>(second)).ok());
}

// The STEP and IGES writers cannot take mesh-only faces: such bodies are left out (nothing at
// all to write here); mesh, B-rep and kernel targets keep them.
TEST_F(KvxiConverterTest, MeshOnlyBodiesGoToMeshBrepAndKernelTargets) {
    Entities mesh;
    Convert(kData + "tessellated.stp", "STEP", EntityOptions(), mesh);
    for (const char* name : {"mesh.stp", "mesh.igs"}) {
        EXPECT_EQ(WriteEntities(mesh, Out(name)).GetValue(), KVXIResult::NoEntities) << name;
        EXPECT_FALSE(fs::exists(Out(name))) << name;
    }
    EXPECT_TRUE(WriteEntities(mesh, Out("mesh.stl")).IsSuccess());
    EXPECT_EQ(fs::file_size(Out("mesh.stl")), 84u + 50u * 26u);  // 2 x 12 + 2 triangles
    // Shape fixing needs surfaces: with "Healing" mesh-only parts are taken as they are.
    KVXIOptions healing = EntityOptions();
    healing.Add("Healing", true);
    for (const char* name : {"mesh.brep", "mesh.okb"}) {
        ASSERT_TRUE(WriteEntities(mesh, Out(name)).IsSuccess()) << name;
        Entities reread;
        Convert(Out(name), nullptr, healing, reread);
        EXPECT_EQ(CountBodies(reread), 3) << name;
    }
    Entities healed;
    Convert(kData + "tessellated.stp", "STEP", healing, healed);
    EXPECT_TRUE(healed.result.IsSuccess());
    EXPECT_EQ(CountBodies(healed), 3);
}

TEST_F(KvxiConverterTest, OptionsDropHiddenEntitiesFaceColorsAndFreeGeometry) {
    Entities withoutHidden;
    Convert(kData + "assembly.stp", "STEP", EntityOptions(true, false), withoutHidden);
    EXPECT_EQ(CountBodies(withoutHidden), 2);

    KVXIOptions options = EntityOptions();
    options.Add("OverrideFaceColorWithBodyColor", 1);
    Entities overridden;
    Convert(kData + "assembly.stp", "STEP", options, overridden);
    const ENTITY* first = FindByName(overridden, "Block-1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FaceColorCounts(first), (std::map<std::string, int>{{"none", 6}}));
    // The tessellated cube has no body color: its face colors stay.
    Entities tessellated;
    Convert(kData + "tessellated.stp", nullptr, options, tessellated);
    const ENTITY* cube = FindByName(tessellated, "Cube 2");
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(FaceColorCounts(cube), (std::map<std::string, int>{{"blue", 1}, {"red", 5}}));
    // Free vertices and edges come with bodies only when asked for.
    Entities all;
    Convert(kData + "mixed.brep", nullptr, EntityOptions(true), all);
    ASSERT_TRUE(all.result.IsSuccess());
    EXPECT_EQ(CountBodies(all), 2);
    int vertices = 0, edges = 0;
    for (int i = 0; i < all.Count(); ++i) {
        vertices += is_VERTEX(all[i]) ? 1 : 0;
        edges += is_EDGE(all[i]) ? 1 : 0;
    }
    EXPECT_EQ(vertices, 1);
    EXPECT_EQ(edges, 1);

    Entities bodiesOnly;
    Convert(kData + "mixed.brep", "BREP", EntityOptions(false), bodiesOnly);
    EXPECT_EQ(bodiesOnly.Count(), 2);
}

TEST_F(KvxiConverterTest, UnreadableSourcesGiveClearFailures) {
    struct Row {
        std::string path;
        const char* type;
        int expected;
    };
    const Row rows[] = {
        {kData + "assembly.stp", "MIREXV4", KVXIResult::UnsupportedSourceType},
        {kData + "assembly.stp", "MIREXV5", KVXIResult::UnsupportedSourceType},
        {kData + "assembly.stp", "ProE", KVXIResult::UnsupportedSourceType},
        {kData + "assembly.stp", "step", KVXIResult::UnsupportedSourceType},
        {kData + "missing.stp", "STEP", KVXIResult::FileNotFound},
        {std::string(TAM_TEST_DATA_DIR) + "/invalid/kvxi_truncated.stp", "STEP",
         KVXIResult::NoEntities},
        {std::string(TAM_TEST_DATA_DIR) + "/invalid/kvxi_garbage.igs", "IGES",
         KVXIResult::NoEntities},
    };
    for (const Row& row : rows) {
        Entities entities;
        Convert(row.path, row.type, EntityOptions(), entities);
        EXPECT_TRUE(entities.result.IsFailure()) << row.path << " " << row.type;
        if (row.expected != KVXIResult::NoEntities) {
            EXPECT_EQ(entities.result.GetValue(), row.expected) << row.type;
        }
        EXPECT_EQ(entities.list, nullptr);
    }
}

TEST_F(KvxiConverterTest, WrittenFilesReadBackWithSameBodiesAndBox) {
    Entities original;
    Convert(kData + "assembly.stp", "STEP", EntityOptions(), original);
    const Bnd_Box box = WorldBox(original);
    for (const char* name : {"copy.stp", "copy.igs", "copy.brep"}) {
        ASSERT_FALSE(WriteEntities(original, Out(name)).IsFailure()) << name;
        Entities reread;
        Convert(Out(name), nullptr, EntityOptions(), reread);
        ASSERT_FALSE(reread.result.IsFailure()) << name;
        EXPECT_EQ(CountBodies(reread), CountBodies(original)) << name;
        const Bnd_Box again = WorldBox(reread);
        EXPECT_NEAR(again.CornerMin().Distance(box.CornerMin()), 0.0, 0.01) << name;
        EXPECT_NEAR(again.CornerMax().Distance(box.CornerMax()), 0.0, 0.01) << name;
    }
    Entities reread;
    Convert(Out("copy.stp"), nullptr, EntityOptions(), reread);
    EXPECT_NE(FindByName(reread, "Block-2"), nullptr);
}

// STL targets are checked with the mesh-only bodies above.
TEST_F(KvxiConverterTest, VisualizationTargetIsGltf) {
    KVXIConverter converter;
    KVXIOptions visualization;
    visualization.Add(KVXIOptionName::Representation, "Visualization");
    visualization.Add("TranslateAttributes", true);
    converter.SetOptions(visualization);
    KVXIDocument source(kData + "assembly.stp");
    KVXIDocument glb(Out("model.glb"));
    EXPECT_TRUE(converter.Convert(source, glb).IsSuccess());
    EXPECT_EQ(tamtest::readFile(Out("model.glb")).substr(0, 4), "glTF");
}

TEST_F(KvxiConverterTest, FailedWritesLeaveNoFile) {
    Entities original;
    Convert(kData + "assembly.stp", "STEP", EntityOptions(), original);
    EXPECT_EQ(WriteEntities(original, Out("model.xyz")).GetValue(),
              KVXIResult::UnsupportedTargetType);
    EXPECT_EQ(WriteEntities(original, Out("no/such/folder/model.stp")).GetValue(),
              KVXIResult::WriteFailed);
    EXPECT_TRUE(fs::is_empty(m_scratch.path()));

    Entities none;
    EXPECT_EQ(WriteEntities(none, Out("empty.stp")).GetValue(), KVXIResult::NoEntities);
    EXPECT_FALSE(fs::exists(Out("empty.stp")));
}

TEST_F(KvxiConverterTest, EntitiesHandedOutOnceAndSourceListUnchanged) {
    KVXIDocument source(kData + "mixed.brep");
    KVXIOrikDocument target;
    KVXIConverter converter;
    ASSERT_TRUE(converter.Convert(source, target).IsSuccess());
    Entities first;
    EXPECT_TRUE(target.GetEntities(first.list).IsSuccess());
    ENTITY_LIST* second = nullptr;
    EXPECT_EQ(target.GetEntities(second).GetValue(), KVXIResult::NoEntities);
    EXPECT_EQ(second, nullptr);

    const int count = first.Count();
    KVXIOrikDocument over(first.list);
    EXPECT_EQ(over.GetEntityCount(), count);
    EXPECT_EQ(first.Count(), count);
}

TEST_F(KvxiConverterTest, TimeLimitAndCancelInterrupt) {
    KVXIConverter converter;
    converter.SetProgressCallback([](double, bool& cancel) { cancel = true; });
    KVXIDocument source(kData + "assembly.stp");
    KVXIOrikDocument target;
    EXPECT_EQ(converter.Convert(source, target).GetValue(), KVXIResult::Interrupted);
    EXPECT_EQ(target.GetEntityCount(), 0);
}

}  // namespace
