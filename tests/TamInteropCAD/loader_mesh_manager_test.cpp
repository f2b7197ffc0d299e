// TAM_MESH_MANAGER packing of strip announcements.
#include <gtest/gtest.h>
#include <tamsg/sglVec3.h>

#include <TamInteropCAD/mesh_manager.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

void* Handle(int node) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(node));
}

// Announces nodes 0..count-1 at (i, 2i, 3i) with normal +z.
void AnnounceNodes(TAM_MESH_MANAGER& manager, int count) {
    for (int i = 0; i < count; ++i) {
        manager.announce_indexed_node(i, SPApar_pos(), SPAposition(i, 2.0 * i, 3.0 * i),
                                      SPAunit_vector(0, 0, 1));
    }
}

void AnnounceTriangle(TAM_MESH_MANAGER& manager, int polygon, int share, int a, int b, int c) {
    manager.start_shareable_indexed_polygon(polygon, 3, share);
    manager.end_indexed_polygon(polygon);
    manager.announce_indexed_polynode(polygon, 0, Handle(a));
    manager.announce_indexed_polynode(polygon, 1, Handle(b));
    manager.announce_indexed_polynode(polygon, 2, Handle(c));
}

// Takes the manager's blocks over as a strip set would, so that they are freed.
struct Blocks {
    explicit Blocks(const TAM_MESH_MANAGER& manager)
        : positions(new sglFreeableDataPtr(manager.GetPositions())),
          normals(new sglFreeableDataPtr(manager.GetNormals())),
          indices(new sglFreeableDataPtr(manager.GetIndices())),
          lengths(new sglFreeableDataPtr(manager.GetStripLengths())) {}
    std::unique_ptr<sglFreeableDataPtr> positions, normals, indices, lengths;
};

std::vector<unsigned int> Array(const unsigned int* values, unsigned int count) {
    return std::vector<unsigned int>(values, values + count);
}

}  // namespace

TEST(TamMeshManager, OneStripOfFourTrianglesGivesOneLengthOfSix) {
    std::unique_ptr<TAM_MESH_MANAGER> manager(new TAM_MESH_MANAGER);
    manager->begin_mesh_output(nullptr, nullptr);
    manager->announce_counts(4, 6, 12);
    AnnounceNodes(*manager, 6);
    AnnounceTriangle(*manager, 0, ORIK_SHARE_NONE, 0, 1, 2);
    AnnounceTriangle(*manager, 1, ORIK_SHARE_PREVIOUS, 2, 1, 3);
    AnnounceTriangle(*manager, 2, ORIK_SHARE_PREVIOUS, 2, 3, 4);
    AnnounceTriangle(*manager, 3, ORIK_SHARE_PREVIOUS, 4, 3, 5);
    manager->end_mesh_output(nullptr, nullptr);
    Blocks blocks(*manager);

    ASSERT_EQ(manager->GetStripCount(), 1u);
    EXPECT_EQ(Array(manager->GetStripLengths(), 1), (std::vector<unsigned int>{6}));
    EXPECT_EQ(Array(manager->GetIndices(), manager->GetIndexCount()),
              (std::vector<unsigned int>{0, 1, 2, 3, 4, 5}));
    ASSERT_EQ(manager->GetNodeCount(), 6u);
    EXPECT_FLOAT_EQ(manager->GetPositions()[3 * 5 + 1], 10.0f);
    EXPECT_FLOAT_EQ(manager->GetNormals()[3 * 5 + 2], 1.0f);
}

TEST(TamMeshManager, SeparateTrianglesAndLaterCountAnnouncementsEachStartAStrip) {
    std::unique_ptr<TAM_MESH_MANAGER> manager(new TAM_MESH_MANAGER);
    manager->announce_counts(2, 6, 6);
    AnnounceNodes(*manager, 6);
    AnnounceTriangle(*manager, 0, ORIK_SHARE_NONE, 0, 1, 2);
    AnnounceTriangle(*manager, 1, ORIK_SHARE_NONE, 3, 4, 5);
    manager->end_mesh_output(nullptr, nullptr);
    // A later face's indices are offset by the nodes announced before it.
    manager->begin_mesh_output(nullptr, nullptr);
    manager->announce_counts(1, 3, 3);
    AnnounceNodes(*manager, 3);
    AnnounceTriangle(*manager, 0, ORIK_SHARE_NONE, 0, 1, 2);
    manager->end_mesh_output(nullptr, nullptr);
    Blocks blocks(*manager);

    EXPECT_EQ(Array(manager->GetStripLengths(), manager->GetStripCount()),
              (std::vector<unsigned int>{3, 3, 3}));
    EXPECT_EQ(Array(manager->GetIndices(), manager->GetIndexCount()),
              (std::vector<unsigned int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(TamMeshManager, AsksForIndexedStripsAndDropsWhatBreaksTheCountsOrLeavesThemEmpty) {
    std::unique_ptr<TAM_MESH_MANAGER> manager(new TAM_MESH_MANAGER);
    EXPECT_TRUE(manager->need_indexed_polygons());
    EXPECT_TRUE(manager->need_strip_polygons());
    manager->end_mesh_output(nullptr, nullptr);
    manager->end_entity_output(nullptr);
    EXPECT_EQ(manager->GetStripCount(), 0u);
    EXPECT_EQ(manager->GetPositions(), nullptr);
    EXPECT_TRUE(manager->GetClipBox().isEmpty());

    manager->announce_counts(1, 2, 3);
    AnnounceNodes(*manager, 3);                               // one node more than announced
    AnnounceTriangle(*manager, 0, ORIK_SHARE_NONE, 0, 1, 7);  // a node never announced
    manager->end_mesh_output(nullptr, nullptr);
    Blocks blocks(*manager);

    EXPECT_EQ(manager->GetNodeCount(), 2u);
    EXPECT_EQ(Array(manager->GetIndices(), manager->GetIndexCount()),
              (std::vector<unsigned int>{0, 1}));
}
