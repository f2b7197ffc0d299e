// Results and options of api_body_mass_props.
#pragma once

#include <orik/OrikTypes.h>

// Levels of mass properties: volume only, volume and centroid, or also inertia.
enum mass_props_level {
    VOLUME_ONLY = 0,
    VOLUME_AND_CENTROID = 1,
    VOLUME_CENTROID_AND_INERTIA = 2,
};

// Mass properties of a body (uniform density 1). get_level_used() is -1 until computed.
class mass_props {
public:
    mass_props() = default;
    // The level computed (mass_props_level), or -1 when nothing was computed.
    int get_level_used() const { return level_used_; }
    double get_volume() const { return volume_; }
    // Relative accuracy reached by the volume integration.
    double get_volume_error() const { return volume_error_; }
    const SPAposition& get_centroid() const { return centroid_; }
    // The principal axes of inertia (unit vectors, right-handed), about the centroid.
    void get_p_axes(SPAunit_vector& axis1, SPAunit_vector& axis2, SPAunit_vector& axis3) const;
    // The principal moments of inertia belonging to the three axes.
    void get_p_moments(double& moment1, double& moment2, double& moment3) const;

    // Filled by the kernel.
    void set_level_used(int level) { level_used_ = level; }
    void set_volume(double volume, double relative_error);
    void set_centroid(const SPAposition& centroid) { centroid_ = centroid; }
    void set_principal(const SPAunit_vector axes[3], const double moments[3]);

private:
    int level_used_ = -1;
    double volume_ = 0.0;
    double volume_error_ = 0.0;
    SPAposition centroid_;
    SPAunit_vector axes_[3] = {SPAvector(1, 0, 0), SPAvector(0, 1, 0), SPAvector(0, 0, 1)};
    double moments_[3] = {0.0, 0.0, 0.0};
};
