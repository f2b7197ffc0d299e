// Geometric measurements: boxes, areas, mass properties and edge sampling.
#pragma once

#include <orik/ENTITY_LIST.h>
#include <orik/OrikOptions.h>
#include <orik/mass_props.h>
#include <orik/mass_props_options.h>
#include <orik/outcome.h>

class BODY;
class EDGE;
class ENTITY;
class WCS;

// Bounding box of all entities of the list in model coordinates (body transforms applied;
// slightly enlarged by the geometry's tolerance). wcs, when given, must be null: boxes in other
// systems are not supported (ORIK_BAD_ARGUMENT). box_mode is reserved (pass 0). An empty list,
// or one whose entities have no geometry, gives ORIK_NO_ENTITIES.
outcome api_get_entity_box(const ENTITY_LIST& entities, WCS* wcs, SPAposition& low,
                           SPAposition& high, int box_mode = 0, OrikOptions* options = nullptr);
// The same for one entity.
outcome api_get_entity_box(ENTITY* entity, WCS* wcs, SPAposition& low, SPAposition& high,
                           int box_mode = 0, OrikOptions* options = nullptr);

// Surface area of a face, a body or any entity with faces. req_rel_accy is the requested
// relative accuracy: values in (0, 0.01) are met, larger or non-positive values get 0.01.
// est_rel_accy_achieved receives the integration's estimate.
outcome api_ent_area(ENTITY* entity, double req_rel_accy, double& area,
                     double& est_rel_accy_achieved, OrikOptions* options = nullptr);

// Volume, centroid and principal axes of a body (density 1, body's own coordinates, i.e.
// without its transform). A body that encloses no volume gives ORIK_ONE_SIDED_SHEETS unless
// the one-sided sheet option says otherwise (see mass_props_options). A body with neither
// faces nor volume gives ORIK_NO_GEOMETRY.
outcome api_body_mass_props(BODY* body, mass_props& props,
                            const mass_props_options* mp_options = nullptr,
                            OrikOptions* options = nullptr);

// Samples an edge into points with chordal deviation at most `tolerance` (angle_tol in degrees
// and max_length limit the step further when > 0). At most max_points points are returned;
// when the tolerance needs more, exactly max_points + 1 points are returned (a coarser, evenly
// spaced sampling) so that callers can tell. Points are in the edge's coordinates (see
// EDGE::start_pos); params are the curve parameters. points and params are new arrays that the
// caller releases with delete[]; both are null when the call fails.
outcome api_facet_edge(EDGE* edge, double tolerance, double angle_tol, double max_length,
                       int max_points, int& count, SPAposition*& points, double*& params,
                       OrikOptions* options = nullptr);
