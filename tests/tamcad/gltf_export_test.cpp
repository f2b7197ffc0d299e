// glTF export: structure, names, placements, materials and primitives, read back with tinygltf.
#include "GltfExport.h"
#include "scene_fixture.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class GltfExportTest : public ::testing::Test {
protected:
    // Writes the fixture scene to name and reads it back.
    tinygltf::Model roundTrip(const std::string& name, tam::GltfCounts& counts) {
        tamtest::SceneHolder scene(tamtest::buildScene());
        const std::string path = (m_dir / name).string();
        std::string error;
        EXPECT_TRUE(tam::writeGltf(scene.get(), path, counts, error)) << error;
        tinygltf::TinyGLTF reader;
        tinygltf::Model model;
        std::string err, warn;
        const bool binary = name.size() > 4 && name.substr(name.size() - 4) == ".glb";
        const bool loaded = binary ? reader.LoadBinaryFromFile(&model, &err, &warn, path)
                                   : reader.LoadASCIIFromFile(&model, &err, &warn, path);
        EXPECT_TRUE(loaded) << err;
        return model;
    }

    const tinygltf::Node& node(const tinygltf::Model& model, const std::string& name) {
        for (const tinygltf::Node& n : model.nodes) {
            if (n.name == name)
                return n;
        }
        ADD_FAILURE() << "no node " << name;
        return model.nodes.front();
    }

    tamtest::ScratchFolder m_scratch;
    const fs::path m_dir = m_scratch.path();
};

TEST_F(GltfExportTest, KeepsCountsNamesPlacementsAndRecordsOfTheFinestLevel) {
    tam::GltfCounts counts;
    const tinygltf::Model model = roundTrip("scene.glb", counts);
    // Part, Red, Moved, Green, Line, Dot, Hidden, Levels and its finest child Fine.
    EXPECT_EQ(model.nodes.size(), 9u);
    // Every visible geode with a drawable: Red, Green, Line, Dot, Fine.
    EXPECT_EQ(model.meshes.size(), 5u);
    // Three squares (positions, normals, indices), a line (positions, indices), a point.
    EXPECT_EQ(model.accessors.size(), 12u);
    // Red, green, blue (line and Fine share it) and black.
    EXPECT_EQ(model.materials.size(), 4u);
    EXPECT_EQ(counts.nodes, model.nodes.size());
    EXPECT_EQ(counts.meshes, model.meshes.size());
    EXPECT_EQ(counts.accessors, model.accessors.size());
    EXPECT_EQ(counts.primitives, 5u);
    ASSERT_EQ(model.scenes.size(), 1u);
    EXPECT_EQ(model.scenes[0].nodes, std::vector<int>{0});

    // Names, tree and placements.
    const tinygltf::Node& root = model.nodes[0];
    EXPECT_EQ(root.name, "Part");
    EXPECT_EQ(root.children.size(), 6u);
    ASSERT_EQ(root.matrix.size(), 16u);
    EXPECT_DOUBLE_EQ(root.matrix[0], 0.001);
    EXPECT_DOUBLE_EQ(root.matrix[5], 0.001);
    EXPECT_DOUBLE_EQ(root.matrix[10], 0.001);

    const tinygltf::Node& moved = node(model, "Moved");
    ASSERT_EQ(moved.matrix.size(), 16u);
    EXPECT_DOUBLE_EQ(moved.matrix[12], 20.0);
    ASSERT_EQ(moved.children.size(), 1u);
    EXPECT_EQ(model.nodes[moved.children[0]].name, "Green");

    const tinygltf::Node& levels = node(model, "Levels");
    ASSERT_EQ(levels.children.size(), 1u);
    EXPECT_EQ(model.nodes[levels.children[0]].name, "Fine");

    // The hidden geode has no mesh but keeps its record.
    const tinygltf::Node& hidden = node(model, "Hidden");
    EXPECT_EQ(hidden.mesh, -1);
    ASSERT_TRUE(hidden.extras.Has("visible"));
    EXPECT_FALSE(hidden.extras.Get("visible").Get<bool>());
    EXPECT_EQ(hidden.extras.Get("layer").Get<int>(), 12);
}

TEST_F(GltfExportTest, PrimitivesHaveTheirModesIndicesAndColors) {
    tam::GltfCounts counts;
    const tinygltf::Model model = roundTrip("scene.gltf", counts);
    const tinygltf::Primitive& square = model.meshes[node(model, "Red").mesh].primitives.at(0);
    EXPECT_EQ(square.mode, TINYGLTF_MODE_TRIANGLES);
    EXPECT_EQ(model.accessors[square.indices].count, 6u);  // one strip of 4 = 2 triangles
    const tinygltf::Accessor& positions = model.accessors[square.attributes.at("POSITION")];
    EXPECT_EQ(positions.count, 4u);
    EXPECT_EQ(positions.minValues, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(positions.maxValues, (std::vector<double>{10, 10, 0}));
    EXPECT_EQ(square.attributes.count("NORMAL"), 1u);
    EXPECT_EQ(model.materials[square.material].pbrMetallicRoughness.baseColorFactor,
              (std::vector<double>{1, 0, 0, 1}));

    const tinygltf::Primitive& line = model.meshes[node(model, "Line").mesh].primitives.at(0);
    EXPECT_EQ(line.mode, TINYGLTF_MODE_LINE);
    EXPECT_EQ(model.accessors[line.indices].count, 4u);  // two segments
    const tinygltf::Primitive& dot = model.meshes[node(model, "Dot").mesh].primitives.at(0);
    EXPECT_EQ(dot.mode, TINYGLTF_MODE_POINTS);
    EXPECT_EQ(dot.indices, -1);
}

TEST_F(GltfExportTest, NullSceneOrUnwritablePathFails) {
    tam::GltfCounts counts;
    std::string error;
    EXPECT_FALSE(tam::writeGltf(nullptr, (m_dir / "empty.glb").string(), counts, error));
    EXPECT_FALSE(error.empty());
    tamtest::SceneHolder scene(tamtest::buildScene());
    EXPECT_FALSE(
        tam::writeGltf(scene.get(), (m_dir / "no/such/folder.glb").string(), counts, error));
}

// An assembly of the fixture scene placed 100 times (clones sharing its drawables) and a
// second part placed once: one mesh per part, the placements referencing it.
TEST_F(GltfExportTest, PartsPlacedManyTimesShareOneMesh) {
    tamtest::SceneHolder part(tamtest::buildScene());
    auto* assembly = new sglGroup();
    tamtest::SceneHolder holder(assembly);
    const auto place = [assembly](const sglNode& node, float x) {
        auto* placed = new sglTransform<float>();
        placed->setMatrix(sglMat4<float>::translation(sglVec3<float>(x, 0, 0)));
        placed->addChild(node.clone(3));
        assembly->addChild(placed);
    };
    for (int i = 0; i < 100; ++i)
        place(*part.get(), 50.0f * i);
    auto* other = new sglGroup();
    other->addChild(tamtest::geode(L"Other", tamtest::square(0, 1, 1)));
    tamtest::SceneHolder otherHolder(other);
    place(*other, -50.0f);

    const std::string path = (m_dir / "assembly.glb").string();
    tam::GltfCounts counts;
    std::string error;
    ASSERT_TRUE(tam::writeGltf(assembly, path, tam::GltfOptions{true}, counts, error)) << error;
    EXPECT_EQ(counts.meshes, 2u);
    // Red, Green (moved inside the part), Line, Dot, Fine; Hidden and Coarse are left out.
    EXPECT_EQ(counts.primitives, 6u);
    // The top node, 101 placements and the part below each.
    EXPECT_EQ(counts.nodes, 1u + 2u * 101u);
    EXPECT_LT(fs::file_size(path), 40000u);
    tinygltf::TinyGLTF reader;
    tinygltf::Model model;
    std::string err, warn;
    ASSERT_TRUE(reader.LoadBinaryFromFile(&model, &err, &warn, path)) << err;
    const tinygltf::Mesh& mesh = model.meshes[model.nodes[model.nodes[1].children.at(0)].mesh];
    const tinygltf::Accessor& moved =
        model.accessors[mesh.primitives.at(1).attributes.at("POSITION")];
    EXPECT_EQ(moved.minValues, (std::vector<double>{20, 0, 0}));  // Green, 20 mm inside the part
}

}  // namespace
