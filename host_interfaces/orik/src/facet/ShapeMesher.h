// Meshing of whole shapes with BRepMesh, remembering what was meshed at which tolerance.
#pragma once

#include "CoarseLevels.h"
#include "FixedFaceMeshes.h"
#include "MeshParameters.h"

#include <Poly_Triangulation.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_TShape.hxx>

#include <unordered_map>
#include <vector>

namespace orik {
namespace facet {

// Meshes shapes and keeps, per shape, the tolerances it was meshed at together with the
// triangulations made, so that a second request at the same tolerances costs a check only.
// Faces whose mesh does not depend on the tolerances get their earlier mesh back.
// Not thread-safe; one object per kernel session.
class ShapeMesher {
public:
    // Gives every face of the shape a triangulation with node normals (surface normals, face
    // orientation not applied) and, if asked, no edge longer than the limit. Skips the work when
    // the shape was meshed at the same parameters and still holds those triangulations.
    // With a time limit, faces whose meshing runs past it are abandoned: they keep no
    // triangulation and Abandoned() names them until the shape is meshed or cleared again.
    // Returns false when BRepMesh failed or the parameters are unusable; never throws.
    bool Mesh(const TopoDS_Shape& shape, const MeshParameters& parameters);

    // True if Mesh(shape, parameters) would have nothing to do.
    bool IsMeshed(const TopoDS_Shape& shape, const MeshParameters& parameters) const;

    // Takes the shape's present triangulations as its mesh at these parameters (a mesh read back
    // from a file), so that Mesh at the same parameters keeps them. False, and nothing
    // remembered, unless every face has a triangulation.
    bool Adopt(const TopoDS_Shape& shape, const MeshParameters& parameters);

    // Removes the triangulations of the shape's faces (those with a surface) and the edge
    // polygons that refer to them, so that a later coarser meshing really is coarser.
    void Clear(const TopoDS_Shape& shape);

    // Drops what is remembered about the shape (it keeps its triangulations).
    void Forget(const TopoDS_Shape& shape);

    // True if the face's meshing was abandoned at the time limit.
    bool Abandoned(const TopoDS_Shape& face) const;

    // Drops everything remembered.
    void Reset();

private:
    struct Record {
        TopoDS_Shape shape;  // unlocated; keeps the key alive
        MeshParameters parameters;
        std::vector<Handle(Poly_Triangulation)> triangulations;  // in face exploration order
    };

    static std::vector<Handle(Poly_Triangulation)> faceTriangulations(const TopoDS_Shape& shape);
    bool deriveOrMesh(const TopoDS_Shape& shape, const std::vector<TopoDS_Face>& faces,
                      const MeshParameters& parameters);
    bool runBRepMesh(const TopoDS_Shape& shape, const MeshParameters& parameters);
    void forgetAbandoned(const TopoDS_Shape& shape);

    std::unordered_map<const TopoDS_TShape*, Record> meshed_;
    // Abandoned faces; the handles keep the keys alive.
    std::unordered_map<const TopoDS_TShape*, TopoDS_Shape> abandoned_;
    FixedFaceMeshes fixedMeshes_;
    CoarseLevels coarseLevels_;
};

}  // namespace facet
}  // namespace orik
