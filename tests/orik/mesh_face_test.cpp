// Mesh-only faces (stored triangles, no surface): their surface kind, faceting at any tolerance,
// deletion of facets, areas, mass properties, boxes and copies.
#include "mesh_only_shapes.h"
#include "orik_test_support.h"
#include "recording_mesh_manager.h"

#include <BRep_Tool.hxx>
#include <TopoDS_Compound.hxx>

#include <set>

using oriktest::CornerTriangle;
using oriktest::KernelTest;
using oriktest::RecordedFace;
using oriktest::RecordingMeshManager;
using oriktest::refinement;
using oriktest::translation;
using oriktest::Vec3;
using tamtest::meshCubeFaces;
using tamtest::meshQuad;
using tamtest::meshSolid;

namespace {

// Every announced triangle of the face turns counter-clockwise around outside (and so do the
// node normals).
void expectFacingOutside(const RecordedFace& face, const Vec3& outside) {
    for (const auto& t : face.stripTriangles()) {
        const Vec3 &a = face.positions[t[0]], &b = face.positions[t[1]], &c = face.positions[t[2]];
        const double nx = (b.y - a.y) * (c.z - a.z) - (b.z - a.z) * (c.y - a.y);
        const double ny = (b.z - a.z) * (c.x - a.x) - (b.x - a.x) * (c.z - a.z);
        const double nz = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        EXPECT_GT(nx * outside.x + ny * outside.y + nz * outside.z, 0.0);
        for (unsigned node : t) {
            const Vec3& n = face.normals[node];
            EXPECT_NEAR(n.x * outside.x + n.y * outside.y + n.z * outside.z, 1.0, 1e-9);
        }
    }
}

// Facets the entity into a recording manager; the faces' triangles as announced, in order.
std::vector<std::multiset<CornerTriangle>> facetTriangles(ENTITY* entity) {
    RecordingMeshManager manager;
    EXPECT_TRUE(api_set_mesh_manager(&manager).ok());
    EXPECT_TRUE(api_facet_entity(entity).ok());
    api_set_mesh_manager(nullptr);
    std::vector<std::multiset<CornerTriangle>> faces;
    for (const RecordedFace& face : manager.faces)
        faces.push_back(face.cornerTriangles());
    return faces;
}

FACE* faceOf(ENTITY* entity, int index) {
    ENTITY_LIST faces;
    api_get_faces(entity, faces);
    return static_cast<FACE*>(faces[index]);
}

int storedTriangles(const ENTITY* face) {
    TopLoc_Location location;
    const Handle(Poly_Triangulation) mesh =
        BRep_Tool::Triangulation(TopoDS::Face(orik_entity_shape(face)), location);
    return mesh.IsNull() ? 0 : mesh->NbTriangles();
}

// A face with neither a surface nor triangles.
TopoDS_Face bareFace() {
    TopoDS_Face face;
    BRep_Builder().MakeFace(face);
    return face;
}

}  // namespace

TEST_F(KernelTest, MeshOnlyFacesHaveAMeshSurfaceAndBareFacesNone) {
    BODY* cube = orik_make_body(meshSolid(meshCubeFaces(2.0)));
    ENTITY_LIST faces;
    api_get_faces(cube, faces);
    ASSERT_EQ(faces.count(), 6);
    for (int i = 0; i < faces.count(); ++i) {
        const SURFACE* surface = static_cast<FACE*>(faces[i])->geometry();
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surface->kind(), ORIK_MESH);
    }
    EXPECT_EQ(orik_make_free_face(bareFace())->geometry(), nullptr);
    EXPECT_EQ(faceOf(orik_make_body(oriktest::boxShape()), 0)->geometry()->kind(), ORIK_PLANE);
}

TEST_F(KernelTest, MeshOnlyFacesAreFacetedIntoTheirOwnTrianglesFacingOut) {
    BODY* cube = orik_make_body(meshSolid(meshCubeFaces(2.0, true)), translation(100, 0, 0));
    RecordingMeshManager manager;
    ASSERT_TRUE(api_set_mesh_manager(&manager).ok());
    ASSERT_TRUE(api_facet_entity(cube).ok());
    api_set_mesh_manager(nullptr);
    ASSERT_EQ(manager.faces.size(), 6u);
    const Vec3 outsides[6] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}};
    for (size_t i = 0; i < 6; ++i) {
        const RecordedFace& face = manager.faces[i];
        EXPECT_EQ(face.face, faceOf(cube, int(i)));
        EXPECT_EQ(face.owner, cube);
        EXPECT_EQ(face.stripTriangles().size(), 2u);
        EXPECT_EQ(face.positions.size(), 4u);  // the stored nodes, in the body's coordinates
        for (const Vec3& p : face.positions)
            EXPECT_TRUE(p.x >= 0.0 && p.x <= 2.0);
        expectFacingOutside(face, outsides[i]);
    }
}

TEST_F(KernelTest, MeshOnlyFacesGiveTheSameTrianglesAtEveryToleranceLengthLimitAndAfterDeletion) {
    BODY* cube = orik_make_body(meshSolid(meshCubeFaces(2.0)));
    REFINEMENT* r = refinement(0.001, 5);
    api_set_entity_refinement(cube, r, TRUE);
    const auto fine = facetTriangles(cube);
    ASSERT_EQ(fine.size(), 6u);
    ASSERT_TRUE(api_delete_entity_facets(cube, TRUE).ok());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(storedTriangles(faceOf(cube, i)), 2);  // the only geometry stays
    for (double surfaceTol : {0.5, 10.0}) {
        r->set_surface_tol(surfaceTol);
        r->set_normal_tol(60);
        EXPECT_EQ(facetTriangles(cube), fine);
    }
    // An edge length limit leaves them as they are too.
    api_delete_entity_facets(cube, TRUE);
    api_set_entity_refinement(cube, refinement(0.1, 30, 0.5), TRUE);
    EXPECT_EQ(facetTriangles(cube), fine);
    // One face at its own tolerances, the others at the body's.
    api_set_entity_refinement(faceOf(cube, 2), refinement(0.01, 10), FALSE);
    EXPECT_EQ(facetTriangles(cube), fine);
    EXPECT_EQ(facetTriangles(faceOf(cube, 2)).front(), fine[2]);
}

TEST_F(KernelTest, AreaOfMeshOnlyFacesIsTheAreaOfTheirTriangles) {
    BODY* cube = orik_make_body(meshSolid(meshCubeFaces(2.0, true)), translation(5, 5, 5));
    double area = 0.0, achieved = -1.0;
    ASSERT_TRUE(api_ent_area(cube, 1e-3, area, achieved).ok());
    EXPECT_NEAR(area, 24.0, 1e-9);
    EXPECT_GE(achieved, 0.0);
    ASSERT_TRUE(api_ent_area(faceOf(cube, 0), 1e-3, area, achieved).ok());
    EXPECT_NEAR(area, 4.0, 1e-9);
    gp_Trsf placement = translation(1, 2, 3);
    FACE* free = orik_make_free_face(
        meshQuad(gp_Pnt(), gp_Vec(3, 0, 0), gp_Vec(0, 5, 0)).Moved(TopLoc_Location(placement)));
    ASSERT_TRUE(api_ent_area(free, 1e-3, area, achieved).ok());
    EXPECT_NEAR(area, 15.0, 1e-9);
    // Surfaces and meshes together.
    TopoDS_Compound both;
    BRep_Builder builder;
    builder.MakeCompound(both);
    builder.Add(both, oriktest::squareSheet(10));
    builder.Add(both, meshQuad(gp_Pnt(0, 0, 50), gp_Vec(3, 0, 0), gp_Vec(0, 5, 0)));
    ASSERT_TRUE(api_ent_area(orik_make_body(both), 1e-3, area, achieved).ok());
    EXPECT_NEAR(area, 115.0, 1e-6);
    EXPECT_TRUE(api_ent_area(orik_make_free_face(bareFace()), 1e-3, area, achieved).ok());
    EXPECT_DOUBLE_EQ(area, 0.0);
}

TEST_F(KernelTest, OnlyClosedMeshShellsHaveAVolumeWithoutTheOneSidedSheetOption) {
    std::vector<TopoDS_Face> faces = meshCubeFaces(2.0);
    faces.pop_back();
    BODY* open = orik_make_body(meshSolid(faces));
    EXPECT_FALSE(is_closed_solid_body(open));
    mass_props props;
    EXPECT_EQ(api_body_mass_props(open, props).error_number(), ORIK_ONE_SIDED_SHEETS);
    mass_props_options options;
    options.set_one_sided_sheet_opt(2);
    ASSERT_TRUE(api_body_mass_props(open, props, &options).ok());
    EXPECT_DOUBLE_EQ(props.get_volume(), 0.0);
    EXPECT_NEAR(props.get_centroid().y(), 1.0, 1e-9);  // centroid of the five faces' area
    EXPECT_NEAR(props.get_centroid().x(), 0.8, 1e-9);
    options.set_one_sided_sheet_opt(1);
    EXPECT_TRUE(api_body_mass_props(open, props, &options).ok());
    // A face turned the wrong way leaves the shell closed by nodes but not by winding.
    faces = meshCubeFaces(2.0);
    faces[3].Reverse();
    EXPECT_EQ(api_body_mass_props(orik_make_body(meshSolid(faces)), props).error_number(),
              ORIK_ONE_SIDED_SHEETS);
    EXPECT_EQ(api_body_mass_props(orik_make_body(bareFace()), props).error_number(),
              ORIK_ONE_SIDED_SHEETS);
    // The shell closes over nodes at negative zero (the loader's mesh-face tests read it).
    faces = meshCubeFaces(2.0);
    faces[0] = meshQuad(gp_Pnt(-0.0, -0.0, -0.0), gp_Vec(0, 2, 0), gp_Vec(2, 0, 0));
    ASSERT_TRUE(api_body_mass_props(orik_make_body(meshSolid(faces)), props).ok());
    EXPECT_NEAR(props.get_volume(), 8.0, 1e-9);
}

TEST_F(KernelTest, MeshOnlyBodiesAndFacesAreBounded) {
    BODY* cube = orik_make_body(meshSolid(meshCubeFaces(2.0)), translation(10, 0, 0));
    SPAposition low, high;
    ASSERT_TRUE(api_get_entity_box(cube, nullptr, low, high).ok());
    EXPECT_NEAR(low.x(), 10.0, 1e-6);
    EXPECT_NEAR(high.x(), 12.0, 1e-6);
    EXPECT_NEAR(high.z(), 2.0, 1e-6);
    const SPAbox* bound = faceOf(cube, 1)->bound();  // z = 2, body coordinates
    ASSERT_NE(bound, nullptr);
    EXPECT_NEAR(bound->low().z(), 2.0, 1e-6);
    EXPECT_NEAR(bound->high().x(), 2.0, 1e-6);
    EXPECT_EQ(orik_make_free_face(bareFace())->bound(), nullptr);
    EXPECT_EQ(
        api_get_entity_box(orik_make_free_face(bareFace()), nullptr, low, high).error_number(),
        ORIK_NO_ENTITIES);
}

TEST_F(KernelTest, MeshOnlyFacesCopyAndBareFacesFacetToNothing) {
    BODY* cube = orik_make_body(meshSolid(meshCubeFaces(2.0)));
    ENTITY* copy = nullptr;
    ASSERT_TRUE(api_down_copy_entity(faceOf(cube, 4), copy).ok());
    ASSERT_TRUE(is_FACE(copy));
    EXPECT_EQ(static_cast<FACE*>(copy)->geometry()->kind(), ORIK_MESH);
    EXPECT_EQ(facetTriangles(copy),
              std::vector<std::multiset<CornerTriangle>>{facetTriangles(faceOf(cube, 4)).front()});
    EXPECT_TRUE(api_delent(copy).ok());
    FACE* bare = orik_make_free_face(bareFace());
    EXPECT_TRUE(facetTriangles(bare).empty());
    EXPECT_TRUE(api_delete_entity_facets(bare, TRUE).ok());
}
