// Boxes, areas, mass properties and edge sampling.
#include "orik_test_support.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <gp_Circ.hxx>

#include <cmath>
#include <memory>

using oriktest::KernelTest;
using oriktest::translation;

namespace {

EDGE* circleEdge(double radius) {
    return orik_make_free_edge(BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(), radius)).Shape());
}

// The points and parameters of one edge sampling, released with the holder.
struct Samples {
    outcome result;
    int count = 0;
    std::unique_ptr<SPAposition[]> points;
    std::unique_ptr<double[]> params;
};

Samples sample(EDGE* edge, double tolerance, int limit, double maxLength = 0.0) {
    Samples samples;
    SPAposition* points = nullptr;
    double* params = nullptr;
    samples.result =
        api_facet_edge(edge, tolerance, 0.0, maxLength, limit, samples.count, points, params);
    samples.points.reset(points);
    samples.params.reset(params);
    return samples;
}

// The sample count, after checking the call's error number.
int sampleCount(EDGE* edge, double tolerance, int limit, int expectedError = ORIK_OK) {
    const Samples samples = sample(edge, tolerance, limit);
    EXPECT_EQ(samples.result.error_number(), expectedError);
    return samples.count;
}

}  // namespace

TEST_F(KernelTest, EntityBoxAppliesBodyPlacementAndRefusesEmptyInput) {
    ENTITY_LIST list;
    list.add(orik_make_body(oriktest::boxShape(10, 20, 30), translation(100, 0, 0)));
    list.add(orik_make_free_vertex(BRepBuilderAPI_MakeVertex(gp_Pnt(-5, 0, 0)).Shape()));
    SPAposition low, high;
    ASSERT_TRUE(api_get_entity_box(list, nullptr, low, high).ok());
    EXPECT_NEAR(low.x(), -5.0, 1e-3);
    EXPECT_NEAR(high.x(), 110.0, 1e-3);
    EXPECT_NEAR(high.z(), 30.0, 1e-3);
    ASSERT_TRUE(api_get_entity_box(list[0], nullptr, low, high).ok());
    EXPECT_NEAR(low.x(), 100.0, 1e-3);
    ENTITY_LIST empty;
    EXPECT_EQ(api_get_entity_box(empty, nullptr, low, high).error_number(), ORIK_NO_ENTITIES);
    KVXCOLLECTION* collection = nullptr;
    api_make_collection(collection);
    empty.add(collection);
    EXPECT_EQ(api_get_entity_box(empty, nullptr, low, high).error_number(), ORIK_NO_ENTITIES);
    WCS* wcs = nullptr;
    api_wcs_create(SPAposition(), SPAposition(1, 0, 0), SPAposition(0, 1, 0), wcs);
    empty.add(orik_make_body(oriktest::boxShape()));
    EXPECT_EQ(api_get_entity_box(empty, wcs, low, high).error_number(), ORIK_BAD_ARGUMENT);
}

TEST_F(KernelTest, AreasOfBodiesAndFacesWithHolesToTheRequestedAccuracy) {
    double area = -1.0, achieved = -1.0;
    BODY* box = orik_make_body(oriktest::boxShape(10, 20, 30));
    ASSERT_TRUE(api_ent_area(box, 5.0, area, achieved).ok());
    EXPECT_NEAR(area, 2200.0, 1e-6);
    FACE* holed = orik_make_free_face(oriktest::faceWithHole());
    ASSERT_TRUE(api_ent_area(holed, 5.0, area, achieved).ok());
    EXPECT_NEAR(area, 84.0, 1e-6);
    EXPECT_EQ(api_ent_area(circleEdge(1.0), 0.01, area, achieved).error_number(), ORIK_NO_GEOMETRY);
    // Curved faces honour the requested accuracy.
    BODY* sphere = orik_make_body(BRepPrimAPI_MakeSphere(3.0).Shape());
    const double exact = 4.0 * M_PI * 9.0;
    for (double requested : {1e-3, 1e-6}) {
        ASSERT_TRUE(api_ent_area(sphere, requested, area, achieved).ok());
        EXPECT_LE(std::fabs(area - exact) / exact, requested) << requested;
        EXPECT_LE(achieved, requested);
    }
}

TEST_F(KernelTest, MassPropertiesOfABoxAndOfACylinderAtEachLevel) {
    BODY* box = orik_make_body(oriktest::boxShape(10, 20, 30), translation(500, 0, 0));
    mass_props props;
    ASSERT_TRUE(api_body_mass_props(box, props).ok());
    EXPECT_EQ(props.get_level_used(), VOLUME_CENTROID_AND_INERTIA);
    EXPECT_NEAR(props.get_volume(), 6000.0, 1e-6);
    EXPECT_NEAR(props.get_centroid().x(), 5.0, 1e-9);  // body's own coordinates
    EXPECT_NEAR(props.get_centroid().z(), 15.0, 1e-9);
    SPAunit_vector a1, a2, a3;
    props.get_p_axes(a1, a2, a3);
    // Principal axes of a box are its edges' directions, right-handed.
    for (const SPAunit_vector& axis : {a1, a2, a3}) {
        const double largest =
            std::max({std::fabs(axis.x()), std::fabs(axis.y()), std::fabs(axis.z())});
        EXPECT_NEAR(largest, 1.0, 1e-9);
    }
    const double handedness = a1.x() * (a2.y() * a3.z() - a2.z() * a3.y()) -
                              a1.y() * (a2.x() * a3.z() - a2.z() * a3.x()) +
                              a1.z() * (a2.x() * a3.y() - a2.y() * a3.x());
    EXPECT_NEAR(handedness, 1.0, 1e-9);
    // A cylinder at each level.
    BODY* cylinder = orik_make_body(oriktest::cylinderShape(5, 10));
    mass_props_options options;
    options.set_level(VOLUME_ONLY);
    ASSERT_TRUE(api_body_mass_props(cylinder, props, &options).ok());
    EXPECT_EQ(props.get_level_used(), VOLUME_ONLY);
    EXPECT_NEAR(props.get_volume(), M_PI * 25.0 * 10.0, 1e-3);
    EXPECT_DOUBLE_EQ(props.get_centroid().z(), 0.0);  // not computed at this level
    ASSERT_TRUE(api_body_mass_props(cylinder, props).ok());
    EXPECT_NEAR(props.get_centroid().z(), 5.0, 1e-6);
    double m1, m2, m3;
    props.get_p_moments(m1, m2, m3);
    EXPECT_GT(m1, 0.0);
}

TEST_F(KernelTest, MassPropertiesNeedTheOneSidedSheetOptionForSheetsAndABody) {
    BODY* sheet = orik_make_body(oriktest::squareSheet(10));
    EXPECT_FALSE(is_closed_solid_body(sheet));
    mass_props props;
    const outcome first = api_body_mass_props(sheet, props);
    ASSERT_EQ(first.error_number(), ORIK_ONE_SIDED_SHEETS);
    EXPECT_STREQ(find_err_mess(first.error_number()),
                 "body has 1-sided sheets; volume not calculated");
    mass_props_options options;
    options.set_one_sided_sheet_opt(2);
    ASSERT_TRUE(api_body_mass_props(sheet, props, &options).ok());
    EXPECT_EQ(props.get_level_used(), VOLUME_CENTROID_AND_INERTIA);
    EXPECT_DOUBLE_EQ(props.get_volume(), 0.0);
    EXPECT_NEAR(props.get_centroid().x(), 5.0, 1e-9);
    options.set_one_sided_sheet_opt(3);
    EXPECT_EQ(api_body_mass_props(sheet, props, &options).error_number(), ORIK_BAD_ARGUMENT);
    EXPECT_EQ(api_body_mass_props(nullptr, props).error_number(), ORIK_NULL_ENTITY);
    BODY* wireBody = orik_make_body(BRepBuilderAPI_MakeEdge(gp_Pnt(), gp_Pnt(1, 0, 0)).Shape());
    EXPECT_EQ(api_body_mass_props(wireBody, props).error_number(), ORIK_NO_GEOMETRY);
}

TEST_F(KernelTest, StraightEdgeGivesItsTwoEndsFromItsStart) {
    const TopoDS_Shape forward = BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(10, 0, 0));
    EDGE* edge = orik_make_free_edge(forward);
    const Samples ends = sample(edge, 0.01, 100);
    ASSERT_TRUE(ends.result.ok());
    ASSERT_EQ(ends.count, 2);
    EXPECT_DOUBLE_EQ(ends.points[1].x(), 10.0);
    EXPECT_DOUBLE_EQ(ends.params[0], 0.0);
    EXPECT_EQ(sample(edge, 0.01, 100, 3.0).count, 5);  // a length limit splits it
    // A reversed edge is sampled from its start.
    EDGE* reversed = orik_make_free_edge(forward.Reversed());
    const Samples back = sample(reversed, 0.01, 100);
    ASSERT_TRUE(back.result.ok());
    EXPECT_DOUBLE_EQ(back.points[0].x(), reversed->start_pos().x());
    EXPECT_DOUBLE_EQ(back.points[0].x(), 10.0);
}

TEST_F(KernelTest, EdgeSamplingMeetsTheToleranceWithinTheLimit) {
    const double tolerance = 0.01;
    const Samples circle = sample(circleEdge(10.0), tolerance, 1000);
    ASSERT_TRUE(circle.result.ok());
    ASSERT_GT(circle.count, 2);
    ASSERT_LE(circle.count, 1000);
    // Every chord's midpoint lies within the tolerance of the circle.
    for (int i = 1; i < circle.count; ++i) {
        const double mx = (circle.points[i - 1].x() + circle.points[i].x()) / 2;
        const double my = (circle.points[i - 1].y() + circle.points[i].y()) / 2;
        EXPECT_LE(10.0 - std::hypot(mx, my), tolerance * 1.01);
    }
}

TEST_F(KernelTest, EdgeSamplingAtAndBeyondItsLimitAndWithBadArguments) {
    EDGE* circle = circleEdge(10.0);
    const int needed = sampleCount(circle, 0.001, 100000);
    ASSERT_GT(needed, 10);
    EXPECT_EQ(sampleCount(circle, 0.001, needed), needed);
    EXPECT_EQ(sampleCount(circle, 0.001, needed - 1), needed);  // limit + 1
    EXPECT_EQ(sampleCount(circle, 0.001, 5), 6);
    EXPECT_EQ(sampleCount(circle, 0.0, 100, ORIK_BAD_ARGUMENT), 0);
    EXPECT_EQ(sampleCount(circle, 0.1, 1, ORIK_BAD_ARGUMENT), 0);
    EXPECT_EQ(sampleCount(nullptr, 0.1, 100, ORIK_NULL_ENTITY), 0);
}
