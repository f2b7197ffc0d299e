// A vertex: a point of a body, edge or wire, or a free point.
#pragma once

#include <orik/ENTITY.h>

// A vertex.
class VERTEX : public ENTITY {
public:
    explicit VERTEX(orik::EntityData* data) : ENTITY(data) {}
    int identity() const override { return ORIK_VERTEX_TYPE; }
    const char* type_name() const override { return "vertex"; }

    // The point, in its body's own coordinates (model coordinates for free vertices).
    SPAposition position() const;

protected:
    ~VERTEX() override = default;
};
