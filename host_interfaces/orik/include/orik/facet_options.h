// Options of one api_facet_entity call.
#pragma once

#include <orik/ORIK_OBJECT.h>

// Faceting options. The attached REFINEMENT decides the tolerances; these options only choose
// how results are shared. Owned by the caller.
class facet_options : public ORIK_OBJECT {
public:
    facet_options() = default;
    // When TRUE (the default), a face already faceted at the same tolerances is not faceted
    // again; its cached facets are announced once more.
    void set_reuse_facets(int reuse) { reuse_facets_ = reuse; }
    int get_reuse_facets() const { return reuse_facets_; }

private:
    int reuse_facets_ = 1;
};

// The full option set; default-constructed it behaves like facet_options.
class facet_options_expert : public facet_options {
public:
    facet_options_expert() = default;
};
