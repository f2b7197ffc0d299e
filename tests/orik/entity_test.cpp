// Entities over OCCT shapes: topology, identity, placement, lists, copies, deletion,
// collections and coordinate systems.
#include "orik_test_support.h"

#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <cmath>

using oriktest::KernelTest;
using oriktest::translation;

namespace {

int countOf(outcome (*query)(ENTITY*, ENTITY_LIST&, int, OrikOptions*), ENTITY* entity) {
    ENTITY_LIST list;
    EXPECT_TRUE(query(entity, list, 0, nullptr).ok());
    return list.count();
}

}  // namespace

// Queries return the same entities in the same order each time.
TEST_F(KernelTest, BoxBodyHasItsTopology) {
    BODY* body = orik_make_body(oriktest::boxShape());
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(is_BODY(body));
    EXPECT_EQ(countOf(api_get_faces, body), 6);
    EXPECT_EQ(countOf(api_get_edges, body), 12);
    EXPECT_EQ(countOf(api_get_wires, body), 6);
    EXPECT_EQ(countOf(api_get_vertices, body), 8);
    EXPECT_TRUE(is_closed_solid_body(body));
    ENTITY_LIST first, second;
    api_get_faces(body, first);
    api_get_faces(body, second);
    ASSERT_EQ(first.count(), second.count());
    for (int i = 0; i < first.count(); ++i) {
        EXPECT_EQ(first[i], second[i]);
        EXPECT_TRUE(is_FACE(first[i]));
        EXPECT_EQ(first[i]->owner(), body);
        EXPECT_NE(static_cast<FACE*>(first[i])->geometry(), nullptr);
    }
}

TEST_F(KernelTest, SubEntityQueriesUseTheBodysOwnEntities) {
    BODY* body = orik_make_body(oriktest::boxShape());
    ENTITY_LIST faces, bodyEdges, faceEdges, faceFaces;
    api_get_faces(body, faces);
    api_get_edges(body, bodyEdges);
    api_get_edges(faces[0], faceEdges);
    api_get_faces(faces[0], faceFaces);
    EXPECT_EQ(faceEdges.count(), 4);
    for (int i = 0; i < faceEdges.count(); ++i)
        EXPECT_GE(bodyEdges.lookup(faceEdges[i]), 0);
    ASSERT_EQ(faceFaces.count(), 1);
    EXPECT_EQ(faceFaces[0], faces[0]);
    auto* edge = static_cast<EDGE*>(bodyEdges[0]);
    ENTITY_LIST vertices;
    api_get_vertices(body, vertices);
    EXPECT_GE(vertices.lookup(edge->start()), 0);
    EXPECT_GE(vertices.lookup(edge->end()), 0);
    EXPECT_TRUE(edge->has_curve());
    // A second body over the same shape has faces of its own.
    BODY* second = orik_make_body(orik_entity_shape(body), translation(100, 0, 0));
    ENTITY_LIST secondFaces;
    api_get_faces(second, secondFaces);
    EXPECT_NE(secondFaces[0], faces[0]);
    EXPECT_EQ(secondFaces[0]->owner(), second);
    EXPECT_TRUE(orik_entity_shape(second).IsSame(orik_entity_shape(body)));
}

TEST_F(KernelTest, BodyTransformComesFromPlacementLocationScaleAndRotation) {
    const TopoDS_Shape located = oriktest::boxShape().Moved(TopLoc_Location(translation(0, 5, 0)));
    BODY* body = orik_make_body(located, translation(1, 2, 3));
    ASSERT_NE(body->transform(), nullptr);
    EXPECT_DOUBLE_EQ(body->transform()->translation().y(), 7.0);
    EXPECT_DOUBLE_EQ(body->transform()->scaling(), 1.0);
    EXPECT_TRUE(orik_entity_shape(body).Location().IsIdentity());
    EXPECT_EQ(orik_make_body(oriktest::boxShape())->transform(), nullptr);
    // Vertices stay in the body's own coordinates.
    ENTITY_LIST vertices;
    api_get_vertices(body, vertices);
    for (int i = 0; i < vertices.count(); ++i) {
        const SPAposition p = static_cast<VERTEX*>(vertices[i])->position();
        EXPECT_GE(p.x(), -1e-9);
        EXPECT_GE(p.y(), -1e-9);
    }
    // Scaled and rotated placements reach the kernel form.
    gp_Trsf rotation;
    rotation.SetRotation(gp_Ax1(gp_Pnt(), gp_Dir(0, 0, 1)), M_PI / 2);
    gp_Trsf scale;
    scale.SetScale(gp_Pnt(), 2.0);
    BODY* turned = orik_make_body(oriktest::boxShape(), scale * rotation);
    const KVXtransf* transf = turned->transform();
    ASSERT_NE(transf, nullptr);
    EXPECT_DOUBLE_EQ(transf->scaling(), 2.0);
    // The x axis turns into the y axis: row 0 of the row-vector matrix is (0, 1, 0).
    EXPECT_NEAR(transf->affine().element(0, 1), 1.0, 1e-12);
    const SPAposition image = transf->transform(SPAposition(1, 0, 0));
    EXPECT_NEAR(image.y(), 2.0, 1e-12);
    EXPECT_FALSE(transf->identity());
}

TEST_F(KernelTest, FindSubEntityAcceptsShapesWithOrWithoutTheSourceLocation) {
    const TopoDS_Shape located = oriktest::boxShape().Moved(TopLoc_Location(translation(0, 5, 0)));
    BODY* body = orik_make_body(located);
    TopExp_Explorer fromSource(located, TopAbs_FACE);
    TopExp_Explorer fromBody(orik_entity_shape(body), TopAbs_FACE);
    ENTITY* viaSource = orik_find_sub_entity(body, fromSource.Current());
    ENTITY* viaBody = orik_find_sub_entity(body, fromBody.Current());
    ASSERT_NE(viaBody, nullptr);
    EXPECT_EQ(viaSource, viaBody);
    EXPECT_EQ(orik_find_sub_entity(body, oriktest::boxShape()), nullptr);
}

TEST_F(KernelTest, FreeEntitiesReportInModelCoordinates) {
    const TopoDS_Shape edgeShape = BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(10, 0, 0))
                                       .Shape()
                                       .Moved(TopLoc_Location(translation(0, 0, 5)));
    EDGE* edge = orik_make_free_edge(edgeShape);
    ASSERT_NE(edge, nullptr);
    EXPECT_DOUBLE_EQ(edge->start_pos().z(), 5.0);
    EXPECT_DOUBLE_EQ(edge->end_pos().x(), 10.0);
    ASSERT_NE(edge->start(), nullptr);
    EXPECT_DOUBLE_EQ(edge->start()->position().z(), 5.0);
    EXPECT_EQ(orik_make_free_edge(oriktest::boxShape()), nullptr);
    EXPECT_EQ(orik_make_free_vertex(TopoDS_Shape()), nullptr);
    // A free wire lists its edges in order.
    BRepBuilderAPI_MakePolygon polygon(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0), gp_Pnt(1, 1, 0));
    WIRE* wire = orik_make_free_wire(polygon.Wire());
    ASSERT_NE(wire, nullptr);
    EXPECT_EQ(wire->edge_count(), 2);
    ASSERT_NE(wire->first_edge(), nullptr);
    EXPECT_DOUBLE_EQ(wire->first_edge()->start_pos().x(), 0.0);
    EXPECT_EQ(wire->edge(2), nullptr);
    EXPECT_EQ(wire->first_edge()->owner(), wire);
}

TEST_F(KernelTest, FaceReportsSurfaceKindAndBound) {
    BODY* body = orik_make_body(oriktest::cylinderShape(5, 10));
    ENTITY_LIST faces;
    api_get_faces(body, faces);
    int cylinders = 0, planes = 0;
    for (int i = 0; i < faces.count(); ++i) {
        auto* face = static_cast<FACE*>(faces[i]);
        const OrikSurfaceKind kind = face->geometry()->kind();
        cylinders += kind == ORIK_CYLINDER;
        planes += kind == ORIK_PLANE;
        const SPAbox* bound = face->bound();
        ASSERT_NE(bound, nullptr);
        EXPECT_LE(bound->high().z(), 10.0 + 1e-3);
        EXPECT_GE(bound->low().x(), -5.0 - 1e-3);
    }
    EXPECT_EQ(cylinders, 1);
    EXPECT_EQ(planes, 2);
}

TEST(EntityList, KeepsOrderWithoutDuplicates) {
    ASSERT_TRUE(api_start_modeller(0).ok());
    BODY* a = orik_make_body(oriktest::boxShape());
    BODY* b = orik_make_body(oriktest::boxShape());
    auto* list = new ENTITY_LIST;
    EXPECT_EQ(list->add(a), 0);
    EXPECT_EQ(list->add(b), 1);
    EXPECT_EQ(list->add(a), 0);
    EXPECT_EQ(list->add(nullptr), -1);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ((*list)[2], nullptr);
    list->init();
    EXPECT_EQ(list->next(), a);
    // Removing the entity just visited keeps the iteration on the following one.
    EXPECT_EQ(list->remove(a), 0);
    EXPECT_EQ(list->next(), b);
    EXPECT_EQ(list->next(), nullptr);
    list->init();
    EXPECT_EQ(list->next(), b);
    ENTITY_LIST copy(*list);
    EXPECT_EQ(copy.lookup(b), 0);
    EXPECT_EQ(copy.lookup(a), -1);
    list->add(a);
    copy = *list;
    EXPECT_EQ(copy.count(), 2);
    EXPECT_TRUE(api_del_entity_list(*list).ok());
    EXPECT_EQ(list->count(), 0);
    delete list;
    EXPECT_TRUE(api_stop_modeller().ok());
}

TEST_F(KernelTest, CopiesAreTopLevelAndIndependentAndOnlyTopLevelEntitiesAreDeleted) {
    BODY* body = orik_make_body(oriktest::boxShape(), translation(0, 0, 1));
    ENTITY_LIST faces;
    api_get_faces(body, faces);
    api_rh_set_entity_rgb(faces[0], rgb_color(1, 0, 0));
    ENTITY* faceCopy = nullptr;
    ASSERT_TRUE(api_down_copy_entity(faces[0], faceCopy).ok());
    ASSERT_TRUE(is_FACE(faceCopy));
    EXPECT_EQ(faceCopy->owner(), nullptr);
    rgb_color color;
    logical found = FALSE;
    api_rh_get_entity_rgb(faceCopy, color, FALSE, found);
    EXPECT_TRUE(found);
    EXPECT_TRUE(api_delent(faceCopy).ok());

    ENTITY* bodyCopy = nullptr;
    ASSERT_TRUE(api_down_copy_entity(body, bodyCopy).ok());
    ASSERT_NE(static_cast<BODY*>(bodyCopy)->transform(), nullptr);
    ENTITY_LIST copyFaces;
    api_get_faces(bodyCopy, copyFaces);
    api_rh_get_entity_rgb(copyFaces[0], color, FALSE, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(color, rgb_color(1, 0, 0));
    EXPECT_TRUE(api_delent(bodyCopy).ok());
    // Only top-level entities can be deleted.
    EXPECT_EQ(api_delent(faces[0]).error_number(), ORIK_NOT_TOP_LEVEL);
    EXPECT_EQ(api_delent(nullptr).error_number(), ORIK_NULL_ENTITY);
    ENTITY_LIST mixed;
    mixed.add(faces[1]);
    mixed.add(body);
    EXPECT_TRUE(api_del_entity_list(mixed).ok());
    EXPECT_EQ(api_delent(body).error_number(), ORIK_NULL_ENTITY);
}

TEST_F(KernelTest, CollectionsKeepOrderAndOwnership) {
    KVXCOLLECTION* collection = nullptr;
    ASSERT_TRUE(api_make_collection(collection).ok());
    KVXCOLLECTION* property = nullptr;
    api_make_collection(property);
    BODY* body = orik_make_body(oriktest::boxShape());
    EXPECT_TRUE(api_add_to_collection(collection, property, TRUE).ok());
    EXPECT_TRUE(api_add_to_collection(collection, body, FALSE).ok());
    EXPECT_TRUE(api_add_to_collection(collection, body, FALSE).ok());
    EXPECT_EQ(collection->member_count(), 2);
    EXPECT_EQ(collection->member(0), property);
    EXPECT_TRUE(collection->owns_member(0));
    EXPECT_FALSE(collection->owns_member(1));
    ENTITY_LIST faces;
    api_get_faces(body, faces);
    EXPECT_EQ(api_add_to_collection(collection, faces[0], TRUE).error_number(), ORIK_NOT_TOP_LEVEL);
    // Ownership may not loop back, directly or through another collection.
    KVXCOLLECTION* inner = nullptr;
    api_make_collection(inner);
    EXPECT_TRUE(api_add_to_collection(property, inner, TRUE).ok());
    for (KVXCOLLECTION* owner : {property, inner})
        EXPECT_EQ(api_add_to_collection(owner, collection, TRUE).error_number(), ORIK_BAD_ARGUMENT);
    EXPECT_TRUE(api_add_to_collection(inner, collection, FALSE).ok());
    EXPECT_TRUE(is_KVXCOLLECTION(collection));
    // A deleted member leaves the collection; owned members go with it.
    EXPECT_TRUE(api_delent(body).ok());
    EXPECT_EQ(collection->member_count(), 1);
    EXPECT_TRUE(api_delent(collection).ok());
    EXPECT_EQ(api_delent(property).error_number(), ORIK_NULL_ENTITY);
}

TEST_F(KernelTest, CoordinateSystemsHaveOrthonormalAxes) {
    WCS* wcs = nullptr;
    ASSERT_TRUE(
        api_wcs_create(SPAposition(1, 1, 1), SPAposition(2, 1, 1), SPAposition(1, 5, 1), wcs).ok());
    EXPECT_TRUE(is_WCS(wcs));
    EXPECT_DOUBLE_EQ(wcs->z_axis().z(), 1.0);
    EXPECT_DOUBLE_EQ(wcs->y_axis().y(), 1.0);
    EXPECT_DOUBLE_EQ(wcs->origin().x(), 1.0);
    WCS* degenerate = nullptr;
    EXPECT_EQ(api_wcs_create(SPAposition(), SPAposition(), SPAposition(0, 1, 0), degenerate)
                  .error_number(),
              ORIK_BAD_ARGUMENT);
    EXPECT_EQ(degenerate, nullptr);
    ENTITY_LIST faces;
    EXPECT_TRUE(api_get_faces(wcs, faces).ok());
    EXPECT_EQ(faces.count(), 0);
}
