#include "ApiFrame.h"

#include <OSD_Signal.hxx>
#include <Standard_OutOfMemory.hxx>

#include <cstdio>

namespace orik {

outcome failureOutcome(const Standard_Failure& failure) {
    if (failure.IsKind(STANDARD_TYPE(OSD_Signal)))
        return outcome(ORIK_SIGNAL_CAUGHT);
    if (failure.IsKind(STANDARD_TYPE(Standard_OutOfMemory)))
        return outcome(ORIK_OUT_OF_MEMORY);
    return outcome(ORIK_MODELLING_FAILURE);
}

outcome finishCall(const char* name, const outcome& result) {
    Kernel& kernel = Kernel::instance();
    kernel.recordInBracket(result);
    if (kernel.logging) {
        std::fprintf(stderr, "orik: %s -> %d %s\n", name, result.error_number(),
                     find_err_mess(result.error_number()));
    }
    return result;
}

}  // namespace orik
