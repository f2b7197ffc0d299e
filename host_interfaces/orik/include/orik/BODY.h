// A body: a placed solid, shell, sheet or wire body. Its geometry is kept in its own
// coordinates; where it lies in the model is its transform.
#pragma once

#include <orik/ENTITY.h>

class KVXtransf;

// A body. Bodies placing the same part share one geometry and its facets, but each has its own
// faces, edges, wires and vertices (own attributes, colors and owners).
class BODY : public ENTITY {
public:
    explicit BODY(orik::EntityData* data) : ENTITY(data) {}
    int identity() const override { return ORIK_BODY_TYPE; }
    const char* type_name() const override { return "body"; }

    // The body's placement, or null when the body is not placed (identity). Owned by the body.
    const KVXtransf* transform() const;

protected:
    ~BODY() override = default;
};

// TRUE when the body holds at least one shell and every shell is closed (no free boundary
// edge), i.e. it encloses a volume; FALSE for sheets, wire bodies, null and non-bodies.
logical is_closed_solid_body(const BODY* body);
