// BRepMesh under a time budget per face. BRepMesh checks for a user break only in some of its
// loops, so a face is given a deadline only where that is known to suffice: faces with a dense
// boundary, whose frontier recovery can loop for minutes without checking, are set aside and
// meshed in child processes that are killed at the deadline (MeshFacesInChildProcesses).
#pragma once

#include <IMeshTools_Parameters.hxx>
#include <Poly_Triangulation.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include <vector>

namespace orik {
namespace facet {

// Faces of one budgeted meshing that did not get their triangulation in this process.
struct BudgetReport {
    std::vector<TopoDS_Face> setAside;    // boundary too dense to mesh here; not meshed
    std::vector<TopoDS_Face> overBudget;  // meshing broken off at the deadline; not meshed
};

// Boundary nodes above which a face is set aside rather than meshed in this process.
constexpr int kSetAsideBoundaryNodes = 1000;

// Meshes the shape as BRepMesh_IncrementalMesh does, but gives every face `seconds` of its own
// and leaves the faces listed in report without a triangulation. Returns BRepMesh's IsDone();
// throws what BRepMesh throws.
bool MeshWithinBudget(const TopoDS_Shape& shape, const IMeshTools_Parameters& parameters,
                      double seconds, BudgetReport& report);

// Meshes each face alone in a child process of its own (one thread each, as many at once as
// there are cores) and returns their triangulations in order: null where the child failed or had
// not ended within `seconds` of its start (it is then killed). The faces are left unchanged;
// never throws.
std::vector<Handle(Poly_Triangulation)> MeshFacesInChildProcesses(
    const std::vector<TopoDS_Face>& faces, const IMeshTools_Parameters& parameters, double seconds);

}  // namespace facet
}  // namespace orik
