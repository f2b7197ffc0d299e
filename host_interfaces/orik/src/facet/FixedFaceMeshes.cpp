#include "FixedFaceMeshes.h"

#include "UnheldFaces.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>

namespace orik {
namespace facet {

namespace {

Handle(Poly_Triangulation) triangulationOf(const TopoDS_Face& face) {
    TopLoc_Location location;
    return BRep_Tool::Triangulation(face, location);
}

bool isStraight(const TopoDS_Edge& edge) {
    if (BRep_Tool::Degenerated(edge))
        return true;
    return BRep_Tool::IsGeometric(edge) && BRepAdaptor_Curve(edge).GetType() == GeomAbs_Line;
}

}  // namespace

bool FixedFaceMeshes::IsFixed(const TopoDS_Face& face) {
    try {
        if (BRep_Tool::Surface(face).IsNull() ||
            BRepAdaptor_Surface(face, Standard_False).GetType() != GeomAbs_Plane) {
            return false;
        }
        bool hasEdge = false;
        for (TopExp_Explorer it(face, TopAbs_EDGE); it.More(); it.Next()) {
            if (!isStraight(TopoDS::Edge(it.Current())))
                return false;
            hasEdge = true;
        }
        // Vertices inside the face become mesh nodes; their count does not depend on tolerances
        // but keep it simple: faces with inner vertices are meshed afresh.
        return hasEdge && !TopExp_Explorer(face, TopAbs_VERTEX, TopAbs_EDGE).More();
    } catch (const Standard_Failure&) {
        return false;
    }
}

void FixedFaceMeshes::Restore(const std::vector<TopoDS_Face>& faces, double deflection) const {
    if (meshes_.empty())
        return;
    for (const TopoDS_Face& face : faces) {
        const auto found = meshes_.find(face.TShape().get());
        if (found != meshes_.end() && found->second.deflection < deflection &&
            triangulationOf(face).IsNull())
            BRep_Builder().UpdateFace(face, new Poly_Triangulation(found->second.mesh));
    }
}

void FixedFaceMeshes::Remember(const std::vector<TopoDS_Face>& faces, double deflection) {
    for (const TopoDS_Face& face : faces) {
        const TopoDS_TShape* key = face.TShape().get();
        if (meshes_.count(key) > 0 || !IsFixed(face))
            continue;
        const Handle(Poly_Triangulation) triangulation = triangulationOf(face);
        if (triangulation.IsNull() || triangulation->NbTriangles() == 0)
            continue;
        meshes_[key] = Entry{face.Located(TopLoc_Location()), new Poly_Triangulation(triangulation),
                             deflection};
    }
    SweepUnheldFaces(meshes_, sizeAtLastSweep_);
}

}  // namespace facet
}  // namespace orik
