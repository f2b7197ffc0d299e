// Binary kernel files saved with facets: the meshes come back with their tolerances, faceting
// at those tolerances uses them as they are, other tolerances mesh afresh, and damaged files
// are refused.
#include "files_test_support.h"
#include "recording_mesh_manager.h"

#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>

#include <sstream>
#include <vector>

using oriktest::RecordingMeshManager;
using oriktest::refinement;
using Strips = std::vector<std::vector<unsigned>>;

namespace {

class KernelFilesFacetsTest : public oriktest::KernelTest {
protected:
    // Facets the body at the refinement; the strips of each face as announced (indices, then
    // lengths).
    static Strips facet(ENTITY* body, REFINEMENT* tolerances) {
        EXPECT_TRUE(api_set_entity_refinement(body, tolerances, TRUE).ok());
        RecordingMeshManager manager;
        api_set_mesh_manager(&manager);
        EXPECT_TRUE(api_facet_entity(body).ok());
        api_set_mesh_manager(nullptr);
        Strips strips;
        for (const oriktest::RecordedFace& face : manager.faces) {
            strips.push_back(face.stripIndices);
            strips.push_back(face.stripLengths);
        }
        return strips;
    }

    // The triangulation objects the body's faces hold now.
    static std::vector<const Poly_Triangulation*> triangulations(ENTITY* body) {
        ENTITY_LIST faces;
        api_get_faces(body, faces);
        std::vector<const Poly_Triangulation*> held;
        for (int i = 0; i < faces.count(); ++i) {
            TopLoc_Location location;
            held.push_back(
                BRep_Tool::Triangulation(TopoDS::Face(orik_entity_shape(faces[i])), location)
                    .get());
        }
        return held;
    }

    static std::string savedWithFacets(ENTITY* body) {
        ENTITY_LIST list;
        list.add(body);
        std::stringstream bytes(std::ios::in | std::ios::out | std::ios::binary);
        EXPECT_EQ(api_save_entity_list_with_facets(list, bytes).error_number(), ORIK_OK);
        return bytes.str();
    }

    static BODY* restored(const std::string& bytes) {
        ENTITY_LIST list;
        EXPECT_EQ(
            api_restore_entity_list_from_bytes(bytes.data(), bytes.size(), list).error_number(),
            ORIK_OK);
        EXPECT_EQ(list.count(), 1);
        return list.count() == 1 ? static_cast<BODY*>(list[0]) : nullptr;
    }

    // A faceted cylinder saved with its facets, and the strips it had per face.
    std::string facetedCylinder(Strips& triangles) {
        BODY* body = orik_make_body(oriktest::cylinderShape(5, 10),
                                    filestest::placement(0.4, 1.0, gp_Vec(1, 2, 3)));
        triangles = facet(body, fine_);
        const std::string bytes = savedWithFacets(body);
        api_delent(body);
        return bytes;
    }

    void SetUp() override {
        KernelTest::SetUp();
        fine_ = refinement(0.01, 10);
        coarse_ = refinement(0.5, 40);
    }

    REFINEMENT* fine_ = nullptr;
    REFINEMENT* coarse_ = nullptr;
};

}  // namespace

TEST_F(KernelFilesFacetsTest, SavedTolerancesUseTheSavedMeshesOthersMeshAfresh) {
    Strips original;
    BODY* body = restored(facetedCylinder(original));
    ASSERT_NE(body, nullptr);
    const std::vector<const Poly_Triangulation*> before = triangulations(body);
    for (const Poly_Triangulation* held : before)
        EXPECT_NE(held, nullptr);

    // The same strips: the stored triangles are those meshing made, before strip building
    // flipped quads in them.
    EXPECT_EQ(facet(body, fine_), original);
    EXPECT_EQ(triangulations(body), before);

    BODY* fresh = orik_make_body(oriktest::cylinderShape(5, 10));
    const Strips coarse = facet(body, coarse_);
    EXPECT_EQ(coarse, facet(fresh, coarse_));
    EXPECT_NE(coarse, original);
    EXPECT_NE(triangulations(body), before);
}

TEST_F(KernelFilesFacetsTest, UnfacetedEntitiesAreSavedAsWithoutFacets) {
    BODY* body = orik_make_body(oriktest::boxShape());
    ENTITY_LIST list;
    list.add(body);
    EXPECT_EQ(savedWithFacets(body), filestest::saved(list, true));
}

TEST_F(KernelFilesFacetsTest, DamagedFilesWithFacetsAreRefused) {
    Strips original;
    const std::string bytes = facetedCylinder(original);
    const size_t step = bytes.size() / 97 + 1;
    const auto expectRefused = [](const std::string& damaged, const std::string& what) {
        ENTITY_LIST list;
        EXPECT_NE(
            api_restore_entity_list_from_bytes(damaged.data(), damaged.size(), list).error_number(),
            ORIK_OK)
            << what;
        EXPECT_EQ(list.count(), 0);
    };
    for (size_t length = 0; length < bytes.size(); length += step)
        expectRefused(bytes.substr(0, length), "truncated to " + std::to_string(length));
    for (size_t at = 0; at < bytes.size(); at += step) {
        std::string changed = bytes;
        changed[at] = char(changed[at] ^ 0x5a);
        expectRefused(changed, "byte " + std::to_string(at) + " changed");
    }
}
