// What the STEP and IGES targets share: the running translator and kernel, and one conversion
// of the input, written to a file of the scratch folder, into kernel entities.
#pragma once

#include <kvxi/kvxi.h>
#include <orik/orik.h>

#include "fuzz_support.h"

namespace tamfuzz {

inline int StartTranslator() {
    KVXISystem::SetMessageHandler(nullptr);
    const bool started =
        KVXISystem::Initialize().IsSuccess() && api_start_modeller(0).error_number() == ORIK_OK;
    return started ? 0 : 1;
}

inline void Translate(const std::uint8_t* data, std::size_t size, const char* type,
                      const std::string& fileName) {
    KVXIDocument source(WriteFile(fileName, data, size));
    source.SetType(type);
    KVXIOrikDocument target;
    KVXIConverter converter;
    converter.Convert(source, target);
    ENTITY_LIST* entities = nullptr;
    if (target.GetEntities(entities).IsSuccess() && entities != nullptr) {
        api_del_entity_list(*entities).ignore();
        delete entities;
    }
}

}  // namespace tamfuzz
