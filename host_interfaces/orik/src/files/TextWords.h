// The words of the text kernel file: entity types, sub-entity kinds and attribute kinds.
#pragma once

#include "KernelDocument.h"

#include <orik/ATTRIB_GEN_NAME.h>
#include <orik/ENTITY.h>

#include <cstring>

namespace orik {
namespace files {

// Entity type words, indexed by OrikEntityType (0 unused).
constexpr const char* kEntityWords[] = {"",     "body",   "face", "edge",
                                        "wire", "vertex", "wcs",  "collection"};
constexpr int kEntityWordCount = 8;
// Sub-entity kind words, indexed by SubEntityKind.
constexpr const char* kKindWords[] = {"face", "edge", "wire", "vertex"};
// Attribute kind words, indexed by OrikAttribType - ATTRIB_GEN_NAME_TYPE.
constexpr const char* kAttributeWords[] = {"name", "entity",  "integer", "position",
                                           "real", "wstring", "string",  "vector"};
constexpr int kAttributeWordCount = 8;

// Index of word in a table of count words, or -1.
inline int wordIndex(const char* const* words, int count, const std::string& word) {
    for (int i = 0; i < count; ++i) {
        if (word == words[i])
            return i;
    }
    return -1;
}

}  // namespace files
}  // namespace orik
