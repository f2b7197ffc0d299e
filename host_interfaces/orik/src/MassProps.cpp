// Mass properties of bodies.
#include "ApiFrame.h"
#include "EntityData.h"
#include "ShapeProps.h"

#include <orik/BODY.h>
#include <orik/OrikGeometryApi.h>

#include <GProp_GProps.hxx>
#include <GProp_PrincipalProps.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Compound.hxx>

#include <cmath>

using orik::require;
using orik::requireAlive;
using orik::runApi;

void mass_props::get_p_axes(SPAunit_vector& axis1, SPAunit_vector& axis2,
                            SPAunit_vector& axis3) const {
    axis1 = axes_[0];
    axis2 = axes_[1];
    axis3 = axes_[2];
}

void mass_props::get_p_moments(double& moment1, double& moment2, double& moment3) const {
    moment1 = moments_[0];
    moment2 = moments_[1];
    moment3 = moments_[2];
}

void mass_props::set_volume(double volume, double relative_error) {
    volume_ = volume;
    volume_error_ = relative_error;
}

void mass_props::set_principal(const SPAunit_vector axes[3], const double moments[3]) {
    for (int i = 0; i < 3; ++i) {
        axes_[i] = axes[i];
        moments_[i] = moments[i];
    }
}

namespace {

// Whether the shape holds closed shells, and whether it holds anything open. Shells of
// mesh-only faces are closed when their triangles are.
struct Closure {
    bool closedShells = false;
    bool openParts = false;
};

Closure closureOf(const TopoDS_Shape& shape) {
    Closure closure;
    closure.openParts = TopExp_Explorer(shape, TopAbs_FACE, TopAbs_SHELL).More();
    for (TopExp_Explorer it(shape, TopAbs_SHELL); it.More(); it.Next()) {
        (orik::isClosedShell(it.Current()) ? closure.closedShells : closure.openParts) = true;
    }
    return closure;
}

SPAunit_vector unit(const gp_Vec& v) {
    const double length = v.Magnitude();
    return length > 0.0 ? SPAunit_vector(v.X() / length, v.Y() / length, v.Z() / length)
                        : SPAunit_vector();
}

// Fills props from integrated properties up to the requested level.
void fill(const GProp_GProps& gprops, double volume, double error, mass_props_level level,
          mass_props& props) {
    props.set_volume(volume, error);
    if (level >= VOLUME_AND_CENTROID) {
        const gp_Pnt c = gprops.CentreOfMass();
        props.set_centroid(SPAposition(c.X(), c.Y(), c.Z()));
    }
    if (level >= VOLUME_CENTROID_AND_INERTIA) {
        const GProp_PrincipalProps principal = gprops.PrincipalProperties();
        SPAunit_vector axes[3] = {unit(principal.FirstAxisOfInertia()),
                                  unit(principal.SecondAxisOfInertia()), SPAunit_vector()};
        const gp_Vec third = gp_Vec(axes[0].x(), axes[0].y(), axes[0].z())
                                 .Crossed(gp_Vec(axes[1].x(), axes[1].y(), axes[1].z()));
        axes[2] = unit(third);
        double moments[3];
        principal.Moments(moments[0], moments[1], moments[2]);
        for (double& moment : moments)
            moment = std::fabs(moment);
        props.set_principal(axes, moments);
    }
    props.set_level_used(level);
}

// Volume properties; onlyClosed leaves open shells out of the integration.
void volumeProps(const TopoDS_Shape& shape, const mass_props_options& options, bool onlyClosed,
                 mass_props& props) {
    GProp_GProps gprops;
    const double error =
        orik::addVolumeProps(shape, options.get_req_rel_accy(), onlyClosed, gprops);
    // A body whose faces point inwards integrates to a negative mass.
    fill(gprops, std::fabs(gprops.Mass()), error, options.get_level(), props);
}

// Sheets taken as zero-thickness: volume 0, centroid and axes of their area.
void sheetProps(const TopoDS_Shape& shape, const mass_props_options& options, mass_props& props) {
    GProp_GProps gprops;
    const double error = orik::addSurfaceProps(shape, options.get_req_rel_accy(), gprops);
    fill(gprops, 0.0, error, options.get_level(), props);
}

}  // namespace

outcome api_body_mass_props(BODY* body, mass_props& props, const mass_props_options* mp_options,
                            OrikOptions*) {
    return runApi("api_body_mass_props", [body, &props, mp_options] {
        requireAlive(body);
        require(is_BODY(body), ORIK_WRONG_ENTITY_TYPE);
        const mass_props_options options = mp_options ? *mp_options : mass_props_options();
        const int sheetOption = options.get_one_sided_sheet_opt();
        require(sheetOption >= 0 && sheetOption <= 2 && options.get_req_rel_accy() > 0.0,
                ORIK_BAD_ARGUMENT);
        const TopoDS_Shape& shape = body->data().shape;
        require(TopExp_Explorer(shape, TopAbs_FACE).More(), ORIK_NO_GEOMETRY);
        props = mass_props();
        const Closure closure = closureOf(shape);
        if (!closure.openParts) {
            volumeProps(shape, options, false, props);
        } else if (sheetOption == 0) {
            throw orik_exception(ORIK_ONE_SIDED_SHEETS);
        } else if (sheetOption == 1) {
            volumeProps(shape, options, false, props);
        } else if (closure.closedShells) {
            volumeProps(shape, options, true, props);
        } else {
            sheetProps(shape, options, props);
        }
        return outcome();
    });
}
