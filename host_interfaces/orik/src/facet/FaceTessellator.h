// Face tessellation for the faceter: a meshed face's nodes, normals, triangles and strips in the
// coordinates of the body that holds it. Private to the kernel.
#pragma once

#include "ShapeMesher.h"
#include "TriangleStripifier.h"

#include <TopoDS_Face.hxx>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orik {
namespace facet {

// One face's mesh. Node i has positions[3i..3i+2], normals[3i..3i+2] and, when the triangulation
// has them, parameters[2i..2i+1] (u, v on the face's surface).
struct FaceMesh {
    std::vector<double> positions;    // body coordinates (the face's location inside it applied)
    std::vector<double> normals;      // unit, pointing to the face's outside (orientation applied)
    std::vector<double> parameters;   // surface (u, v) per node; empty if unknown
    std::vector<uint32_t> triangles;  // 3 node indices each, counter-clockwise seen from outside
    TriangleStrips strips;            // the same triangles as strips, same winding

    size_t NodeCount() const { return positions.size() / 3; }
    size_t TriangleCount() const { return triangles.size() / 3; }
    void Clear();
};

// Reads the triangulation of already meshed faces (see ShapeMesher) into FaceMesh form. Keeps
// scratch buffers between faces; one object per thread.
class FaceTessellator {
public:
    // flipQuads: let the stripifier turn the diagonal of quads where the surface allows it.
    explicit FaceTessellator(bool flipQuads = true) : flipQuads_(flipQuads) {}

    // Fills out from the face's triangulation: positions through the face's location, normals
    // and winding flipped for a reversed face (and for a mirroring location), strips built.
    // Quads flipped for the strips are written back into the triangulation (same nodes, same
    // count), which then holds exactly out.triangles. Returns false, with out empty, when the
    // face is null or has no triangulation; never throws. Safe to call for several faces in
    // parallel.
    bool Tessellate(const TopoDS_Face& face, FaceMesh& out);

private:
    bool flipQuads_;
    TriangleStripifier stripifier_;
};

}  // namespace facet
}  // namespace orik
