// The kernel's own text and binary files, read into and written from kernel entities.
#pragma once

#include <kvxi/KVXIResult.h>

#include <string>
#include <vector>

class ENTITY;

namespace tam {

// Reads a kernel file (text or binary, told apart by content); the new top-level entities are
// appended to `entities` and owned by the caller.
KVXIResult LoadKernelFile(const std::string& path, std::vector<ENTITY*>& entities);
// Writes entities (read only) to a kernel file in text or binary form.
KVXIResult SaveKernelFile(const std::vector<ENTITY*>& entities, const std::string& path,
                          bool binary);

}  // namespace tam
