// A working coordinate system: an origin and three orthonormal axes.
#pragma once

#include <orik/ENTITY.h>

// A coordinate system entity (made with api_wcs_create). It carries no geometry to facet.
class WCS : public ENTITY {
public:
    explicit WCS(orik::EntityData* data) : ENTITY(data) {}
    int identity() const override { return ORIK_WCS_TYPE; }
    const char* type_name() const override { return "wcs"; }

    SPAposition origin() const;
    SPAunit_vector x_axis() const;
    SPAunit_vector y_axis() const;
    SPAunit_vector z_axis() const;

protected:
    ~WCS() override = default;
};
