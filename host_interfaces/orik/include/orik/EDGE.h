// An edge: a bounded piece of a curve between two vertices.
#pragma once

#include <orik/ENTITY.h>

class VERTEX;

// An edge of a body or wire, or a free edge.
class EDGE : public ENTITY {
public:
    explicit EDGE(orik::EntityData* data) : ENTITY(data) {}
    int identity() const override { return ORIK_EDGE_TYPE; }
    const char* type_name() const override { return "edge"; }

    // The vertex where the edge starts / ends, or null when the edge has none. Owned by the
    // edge's owner (or by the edge itself when it is free).
    VERTEX* start() const;
    VERTEX* end() const;
    // Start and end points in the coordinates the edge is sampled in (see api_facet_edge).
    SPAposition start_pos() const;
    SPAposition end_pos() const;
    // TRUE when the edge has a 3D curve (a degenerate edge has none).
    logical has_curve() const;

protected:
    ~EDGE() override = default;
};
