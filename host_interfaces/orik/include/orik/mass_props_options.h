// Options of api_body_mass_props.
#pragma once

#include <orik/mass_props.h>

// Options of api_body_mass_props. Level: what to compute (default all). One-sided sheet option:
// 0 (default) refuses bodies that enclose no volume with ORIK_ONE_SIDED_SHEETS;
// 1 integrates open shells as if they were closed; 2 gives open shells volume 0 and takes the
// centroid and axes from their area (bodies with closed shells use those shells only).
class mass_props_options {
public:
    mass_props_options() = default;
    void set_level(mass_props_level level) { level_ = level; }
    mass_props_level get_level() const { return level_; }
    // Requested relative accuracy of the integration (> 0).
    void set_req_rel_accy(double accuracy) { req_rel_accy_ = accuracy; }
    double get_req_rel_accy() const { return req_rel_accy_; }
    // Values 0, 1 or 2 as described above; others are refused by api_body_mass_props.
    void set_one_sided_sheet_opt(int option) { one_sided_sheet_opt_ = option; }
    int get_one_sided_sheet_opt() const { return one_sided_sheet_opt_; }

private:
    mass_props_level level_ = VOLUME_CENTROID_AND_INERTIA;
    double req_rel_accy_ = 1e-4;
    int one_sided_sheet_opt_ = 0;
};
