// Shared fixture and shape makers of the kernel's tests.
#pragma once

#include <orik/OrikOcctBridge.h>
#include <orik/orik.h>

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <gp_Pln.hxx>

#include <gtest/gtest.h>

namespace oriktest {

// Runs every test with a started modeller and stops it afterwards (which frees all entities).
class KernelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(api_start_modeller(0).error_number(), ORIK_OK); }
    void TearDown() override {
        api_set_mesh_manager(nullptr);
        api_stop_modeller();
    }
};

inline TopoDS_Shape boxShape(double dx = 10, double dy = 20, double dz = 30) {
    return BRepPrimAPI_MakeBox(dx, dy, dz).Shape();
}

inline TopoDS_Shape cylinderShape(double radius = 5, double height = 10) {
    return BRepPrimAPI_MakeCylinder(radius, height).Shape();
}

// An open sheet: one square face of side `side` in the plane z = 0.
inline TopoDS_Shape squareSheet(double side = 10) {
    return BRepBuilderAPI_MakeFace(gp_Pln(), 0, side, 0, side).Shape();
}

// A square face of side 10 with a square hole of side 4 in its middle (area 84).
inline TopoDS_Shape faceWithHole() {
    BRepBuilderAPI_MakeFace face(gp_Pln(), 0, 10, 0, 10);
    BRepBuilderAPI_MakePolygon hole(gp_Pnt(3, 3, 0), gp_Pnt(3, 7, 0), gp_Pnt(7, 7, 0),
                                    gp_Pnt(7, 3, 0), Standard_True);
    face.Add(hole.Wire());
    return face.Shape();
}

inline gp_Trsf translation(double x, double y, double z) {
    gp_Trsf trsf;
    trsf.SetTranslation(gp_Vec(x, y, z));
    return trsf;
}

// A new refinement with the given surface and normal tolerances and edge length limit.
inline REFINEMENT* refinement(double surfaceTol, double normalTolDeg, double maxEdge = -1.0) {
    REFINEMENT* r = nullptr;
    EXPECT_TRUE(api_create_refinement(r).ok());
    r->set_surface_tol(surfaceTol);
    r->set_normal_tol(normalTolDeg);
    r->set_max_edge_length(maxEdge);
    return r;
}

inline SPAposition pos(double x, double y, double z) {
    return SPAposition(x, y, z);
}

}  // namespace oriktest
