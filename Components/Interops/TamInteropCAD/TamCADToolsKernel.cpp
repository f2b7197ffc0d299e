// The toolbox object itself, kernel and translator start and stop, and entity lists.
#include "TamCADTools.h"

#include <kvxi/KVXISystem.h>
#include <orik/orik.h>

namespace {

// Product identification written into the kernel's file information.
constexpr const char* kProductId = "Orik solid-modeling kernel, TamInteropCAD";
// Default colour of entities without one of their own.
constexpr double kDefaultRed = 0.8;
constexpr double kDefaultGreen = 0.8;
constexpr double kDefaultBlue = 0.9;

void SetFileInformation() {
    FileInfo info;
    info.set_product_id(kProductId);
    info.set_units(1.0);
    api_set_file_info(FILEINFO_PRODUCT_ID | FILEINFO_UNITS, info).ignore();
}

}  // namespace

CTamCADTools::CTamCADTools() = default;

CTamCADTools::CTamCADTools(const CTamCADTools&) = default;

CTamCADTools& CTamCADTools::operator=(const CTamCADTools&) {
    return *this;
}

CTamCADTools::~CTamCADTools() = default;

ENTITY_LIST* CTamCADTools::GetNewENTITY_LIST() {
    return new ENTITY_LIST;
}

void CTamCADTools::DeleteENTITY_LIST(ENTITY_LIST* list) {
    if (list == nullptr)
        return;
    api_del_entity_list(*list).ignore();
}

void CTamCADTools::InitializeImport() {
    KVXISystem::Initialize();
    // Each step is reported on its own; a failing one does not stop the others.
    check_api_outcome(api_start_modeller(0));
    check_api_outcome(api_initialize_kernel());
    check_api_outcome(api_initialize_spline());
    check_api_outcome(api_initialize_intersectors());
    check_api_outcome(api_initialize_euler_ops());
    check_api_outcome(api_initialize_faceter());
    check_api_outcome(api_initialize_constructors());
    check_api_outcome(api_initialize_generic_attributes());
    check_api_outcome(api_set_int_option("adaptive_grid", 1));
    check_api_outcome(api_logging(FALSE));
    check_api_outcome(api_rh_set_default_rgb(rgb_color(kDefaultRed, kDefaultGreen, kDefaultBlue)));
    SetFileInformation();
}

void CTamCADTools::TerminateImport() {
    api_terminate_kernel().ignore();
    api_terminate_spline().ignore();
    api_terminate_intersectors().ignore();
    api_terminate_euler_ops().ignore();
    api_terminate_faceter().ignore();
    api_terminate_constructors().ignore();
    api_terminate_generic_attributes().ignore();
    check_api_outcome(api_stop_modeller());
    KVXISystem::Shutdown();
}
