// Starting and stopping the modeller, its components and options, and the API bracket.
#include "ApiFrame.h"
#include "Kernel.h"

#include <orik/OrikKernelApi.h>

using orik::Kernel;
using orik::require;
using orik::runApi;

outcome api_start_modeller(int /*memory_size*/) {
    return runApi(
        "api_start_modeller",
        [] {
            Kernel::instance().start();
            return outcome();
        },
        true);
}

outcome api_stop_modeller() {
    return runApi("api_stop_modeller", [] {
        Kernel::instance().stop();
        return outcome();
    });
}

logical api_modeller_running() {
    return Kernel::instance().running() ? TRUE : FALSE;
}

namespace {

outcome changeComponent(const char* call, const char* component, int delta) {
    return runApi(call, [component, delta] {
        int* count = Kernel::instance().componentCount(component);
        require(delta > 0 || *count > 0, ORIK_NOT_INITIALIZED);
        *count += delta;
        return outcome();
    });
}

}  // namespace

// The initialize and terminate pair of one component, each reporting under its own name.
#define ORIK_COMPONENT_CALLS(component)                                      \
    outcome api_initialize_##component() {                                   \
        return changeComponent("api_initialize_" #component, #component, 1); \
    }                                                                        \
    outcome api_terminate_##component() {                                    \
        return changeComponent("api_terminate_" #component, #component, -1); \
    }

ORIK_COMPONENT_CALLS(kernel)
ORIK_COMPONENT_CALLS(spline)
ORIK_COMPONENT_CALLS(intersectors)
ORIK_COMPONENT_CALLS(euler_ops)
ORIK_COMPONENT_CALLS(faceter)
ORIK_COMPONENT_CALLS(constructors)
ORIK_COMPONENT_CALLS(generic_attributes)

#undef ORIK_COMPONENT_CALLS

int api_component_init_count(const char* component) {
    if (component == nullptr || !Kernel::instance().running())
        return -1;
    const int* count = Kernel::instance().componentCount(component);
    return count ? *count : -1;
}

outcome api_set_int_option(const char* name, int value) {
    return runApi("api_set_int_option", [name, value] {
        require(name != nullptr, ORIK_BAD_ARGUMENT);
        auto& options = Kernel::instance().intOptions;
        const auto found = options.find(name);
        require(found != options.end(), ORIK_UNKNOWN_OPTION);
        found->second = value;
        return outcome();
    });
}

outcome api_get_int_option(const char* name, int& value) {
    return runApi("api_get_int_option", [name, &value] {
        require(name != nullptr, ORIK_BAD_ARGUMENT);
        const auto& options = Kernel::instance().intOptions;
        const auto found = options.find(name);
        require(found != options.end(), ORIK_UNKNOWN_OPTION);
        value = found->second;
        return outcome();
    });
}

outcome api_logging(logical on) {
    return runApi("api_logging", [on] {
        Kernel::instance().logging = on != FALSE;
        return outcome();
    });
}

outcome api_set_file_info(unsigned long mask, const FileInfo& info) {
    return runApi("api_set_file_info", [mask, &info] {
        require((mask & ~(unsigned long)(FILEINFO_PRODUCT_ID | FILEINFO_UNITS)) == 0,
                ORIK_BAD_ARGUMENT);
        FileInfo& current = Kernel::instance().fileInfo;
        if (mask & FILEINFO_PRODUCT_ID)
            current.set_product_id(info.product_id());
        if (mask & FILEINFO_UNITS) {
            require(info.units() > 0.0, ORIK_BAD_ARGUMENT);
            current.set_units(info.units());
        }
        return outcome();
    });
}

outcome api_get_file_info(FileInfo& info) {
    return runApi("api_get_file_info", [&info] {
        info = Kernel::instance().fileInfo;
        return outcome();
    });
}

void api_bb_begin() {
    Kernel::instance().brackets.emplace_back();
}

outcome api_bb_end() {
    auto& brackets = Kernel::instance().brackets;
    if (brackets.empty())
        return outcome();
    const outcome result = brackets.back();
    brackets.pop_back();
    // A failure inside a nested bracket is also a failure of the enclosing one.
    Kernel::instance().recordInBracket(result);
    return result;
}
