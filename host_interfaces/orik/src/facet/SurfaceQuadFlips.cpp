#include "SurfaceQuadFlips.h"

#include "EdgeLengthLimiter.h"
#include "FaceTessellator.h"

#include <Standard_Failure.hxx>

#include <algorithm>
#include <cmath>

namespace orik {
namespace facet {

namespace {

// Share of the deflection within which a quad counts as flat: flipping it moves the mesh by
// less than that, so no surface evaluation is needed.
constexpr double kFlatShare = 0.05;
// Least share of the quad's area either new triangle must keep.
constexpr double kSliverShare = 0.01;

}  // namespace

SurfaceQuadFlips::SurfaceQuadFlips(const FaceMesh& mesh, const TopoDS_Face& face,
                                   const Poly_Triangulation& triangulation)
    : mesh_(mesh),
      face_(face),
      deflection_(std::max(triangulation.Deflection(), 0.0)),
      flatness_(kFlatShare * deflection_),
      maxSquareLength_(HUGE_VAL) {
    const double limit = EdgeLengthLimitOf(triangulation);
    if (limit > 0.0)
        maxSquareLength_ = limit * limit;
}

SurfaceQuadFlips::~SurfaceQuadFlips() = default;

bool SurfaceQuadFlips::CanFlip(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const {
    if (!staysConvex(p, q, r, s) || !staysShort(r, s))
        return false;
    if (height(p, q, r, s) <= flatness_ && height(q, p, s, r) <= flatness_)
        return true;
    return followsSurface(p, q, r, s);
}

gp_XYZ SurfaceQuadFlips::position(uint32_t node) const {
    const double* c = &mesh_.positions[3 * size_t(node)];
    return gp_XYZ(c[0], c[1], c[2]);
}

double SurfaceQuadFlips::squareDistance(uint32_t a, uint32_t b) const {
    return (position(a) - position(b)).SquareModulus();
}

gp_XYZ SurfaceQuadFlips::normal(uint32_t a, uint32_t b, uint32_t c) const {
    return (position(b) - position(a)).Crossed(position(c) - position(a));
}

double SurfaceQuadFlips::area2d(uint32_t a, uint32_t b, uint32_t c) const {
    const double* pa = &mesh_.parameters[2 * size_t(a)];
    const double* pb = &mesh_.parameters[2 * size_t(b)];
    const double* pc = &mesh_.parameters[2 * size_t(c)];
    return (pb[0] - pa[0]) * (pc[1] - pa[1]) - (pb[1] - pa[1]) * (pc[0] - pa[0]);
}

// Both new triangles (r,p,s) and (s,q,r) turn the same way as the old (p,q,r), by more than a
// sliver (in the parameters when known, else in space), and face the way their nodes' normals do.
bool SurfaceQuadFlips::staysConvex(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const {
    if (!mesh_.parameters.empty()) {
        const double turn = area2d(p, q, r) > 0.0 ? 1.0 : -1.0;
        const double least = kSliverShare * turn * (area2d(p, q, r) + area2d(q, p, s));
        if (!(least > 0.0) || turn * area2d(r, p, s) <= least || turn * area2d(s, q, r) <= least)
            return false;
    } else {
        const gp_XYZ old = normal(p, q, r) + normal(q, p, s);
        const double least = kSliverShare * old.SquareModulus();
        if (normal(r, p, s).Dot(old) <= least || normal(s, q, r).Dot(old) <= least)
            return false;
    }
    return facesItsNormals(r, p, s) && facesItsNormals(s, q, r);
}

bool SurfaceQuadFlips::facesItsNormals(uint32_t a, uint32_t b, uint32_t c) const {
    gp_XYZ sum(0.0, 0.0, 0.0);
    for (uint32_t node : {a, b, c}) {
        const double* n = &mesh_.normals[3 * size_t(node)];
        sum += gp_XYZ(n[0], n[1], n[2]);
    }
    return normal(a, b, c).Dot(sum) > 0.0;
}

bool SurfaceQuadFlips::staysShort(uint32_t r, uint32_t s) const {
    return squareDistance(r, s) <= maxSquareLength_;
}

// Distance of s from the plane of (p,q,r).
double SurfaceQuadFlips::height(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const {
    const gp_XYZ n = normal(p, q, r);
    const double length = n.Modulus();
    return length > 0.0 ? std::abs((position(s) - position(p)).Dot(n)) / length : HUGE_VAL;
}

// The new edge r-s and the new triangles keep within the deflection at their middles.
bool SurfaceQuadFlips::followsSurface(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const {
    if (mesh_.parameters.empty() || deflection_ <= 0.0 || surfaceFailed_)
        return false;
    if (!surface_) {
        try {
            surface_.reset(new BRepAdaptor_Surface(face_, Standard_False));
        } catch (const Standard_Failure&) {
            surfaceFailed_ = true;
            return false;
        }
    }
    const uint32_t edge[2] = {r, s};
    const uint32_t first[3] = {r, p, s};
    const uint32_t second[3] = {s, q, r};
    return deviation(edge, 2) <= deflection_ && deviation(first, 3) <= deflection_ &&
           deviation(second, 3) <= deflection_;
}

// Distance between the centre of the nodes and the surface point at their mean parameters.
double SurfaceQuadFlips::deviation(const uint32_t* nodes, int count) const {
    double u = 0.0, v = 0.0;
    gp_XYZ centre(0.0, 0.0, 0.0);
    for (int i = 0; i < count; ++i) {
        u += mesh_.parameters[2 * size_t(nodes[i])];
        v += mesh_.parameters[2 * size_t(nodes[i]) + 1];
        centre += position(nodes[i]);
    }
    try {
        const gp_Pnt onSurface = surface_->Value(u / count, v / count);
        return (onSurface.XYZ() - centre / count).Modulus();
    } catch (const Standard_Failure&) {
        return HUGE_VAL;
    }
}

}  // namespace facet
}  // namespace orik
