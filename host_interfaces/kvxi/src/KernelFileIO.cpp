#include "KernelFileIO.h"

#include <orik/ENTITY_LIST.h>
#include <orik/OrikFiles.h>
#include <platform/CodePage.h>

namespace tam {
namespace {

// The kernel's own text for its error number.
std::string KernelText(const outcome& result) {
    const char* text = find_err_mess(result.error_number());
    return text != nullptr ? text : "";
}

KVXIResult ReadFailure(const outcome& result) {
    switch (result.error_number()) {
        case ORIK_FILE_OPEN_FAILED:
            return KVXIResult(KVXIResult::FileNotFound);
        case ORIK_FILE_DAMAGED:
        case ORIK_FILE_VERSION:
        case ORIK_FILE_NESTING:
            return KVXIResult(KVXIResult::ReadFailed, KernelText(result));
        default:
            return KVXIResult(KVXIResult::KernelError, KernelText(result));
    }
}

KVXIResult WriteFailure(const outcome& result) {
    switch (result.error_number()) {
        case ORIK_FILE_OPEN_FAILED:
        case ORIK_FILE_WRITE_FAILED:
            return KVXIResult(KVXIResult::WriteFailed);
        default:
            return KVXIResult(KVXIResult::KernelError);
    }
}

}  // namespace

KVXIResult LoadKernelFile(const std::string& path, std::vector<ENTITY*>& entities) {
    ENTITY_LIST list;
    const outcome result = api_restore_entity_list(tam::Utf8ToWideReplacing(path).c_str(), list);
    if (!result.ok())
        return ReadFailure(result);
    for (int i = 0; i < list.count(); ++i)
        entities.push_back(list[i]);
    return KVXIResult(list.count() > 0 ? KVXIResult::Success : KVXIResult::NoEntities);
}

KVXIResult SaveKernelFile(const std::vector<ENTITY*>& entities, const std::string& path,
                          bool binary) {
    if (entities.empty())
        return KVXIResult(KVXIResult::NoEntities);
    ENTITY_LIST list;
    for (ENTITY* entity : entities)
        list.add(entity);
    const outcome result =
        api_save_entity_list(tam::Utf8ToWideReplacing(path).c_str(), list, binary ? TRUE : FALSE);
    return result.ok() ? KVXIResult() : WriteFailure(result);
}

}  // namespace tam
