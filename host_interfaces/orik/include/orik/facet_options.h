// Options of one api_facet_entity call.
#pragma once

#include <orik/ORIK_OBJECT.h>

// Faceting options. The attached REFINEMENT decides the tolerances; these options choose how
// results are shared and how long one face may take. Owned by the caller.
class facet_options : public ORIK_OBJECT {
public:
    facet_options() = default;
    // When TRUE (the default), a face already faceted at the same tolerances is not faceted
    // again; its cached facets are announced once more.
    void set_reuse_facets(int reuse) { reuse_facets_ = reuse; }
    int get_reuse_facets() const { return reuse_facets_; }
    // Seconds that meshing one face may take (default 10); a face that takes longer is abandoned
    // and the call fails. Zero or less: no limit.
    void set_time_limit(double seconds) { time_limit_ = seconds; }
    double get_time_limit() const { return time_limit_; }

private:
    int reuse_facets_ = 1;
    double time_limit_ = 10.0;
};

// The full option set; default-constructed it behaves like facet_options.
class facet_options_expert : public facet_options {
public:
    facet_options_expert() = default;
};
