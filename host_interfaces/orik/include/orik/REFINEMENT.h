// Faceting tolerances attached to entities (api_create_refinement, api_set_entity_refinement).
#pragma once

#include <orik/ORIK_OBJECT.h>

// How a surface grid is laid out. The mesher is an unstructured one: the grid modes are kept
// and reported but do not change the mesh.
enum AF_GRID_MODE {
    AF_GRID_NONE = 0,
    AF_GRID_INTERIOR = 1,
    AF_GRID_ONE_DIR = 2,
    AF_GRID_TO_EDGES = 3,
};

// Whether nodes are moved after gridding (kept and reported; no effect on the mesh).
enum AF_ADJUST_MODE {
    AF_ADJUST_NONE = 0,
    AF_ADJUST_NON_GRID = 1,
    AF_ADJUST_ALL = 2,
};

// Which surfaces the refinement applies to (kept and reported; it applies to all surfaces).
enum AF_SURF_MODE {
    AF_SURF_ALL = 0,
    AF_SURF_REGULAR = 1,
    AF_SURF_IRREGULAR = 2,
};

// A set of faceting tolerances. Created by api_create_refinement and owned by the kernel, which
// deletes it at api_stop_modeller; callers never delete it. Changing a refinement in place
// affects every later faceting of the entities it is attached to.
//
// Used by the mesher: surface_tol (chordal deviation in model units; <= 0: derived from the
// body size, 1/1000 of its box diagonal), normal_tol (angular deviation in degrees; <= 0: 15),
// max_edge_length (longest triangle side; <= 0: no limit). The other values are recorded.
class REFINEMENT : public ORIK_OBJECT {
public:
    REFINEMENT() = default;

    void set_mode(int mode) { mode_ = mode; }
    int get_mode() const { return mode_; }
    void set_grid_mode(AF_GRID_MODE mode) { grid_mode_ = mode; }
    AF_GRID_MODE get_grid_mode() const { return grid_mode_; }
    void set_adjust_mode(AF_ADJUST_MODE mode) { adjust_mode_ = mode; }
    AF_ADJUST_MODE get_adjust_mode() const { return adjust_mode_; }
    void set_surf_mode(AF_SURF_MODE mode) { surf_mode_ = mode; }
    AF_SURF_MODE get_surf_mode() const { return surf_mode_; }
    void set_aspect_ratio(double ratio) { aspect_ratio_ = ratio; }
    double get_aspect_ratio() const { return aspect_ratio_; }
    void set_surface_tol(double tol) { surface_tol_ = tol; }
    double get_surface_tol() const { return surface_tol_; }
    void set_normal_tol(double degrees) { normal_tol_ = degrees; }
    double get_normal_tol() const { return normal_tol_; }
    void set_max_edge_length(double length) { max_edge_length_ = length; }
    double get_max_edge_length() const { return max_edge_length_; }
    void set_max_grid_lines(int lines) { max_grid_lines_ = lines; }
    int get_max_grid_lines() const { return max_grid_lines_; }

private:
    int mode_ = 1;
    AF_GRID_MODE grid_mode_ = AF_GRID_TO_EDGES;
    AF_ADJUST_MODE adjust_mode_ = AF_ADJUST_NONE;
    AF_SURF_MODE surf_mode_ = AF_SURF_ALL;
    double aspect_ratio_ = 0.0;
    double surface_tol_ = -1.0;
    double normal_tol_ = -1.0;
    double max_edge_length_ = -1.0;
    int max_grid_lines_ = 2048;
};
