// Kernel entities made for one conversion step only (a part file, a file-to-kernel-file write):
// they are deleted through the kernel when the holder goes, unless handed on before.
#pragma once

#include <orik/ENTITY.h>

#include <vector>

namespace tam {

class TemporaryEntities {
public:
    TemporaryEntities() = default;
    TemporaryEntities(const TemporaryEntities&) = delete;
    TemporaryEntities& operator=(const TemporaryEntities&) = delete;
    ~TemporaryEntities();

    // Cleared by whoever takes the entities over.
    std::vector<ENTITY*> entities;
};

}  // namespace tam
