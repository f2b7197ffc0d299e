// Tolerances of a meshing.
#pragma once

namespace orik {
namespace facet {

// Tolerances of one meshing: lengths in the shape's units, the angle in degrees.
struct MeshParameters {
    double linearDeflection = 0.0;       // greatest distance between mesh and surface; > 0
    double angularDeflectionDeg = 20.0;  // greatest angle between neighbouring normals
    double maxEdgeLength = -1.0;         // longest triangle edge; <= 0 means no limit
    bool inParallel = true;              // let BRepMesh and the normal pass use several threads
    double timeLimit = 0.0;  // seconds of meshing per face; <= 0 means none (not a tolerance)

    bool operator==(const MeshParameters& other) const;
    bool operator!=(const MeshParameters& other) const { return !(*this == other); }
};

}  // namespace facet
}  // namespace orik
