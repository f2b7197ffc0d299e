// Node normals of a face triangulation, taken from the face's surface.
#pragma once

#include <Poly_Triangulation.hxx>
#include <TopoDS_Face.hxx>

namespace orik {
namespace facet {

// Gives a triangulation without normals one unit normal per node: the surface normal at the node's
// UV, in the coordinates of the triangulation's nodes and with the surface's own orientation (the
// face's orientation is not applied). Where the surface gives none (poles, no UV nodes, no
// surface) the mean of the adjoining triangle normals is used. Does nothing on a null handle or a
// triangulation that already has normals; never throws.
void ComputeNodeNormals(const TopoDS_Face& face, const Handle(Poly_Triangulation) & triangulation);

}  // namespace facet
}  // namespace orik
