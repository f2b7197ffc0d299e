// What the two kernel file targets share: the running kernel and the check on what reads.
#pragma once

#include <orik/orik.h>

#include <cstdlib>
#include <string>

#include "fuzz_support.h"

namespace tamfuzz {

inline int StartKernel() {
    return api_start_modeller(0).error_number() == ORIK_OK ? 0 : 1;
}

// Restores the file's entities. What restores must save in both forms and restore again to as
// many entities; anything else is a defect of the reader, reported as a crash.
inline void RestoreAndRoundTrip(const std::string& file) {
    ENTITY_LIST entities;
    if (api_restore_entity_list_from_bytes(file.data(), file.size(), entities).error_number() !=
        ORIK_OK)
        return;
    for (logical binary : {FALSE, TRUE}) {
        std::string saved;
        ENTITY_LIST again;
        if (api_save_entity_list_to_bytes(entities, binary, saved).error_number() != ORIK_OK ||
            api_restore_entity_list_from_bytes(saved.data(), saved.size(), again).error_number() !=
                ORIK_OK ||
            again.count() != entities.count())
            std::abort();
        api_del_entity_list(again).ignore();
    }
    api_del_entity_list(entities).ignore();
}

}  // namespace tamfuzz
