#include "ShapeMesher.h"

#include "BudgetedMeshing.h"
#include "EdgeLengthLimiter.h"
#include "FixedFaceMeshes.h"
#include "NodeNormals.h"

#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <IMeshTools_Parameters.hxx>
#include <OSD_Parallel.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace orik {
namespace facet {

namespace {

// Faces of the shape, one per distinct triangulation holder (a face placed twice is one TFace).
std::vector<TopoDS_Face> distinctFaces(const TopoDS_Shape& shape) {
    std::vector<TopoDS_Face> faces;
    std::unordered_set<const TopoDS_TShape*> seen;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        if (seen.insert(it.Current().TShape().get()).second)
            faces.push_back(TopoDS::Face(it.Current()));
    }
    return faces;
}

void computeMissingNormals(const std::vector<TopoDS_Face>& faces, bool inParallel) {
    OSD_Parallel::For(
        0, Standard_Integer(faces.size()),
        [&faces](Standard_Integer i) {
            TopLoc_Location location;
            const TopoDS_Face& face = faces[size_t(i)];
            ComputeNodeNormals(face, BRep_Tool::Triangulation(face, location));
        },
        !inParallel);
}

// BRepMesh has no edge length limit of its own: long edges are halved afterwards.
void limitEdgeLengths(const std::vector<TopoDS_Face>& faces, double maxLength, bool inParallel) {
    OSD_Parallel::For(
        0, Standard_Integer(faces.size()),
        [&faces, maxLength](Standard_Integer i) {
            TopLoc_Location location;
            const TopoDS_Face& face = faces[size_t(i)];
            // A face without a surface is its triangles: splitting them would replace its geometry.
            if (BRep_Tool::Surface(face, location).IsNull())
                return;
            const Handle(Poly_Triangulation) triangulation =
                BRep_Tool::Triangulation(face, location);
            const Handle(Poly_Triangulation) limited =
                LimitEdgeLength(face, triangulation, maxLength);
            if (limited.IsNull())
                return;
            RecordEdgeLengthLimit(*limited, maxLength);
            if (limited != triangulation)
                BRep_Builder().UpdateFace(face, limited);
        },
        !inParallel);
}

}  // namespace

bool MeshParameters::operator==(const MeshParameters& other) const {
    return linearDeflection == other.linearDeflection &&
           angularDeflectionDeg == other.angularDeflectionDeg &&
           (maxEdgeLength > 0.0 ? maxEdgeLength == other.maxEdgeLength
                                : !(other.maxEdgeLength > 0.0));
}

std::vector<Handle(Poly_Triangulation)> ShapeMesher::faceTriangulations(const TopoDS_Shape& shape) {
    std::vector<Handle(Poly_Triangulation)> triangulations;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        TopLoc_Location location;
        triangulations.push_back(BRep_Tool::Triangulation(TopoDS::Face(it.Current()), location));
    }
    return triangulations;
}

bool ShapeMesher::IsMeshed(const TopoDS_Shape& shape, const MeshParameters& parameters) const {
    if (shape.IsNull())
        return false;
    const auto found = meshed_.find(shape.TShape().get());
    return found != meshed_.end() && found->second.parameters == parameters &&
           found->second.triangulations == faceTriangulations(shape);
}

bool ShapeMesher::Mesh(const TopoDS_Shape& shape, const MeshParameters& parameters) {
    if (shape.IsNull() || !(parameters.linearDeflection > 0.0) ||
        !(parameters.angularDeflectionDeg > 0.0) || !std::isfinite(parameters.linearDeflection)) {
        return false;
    }
    if (IsMeshed(shape, parameters))
        return true;
    try {
        const std::vector<TopoDS_Face> faces = distinctFaces(shape);
        if (!deriveOrMesh(shape, faces, parameters))
            return false;
    } catch (const Standard_Failure&) {
        return false;
    }
    Record& record = meshed_[shape.TShape().get()];
    record.shape = shape.Located(TopLoc_Location());
    record.parameters = parameters;
    record.triangulations = faceTriangulations(shape);
    return true;
}

// A coarser mesh is derived from a finer one made before, when there is one for every face;
// otherwise BRepMesh meshes, and its meshes are kept for coarser meshings to come.
bool ShapeMesher::deriveOrMesh(const TopoDS_Shape& shape, const std::vector<TopoDS_Face>& faces,
                               const MeshParameters& parameters) {
    forgetAbandoned(shape);
    if (coarseLevels_.Derive(faces, parameters))
        return true;
    fixedMeshes_.Restore(faces, parameters.linearDeflection);
    if (!runBRepMesh(shape, parameters))
        return false;
    fixedMeshes_.Remember(faces, parameters.linearDeflection);
    if (parameters.maxEdgeLength > 0.0) {
        limitEdgeLengths(faces, parameters.maxEdgeLength, parameters.inParallel);
    }
    computeMissingNormals(faces, parameters.inParallel);
    coarseLevels_.Remember(faces, parameters);
    return true;
}

bool ShapeMesher::Adopt(const TopoDS_Shape& shape, const MeshParameters& parameters) {
    if (shape.IsNull())
        return false;
    std::vector<Handle(Poly_Triangulation)> triangulations = faceTriangulations(shape);
    if (std::any_of(triangulations.begin(), triangulations.end(),
                    [](const Handle(Poly_Triangulation) & t) { return t.IsNull(); }))
        return false;
    forgetAbandoned(shape);
    Record& record = meshed_[shape.TShape().get()];
    record.shape = shape.Located(TopLoc_Location());
    record.parameters = parameters;
    record.triangulations = std::move(triangulations);
    return true;
}

bool ShapeMesher::runBRepMesh(const TopoDS_Shape& shape, const MeshParameters& parameters) {
    IMeshTools_Parameters meshParameters;
    meshParameters.Deflection = parameters.linearDeflection;
    meshParameters.Angle = parameters.angularDeflectionDeg * M_PI / 180.0;
    meshParameters.InParallel = parameters.inParallel;
    forgetAbandoned(shape);
    if (!(parameters.timeLimit > 0.0)) {
        BRepMesh_IncrementalMesh mesher(shape, meshParameters);
        return mesher.IsDone();
    }
    BudgetReport report;
    if (!MeshWithinBudget(shape, meshParameters, parameters.timeLimit, report))
        return false;
    const std::vector<Handle(Poly_Triangulation)> apart =
        MeshFacesInChildProcesses(report.setAside, meshParameters, parameters.timeLimit);
    for (size_t i = 0; i < apart.size(); ++i) {
        if (apart[i].IsNull())
            report.overBudget.push_back(report.setAside[i]);
        else
            BRep_Builder().UpdateFace(report.setAside[i], apart[i]);
    }
    for (const TopoDS_Face& face : report.overBudget) {
        BRep_Builder().UpdateFace(face, Handle(Poly_Triangulation)());
        abandoned_[face.TShape().get()] = face;
    }
    return true;
}

void ShapeMesher::forgetAbandoned(const TopoDS_Shape& shape) {
    if (abandoned_.empty())
        return;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next())
        abandoned_.erase(it.Current().TShape().get());
}

bool ShapeMesher::Abandoned(const TopoDS_Shape& face) const {
    return !face.IsNull() && abandoned_.count(face.TShape().get()) > 0;
}

void ShapeMesher::Reset() {
    meshed_.clear();
    abandoned_.clear();
    fixedMeshes_.Clear();
    coarseLevels_.Clear();
}

void ShapeMesher::Clear(const TopoDS_Shape& shape) {
    if (shape.IsNull())
        return;
    forgetAbandoned(shape);
    BRepTools::Clean(shape);
    // Records of this shape, of its parts and of shapes sharing its faces now fail their check;
    // drop them so that they no longer hold the removed triangulations. Records with faces left
    // unmeshed (failed or abandoned) cannot tell; they are dropped too.
    for (auto it = meshed_.begin(); it != meshed_.end();) {
        const auto& kept = it->second.triangulations;
        const bool stale =
            kept != faceTriangulations(it->second.shape) ||
            std::any_of(kept.begin(), kept.end(),
                        [](const Handle(Poly_Triangulation) & t) { return t.IsNull(); });
        it = stale ? meshed_.erase(it) : std::next(it);
    }
}

void ShapeMesher::Forget(const TopoDS_Shape& shape) {
    if (shape.IsNull())
        return;
    meshed_.erase(shape.TShape().get());
    forgetAbandoned(shape);
}

}  // namespace facet
}  // namespace orik
