// The surface underlying a face, as far as callers need to know it.
#pragma once

#include <orik/ORIK_OBJECT.h>

// Kind of a face's surface.
enum OrikSurfaceKind {
    ORIK_PLANE = 0,
    ORIK_CYLINDER = 1,
    ORIK_CONE = 2,
    ORIK_SPHERE = 3,
    ORIK_TORUS = 4,
    ORIK_SPLINE = 5,  // B-spline, Bezier, offset, swept and other free-form surfaces
    // No analytic or free-form surface: the face is given by stored triangles only (tessellated
    // parts). It is faceted into exactly those triangles at every tolerance, its area is theirs,
    // and they stay with the face when its facets are deleted.
    ORIK_MESH = 6,
};

// Read-only description of a face's surface; owned by its face.
class SURFACE : public ORIK_OBJECT {
public:
    explicit SURFACE(OrikSurfaceKind kind) : kind_(kind) {}
    OrikSurfaceKind kind() const { return kind_; }

private:
    OrikSurfaceKind kind_;
};
