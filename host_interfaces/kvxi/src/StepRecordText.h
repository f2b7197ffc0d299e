// A plain-text pass over the data section of a STEP file, for the few references Open CASCADE
// 7.6's parser drops (a styled item whose item is a record type it does not know).
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace tam {

// For every record numbered in `records`, the record number its top-level parameter at
// `position` (0 for the first) refers to. Records whose parameter is not a plain reference, and
// records not found, are left out. An unreadable file gives an empty map.
std::unordered_map<int, int> ReferencesAtParameter(const std::string& path,
                                                   const std::unordered_set<int>& records,
                                                   int position);

}  // namespace tam
