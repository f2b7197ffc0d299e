// A face of a body (or a free face made by the translator).
#pragma once

#include <orik/ENTITY.h>

class SURFACE;
class SPAbox;

// A face: a bounded piece of a surface, oriented (its normal points out of the body).
class FACE : public ENTITY {
public:
    explicit FACE(orik::EntityData* data) : ENTITY(data) {}
    int identity() const override { return ORIK_FACE_TYPE; }
    const char* type_name() const override { return "face"; }

    // The face's surface (of kind ORIK_MESH for a face given by stored triangles only), or null
    // when the face has neither. Owned by the face.
    const SURFACE* geometry() const;
    // Bounding box of the face in the coordinates its facets are given in (a body's own
    // coordinates, model coordinates for a free face), or null when it cannot be bounded.
    // Owned by the face.
    const SPAbox* bound() const;

protected:
    ~FACE() override = default;
};
