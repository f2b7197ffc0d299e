#include "OrikFiles.h"

namespace tam {

// The kernel's file API is not available yet: both directions report that the format cannot
// be handled, so callers get a clear failure instead of a half-done conversion.
KVXIResult LoadKernelFile(const std::string&, std::vector<ENTITY*>&) {
    return KVXIResult(KVXIResult::UnsupportedSourceType);
}

KVXIResult SaveKernelFile(const std::vector<ENTITY*>&, const std::string&, bool) {
    return KVXIResult(KVXIResult::UnsupportedTargetType);
}

}  // namespace tam
