// Splits the long edges of a face triangulation until none is longer than a limit.
#pragma once

#include <Poly_Triangulation.hxx>
#include <Poly_TriangulationParameters.hxx>
#include <TopoDS_Face.hxx>

namespace orik {
namespace facet {

// Returns a triangulation of the same face whose edges are all at most maxLength long, made by
// halving every longer edge in rounds (a triangle with one, two or three halved edges becomes
// two, three or four). Nodes inside the face go onto the surface at their parameters; nodes on
// the face's boundary stay on the straight edge, where the neighbouring face puts them too.
// Returns the input itself when nothing is too long, and stops refining, keeping what it has,
// past a few million triangles. Node normals are not made. Never throws.
Handle(Poly_Triangulation)
    LimitEdgeLength(const TopoDS_Face& face, const Handle(Poly_Triangulation) & triangulation,
                    double maxLength);

// Records on the triangulation (in its parameters) that no edge may grow past maxLength, for
// later changes such as quad flips to respect.
void RecordEdgeLengthLimit(Poly_Triangulation& triangulation, double maxLength);

// The limit recorded by RecordEdgeLengthLimit, or a negative value when there is none.
double EdgeLengthLimitOf(const Poly_Triangulation& triangulation);

}  // namespace facet
}  // namespace orik
