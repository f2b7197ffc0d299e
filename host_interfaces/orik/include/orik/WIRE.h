// A wire: a chain of edges (a face boundary, or a free wire made by the translator).
#pragma once

#include <orik/ENTITY.h>

class EDGE;

// A wire. Its edges are owned by the wire's owner (or by the wire when it is free).
class WIRE : public ENTITY {
public:
    explicit WIRE(orik::EntityData* data) : ENTITY(data) {}
    int identity() const override { return ORIK_WIRE_TYPE; }
    const char* type_name() const override { return "wire"; }

    // Number of distinct edges of the wire.
    int edge_count() const;
    // Edge i (0-based) in the wire's order, or null when i is out of range.
    EDGE* edge(int i) const;
    // The first edge, or null for an empty wire.
    EDGE* first_edge() const { return edge(0); }

protected:
    ~WIRE() override = default;
};
