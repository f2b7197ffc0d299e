// Faceting: the strips announced to a mesh manager reproduce the OCCT mesh triangle by triangle
// with its winding; refinements, caching, sharing and deletion of facets.
#include "orik_test_support.h"
#include "recording_mesh_manager.h"

#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>

#include <cmath>
#include <set>

using oriktest::CornerTriangle;
using oriktest::KernelTest;
using oriktest::RecordedFace;
using oriktest::RecordingMeshManager;
using oriktest::refinement;
using oriktest::translation;
using oriktest::Vec3;

namespace {

// The face's OCCT triangles in the face's reporting coordinates, face orientation applied.
std::multiset<CornerTriangle> occtTriangles(const ENTITY* face) {
    const TopoDS_Face shape = TopoDS::Face(orik_entity_shape(face));
    TopLoc_Location location;
    const Handle(Poly_Triangulation) mesh = BRep_Tool::Triangulation(shape, location);
    std::multiset<CornerTriangle> triangles;
    if (mesh.IsNull())
        return triangles;
    gp_Trsf placement = location.Transformation();
    if (!is_BODY(face->root()))
        placement = orik_entity_placement(face) * placement;
    for (int t = 1; t <= mesh->NbTriangles(); ++t) {
        int n[3];
        mesh->Triangle(t).Get(n[0], n[1], n[2]);
        if (shape.Orientation() == TopAbs_REVERSED)
            std::swap(n[1], n[2]);
        CornerTriangle corners;
        for (int i = 0; i < 3; ++i) {
            const gp_Pnt p = mesh->Node(n[i]).Transformed(placement);
            corners[size_t(i)] = oriktest::cornerOf(p.X(), p.Y(), p.Z());
        }
        triangles.insert(oriktest::normalized(corners));
    }
    return triangles;
}

// Each triangle turns counter-clockwise around the normals of its nodes (flat ones aside).
void expectWindingFollowsNormals(const RecordedFace& face) {
    for (const auto& t : face.stripTriangles()) {
        const Vec3 &a = face.positions[t[0]], &b = face.positions[t[1]], &c = face.positions[t[2]];
        const double u[3] = {b.x - a.x, b.y - a.y, b.z - a.z},
                     v[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
        double dot = 0.0;
        for (unsigned i : t) {
            const Vec3& n = face.normals[i];
            dot += (u[1] * v[2] - u[2] * v[1]) * n.x + (u[2] * v[0] - u[0] * v[2]) * n.y +
                   (u[0] * v[1] - u[1] * v[0]) * n.z;
        }
        EXPECT_TRUE(dot > 0 || std::fabs(dot) < 1e-12) << dot;
    }
}

// Facets the entity into a recording manager and checks every face against OCCT's mesh.
RecordingMeshManager facetAndCompare(ENTITY* entity) {
    RecordingMeshManager manager;
    EXPECT_TRUE(api_set_mesh_manager(&manager).ok());
    EXPECT_TRUE(api_facet_entity(entity).ok());
    api_set_mesh_manager(nullptr);
    ENTITY_LIST faces;
    api_get_faces(entity, faces);
    EXPECT_EQ(int(manager.faces.size()), faces.count());
    for (const RecordedFace& face : manager.faces) {
        EXPECT_TRUE(face.ended && face.saved);
        EXPECT_EQ(face.announcedNodes, int(face.positions.size()));
        EXPECT_EQ(face.announcedPolygons, int(face.polygons.size()));
        EXPECT_EQ(face.shares.front(), ORIK_SHARE_NONE);
        EXPECT_EQ(face.cornerTriangles(), occtTriangles(face.face));
        // The polygons carry the same triangles, in strip order, with their own winding.
        const auto strips = face.stripTriangles();
        EXPECT_EQ(strips.size(), face.polygons.size());
        if (strips.size() != face.polygons.size())
            continue;
        for (size_t p = 0; p < strips.size(); ++p) {
            EXPECT_EQ(int(strips[p][0]), face.polygons[p][0]);
            EXPECT_EQ(int(strips[p][2]), face.polygons[p][2]);
        }
        expectWindingFollowsNormals(face);
    }
    EXPECT_EQ(manager.endedEntities, std::vector<ENTITY*>{entity});
    return manager;
}

}  // namespace

TEST_F(KernelTest, PlanarCylindricalAndSplineFacesAreReproduced) {
    BODY* box = orik_make_body(oriktest::boxShape());
    for (const RecordedFace& face : facetAndCompare(box).faces)
        EXPECT_EQ(face.owner, box);
    // Faceting one face announces only that face.
    ENTITY_LIST boxFaces;
    api_get_faces(box, boxFaces);
    const RecordingMeshManager one = facetAndCompare(boxFaces[2]);
    ASSERT_EQ(one.faces.size(), 1u);
    EXPECT_EQ(one.faces[0].face, boxFaces[2]);
    EXPECT_EQ(one.faces[0].owner, box);
    BODY* cylinder = orik_make_body(oriktest::cylinderShape(5, 10));
    api_set_entity_refinement(cylinder, refinement(0.01, 10), TRUE);
    EXPECT_GT(facetAndCompare(cylinder).triangleCount(), 50);
    BODY* sphere = orik_make_body(BRepBuilderAPI_NurbsConvert(BRepPrimAPI_MakeSphere(4).Shape()));
    ENTITY_LIST faces;
    api_get_faces(sphere, faces);
    EXPECT_EQ(static_cast<FACE*>(faces[0])->geometry()->kind(), ORIK_SPLINE);
    api_set_entity_refinement(sphere, refinement(0.01, 15), TRUE);
    facetAndCompare(sphere);
}

TEST_F(KernelTest, InnerLocationsApplyAndBodyPlacementDoesNot) {
    BRep_Builder builder;
    TopoDS_Compound compound;
    builder.MakeCompound(compound);
    builder.Add(compound,
                oriktest::boxShape(1, 1, 1).Moved(TopLoc_Location(translation(50, 0, 0))));
    BODY* body = orik_make_body(compound, translation(0, 0, 1000));
    const RecordingMeshManager manager = facetAndCompare(body);
    for (const RecordedFace& face : manager.faces) {
        for (const Vec3& p : face.positions) {
            EXPECT_GE(p.x, 50.0 - 1e-9);
            EXPECT_LE(p.z, 1.0 + 1e-9);
        }
    }
    // A free face reports with its own location.
    FACE* face =
        orik_make_free_face(oriktest::squareSheet(2).Moved(TopLoc_Location(translation(0, 0, 7))));
    const RecordingMeshManager faceManager = facetAndCompare(face);
    for (const Vec3& p : faceManager.faces[0].positions)
        EXPECT_DOUBLE_EQ(p.z, 7.0);
}

TEST_F(KernelTest, WithoutStripsEveryTriangleStartsAPolygonOfItsOwn) {
    BODY* cylinder = orik_make_body(oriktest::cylinderShape());
    RecordingMeshManager manager(false);
    api_set_mesh_manager(&manager);
    ASSERT_TRUE(api_facet_entity(cylinder).ok());
    for (const RecordedFace& face : manager.faces) {
        for (int share : face.shares)
            EXPECT_EQ(share, ORIK_SHARE_NONE);
        EXPECT_EQ(face.stripLengths.size(), face.polygons.size());
        EXPECT_EQ(face.cornerTriangles(), occtTriangles(face.face));
    }
}

namespace {

// Counts the coordinate polygons of a manager that does not want indices.
class CoordinateCounter : public MESH_MANAGER {
public:
    int polygons = 0, polynodes = 0;
    void start_coordinate_polygon(int, int) override { ++polygons; }
    void announce_coordinate_polynode(int, int, const SPAposition&,
                                      const SPAunit_vector&) override {
        ++polynodes;
    }
};

}  // namespace

TEST_F(KernelTest, MeshManagersAreInstalledAndReplaced) {
    MESH_MANAGER* current = reinterpret_cast<MESH_MANAGER*>(1);
    ASSERT_TRUE(api_get_mesh_manager(current).ok());
    EXPECT_EQ(current, nullptr);
    // A manager that wants no indices gets the triangles by position.
    CoordinateCounter counter;
    api_set_mesh_manager(&counter);
    api_get_mesh_manager(current);
    EXPECT_EQ(current, &counter);
    ASSERT_TRUE(api_facet_entity(orik_make_body(oriktest::boxShape())).ok());
    EXPECT_EQ(counter.polygons, 12);
    EXPECT_EQ(counter.polynodes, 36);
    // Faceting without a manager (with or without expert options), or an entity without
    // faces, succeeds.
    api_set_mesh_manager(nullptr);
    facet_options_expert expert;
    OrikOptions options;
    EXPECT_TRUE(api_facet_entity(orik_make_body(oriktest::boxShape()), &expert, &options).ok());
    EXPECT_TRUE(
        api_facet_entity(orik_make_free_vertex(BRepBuilderAPI_MakeVertex(gp_Pnt()).Shape())).ok());
    EXPECT_EQ(api_facet_entity(nullptr).error_number(), ORIK_NULL_ENTITY);
}

TEST_F(KernelTest, RefinementReachesFacesAndEdges) {
    BODY* box = orik_make_body(oriktest::boxShape());
    REFINEMENT* r = refinement(0.5, 30);
    ASSERT_TRUE(api_set_entity_refinement(box, r, TRUE).ok());
    ENTITY_LIST faces, edges;
    api_get_faces(box, faces);
    api_get_edges(box, edges);
    REFINEMENT* found = nullptr;
    api_get_entity_refinement(faces[3], found);
    EXPECT_EQ(found, r);
    api_get_entity_refinement(edges[5], found);
    EXPECT_EQ(found, r);
    REFINEMENT foreign;
    EXPECT_EQ(api_set_entity_refinement(box, &foreign, FALSE).error_number(), ORIK_BAD_ARGUMENT);
}

TEST_F(KernelTest, SharedGeometryIsMeshedOnceAndKeptWhileHeld) {
    const TopoDS_Shape shape = oriktest::cylinderShape();
    BODY* first = orik_make_body(shape);
    BODY* second = orik_make_body(shape, translation(20, 0, 0));
    REFINEMENT* r = refinement(0.05, 20);
    api_set_entity_refinement(first, r, TRUE);
    api_set_entity_refinement(second, r, TRUE);
    const TopoDS_Face face = TopoDS::Face(TopExp_Explorer(shape, TopAbs_FACE).Current());
    TopLoc_Location location;
    facetAndCompare(first);
    const Handle(Poly_Triangulation) meshed = BRep_Tool::Triangulation(face, location);
    ASSERT_FALSE(meshed.IsNull());
    facetAndCompare(second);
    EXPECT_EQ(BRep_Tool::Triangulation(face, location), meshed);  // not meshed again
    api_delete_entity_facets(first, TRUE);
    EXPECT_EQ(BRep_Tool::Triangulation(face, location), meshed);  // still held by second
    api_delete_entity_facets(second, TRUE);
    EXPECT_TRUE(BRep_Tool::Triangulation(face, location).IsNull());
}

TEST_F(KernelTest, FaceOverTheTimeLimitFailsAndTheOthersStillFacet) {
    // At this tolerance the cylinder's side has a dense boundary: it is meshed apart, and the
    // tiny limit gives it up.
    BODY* costly = orik_make_body(oriktest::cylinderShape(10, 10));
    BODY* before = orik_make_body(oriktest::boxShape());
    BODY* after = orik_make_body(oriktest::boxShape(), translation(50, 0, 0));
    api_set_entity_refinement(costly, refinement(1e-4, 5), TRUE);
    facetAndCompare(before);
    RecordingMeshManager manager;
    ASSERT_TRUE(api_set_mesh_manager(&manager).ok());
    facet_options rushed;
    rushed.set_time_limit(1e-9);
    const outcome result = api_facet_entity(costly, &rushed);
    api_set_mesh_manager(nullptr);
    EXPECT_EQ(result.error_number(), ORIK_MESH_FAILED);
    EXPECT_LT(manager.faces.size(), 3u);
    facetAndCompare(after);
    // Once its facets are deleted, the default limit lets the side through.
    ASSERT_TRUE(api_delete_entity_facets(costly, TRUE).ok());
    EXPECT_EQ(facetAndCompare(costly).faces.size(), 3u);
}
