// The geometric side of quad flips: which neighbouring triangles of a face mesh may trade their
// shared edge for the quad's other diagonal without the mesh leaving the surface's tolerance.
#pragma once

#include "TriangleStripifier.h"

#include <BRepAdaptor_Surface.hxx>
#include <Poly_Triangulation.hxx>
#include <TopoDS_Face.hxx>

#include <memory>

namespace orik {
namespace facet {

struct FaceMesh;

// Allows a flip where the quad is convex (in the surface's parameters when the mesh has them),
// the new edge keeps to the mesh's edge length limit if it has one, and the quad is either flat
// within a small share of the deflection, or such that the new triangles stay within the
// deflection of the face's surface at the new edge's middle and their centres.
class SurfaceQuadFlips : public QuadFlipTest {
public:
    // For the mesh read from the face's triangulation, whose deflection (<= 0: flat quads only)
    // and edge length limit apply. mesh and face must outlive this object.
    SurfaceQuadFlips(const FaceMesh& mesh, const TopoDS_Face& face,
                     const Poly_Triangulation& triangulation);
    ~SurfaceQuadFlips() override;

    bool CanFlip(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const override;

private:
    gp_XYZ position(uint32_t node) const;
    double squareDistance(uint32_t a, uint32_t b) const;
    gp_XYZ normal(uint32_t a, uint32_t b, uint32_t c) const;
    double area2d(uint32_t a, uint32_t b, uint32_t c) const;
    bool staysConvex(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const;
    bool facesItsNormals(uint32_t a, uint32_t b, uint32_t c) const;
    bool staysShort(uint32_t r, uint32_t s) const;
    double height(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const;
    bool followsSurface(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const;
    double deviation(const uint32_t* nodes, int count) const;

    const FaceMesh& mesh_;
    const TopoDS_Face& face_;
    double deflection_;
    double flatness_;
    double maxSquareLength_;  // of the new edge; infinite when the mesh has no limit
    mutable std::unique_ptr<BRepAdaptor_Surface> surface_;  // made on first need
    mutable bool surfaceFailed_ = false;
};

}  // namespace facet
}  // namespace orik
