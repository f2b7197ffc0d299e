// Faceting tolerances derived from the model size or the host's explicit settings.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamsgdb/sglModelLoader.h>

#include <algorithm>
#include <cmath>

#include "TamCADTools.h"

namespace {

// Tolerances used when the host does not set them explicitly.
constexpr double kDefaultSurfaceTolerance = 100.0;
constexpr double kDefaultNormalTolerance = 120.0;
constexpr double kNoEdgeLimit = -1.0;
constexpr int kGridLines = 2048;

// Length of the box diagonal; 0 for an empty box (nothing to scale the tolerances by).
float DiagonalLength(const sglBoxBound& box) {
    if (box.isEmpty())
        return 0.0f;
    const sglVec3<float> size = box.getMax() - box.getMin();
    return std::sqrt(size[0] * size[0] + size[1] * size[1] + size[2] * size[2]);
}

bool HasSameCorners(const sglBoxBound& box) {
    return box.getMin() == box.getMax();
}

sglVec3<float> ToVec3f(const SPAposition& p) {
    return sglVec3<float>(static_cast<float>(p.x()), static_cast<float>(p.y()),
                          static_cast<float>(p.z()));
}

// Explicit tolerances: each host value when switched on and positive, else the default.
void SetExplicitTolerances(REFINEMENT& refinement, bool& surfaceTolSet) {
    const bool chordal =
        sglModelLoader::m_sbSetChordalError && sglModelLoader::m_fChordalErrorValue > 0.0f;
    refinement.set_surface_tol(chordal ? sglModelLoader::m_fChordalErrorValue
                                       : kDefaultSurfaceTolerance);
    surfaceTolSet = chordal;
    const bool normal =
        sglModelLoader::m_sbSetNormalDeviation && sglModelLoader::m_fNormalDeviationValue > 0.0f;
    refinement.set_normal_tol(normal ? sglModelLoader::m_fNormalDeviationValue
                                     : kDefaultNormalTolerance);
    const bool edge =
        sglModelLoader::m_sbSetEdgeLength && sglModelLoader::m_fEdgeLengthValue > 0.0f;
    refinement.set_max_edge_length(edge ? sglModelLoader::m_fEdgeLengthValue : kNoEdgeLimit);
    refinement.set_max_grid_lines(kGridLines);
}

// Relative tolerances from the diagonal of the box and the quality slider r (0 coarse, 1 fine).
void SetRelativeTolerances(REFINEMENT& refinement, float diagonal, bool& surfaceTolSet) {
    const float r = sglModelLoader::m_fRefinement;
    const double k = 1.0 - r;
    refinement.set_max_edge_length(kNoEdgeLimit);
    if (sglModelLoader::m_suiRelativeRefinementFunction != 0) {
        // Angle-based: the slider drives the normal deviation, from 60 degrees down to 5.
        const float deviation = static_cast<float>(60.0 * k * k);
        refinement.set_normal_tol(std::max(5.0, static_cast<double>(deviation)));
        refinement.set_surface_tol(diagonal / 10.0);
        refinement.set_max_grid_lines(kGridLines);
        return;
    }
    // Size-based: the chordal error is a fraction of the diagonal, 0.405 % down to 0.005 %.
    refinement.set_normal_tol(kDefaultNormalTolerance);
    const double fraction = 0.004 * k * k * k * k + 0.00005;
    refinement.set_surface_tol(static_cast<float>(fraction * diagonal));
    const float gridLines = r * 200.0f;
    refinement.set_max_grid_lines(
        static_cast<int>(std::max(static_cast<double>(kGridLines), gridLines + 1.0)));
    surfaceTolSet = true;
}

}  // namespace

void CTamCADLoader::UpdateRefinement(ENTITY_LIST& entities) {
    bool hasGeometry = false;
    entities.init();
    for (ENTITY* entity = entities.next(); entity != nullptr && !hasGeometry;
         entity = entities.next()) {
        hasGeometry = !is_VERTEX(entity) && !is_WCS(entity);
    }
    if (!hasGeometry)
        return;
    SPAposition low;
    SPAposition high;
    outcome result = api_get_entity_box(entities, nullptr, low, high, 0, m_pOptions);
    if (!CTamCADTools::check_api_outcome(result))
        return;
    UpdateRefinement(sglBoxBound(ToVec3f(low), ToVec3f(high)));
}

void CTamCADLoader::UpdateRefinement(sglBoxBound box) {
    m_bSurfaceTolSet = false;
    if (m_pRefinement == nullptr)
        api_create_refinement(m_pRefinement, m_pOptions).ignore();
    if (m_pRefinement == nullptr)
        return;
    REFINEMENT& refinement = *m_pRefinement;
    refinement.set_mode(1);
    refinement.set_grid_mode(AF_GRID_TO_EDGES);
    refinement.set_adjust_mode(AF_ADJUST_NONE);
    refinement.set_surf_mode(AF_SURF_ALL);
    refinement.set_aspect_ratio(0.0);
    if (sglModelLoader::m_suiRefinementType != 0) {
        SetExplicitTolerances(refinement, m_bSurfaceTolSet);
        return;
    }
    // The tolerance follows the size of everything that will be in the host's scene.
    const sglBoxBound scene = sglModelLoader::GetBBox();
    if (!HasSameCorners(scene))
        box.expandToInclude(scene);
    SetRelativeTolerances(refinement, DiagonalLength(box), m_bSurfaceTolSet);
}
