// Mass properties: a body's volume, centre of gravity and inertia axes, and a face's area.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamsgdb/sglModelLoader.h>

#include <cstring>

#include "TamCADLoaderPrivate.h"
#include "TamCADTools.h"

namespace {

// The kernel's text for bodies whose volume needs the one-sided sheet option.
constexpr const char* kOneSidedSheetsMessage = "body has 1-sided sheets; volume not calculated";
constexpr int kOneSidedSheetsAsArea = 2;

sglVec3<float> ToVec3f(const SPAposition& p) {
    return sglVec3<float>(static_cast<float>(p.x()), static_cast<float>(p.y()),
                          static_cast<float>(p.z()));
}

sglVec3<float> ToVec3f(const SPAvector& v) {
    return sglVec3<float>(static_cast<float>(v.x()), static_cast<float>(v.y()),
                          static_cast<float>(v.z()));
}

}  // namespace

void CTamCADLoader::UpdateCurrentCofg(BODY* body) {
    try {
        mass_props props;
        outcome result = api_body_mass_props(body, props, nullptr, m_pOptions);
        if (result.error_number() != ORIK_OK &&
            std::strcmp(find_err_mess(result.error_number()), kOneSidedSheetsMessage) == 0) {
            mass_props_options options;
            options.set_one_sided_sheet_opt(kOneSidedSheetsAsArea);
            result = api_body_mass_props(body, props, &options, m_pOptions);
        }
        if (result.error_number() != ORIK_OK && !CTamCADTools::check_api_outcome(result)) {
            m_dVolume = -1.0;
            return;
        }
        StoreMassProperties(props);
    } catch (const orik_exception&) {
        sglModelLoader::reportError(tam_loader::kMassPropertiesWarning, 0);
    }
}

void CTamCADLoader::StoreMassProperties(const mass_props& props) {
    const int level = props.get_level_used();
    if (level == -1) {
        m_dVolume = -1.0;
        return;
    }
    if (level < VOLUME_ONLY || level > VOLUME_CENTROID_AND_INERTIA)
        return;
    m_dVolume = props.get_volume();
    if (level >= VOLUME_AND_CENTROID)
        m_vCofG = ToVec3f(props.get_centroid());
    if (level == VOLUME_CENTROID_AND_INERTIA) {
        SPAunit_vector axes[3];
        props.get_p_axes(axes[0], axes[1], axes[2]);
        for (int i = 0; i < 3; ++i)
            m_vInertiaAxes[i] = ToVec3f(axes[i]);
    }
}

void CTamCADLoader::MeasureArea(ENTITY* face, OrikOptions* options) {
    double accuracyAchieved = 0.0;
    api_ent_area(face, tam_loader::kAreaAccuracy, m_dArea, accuracyAchieved, options).ignore();
}
