// CAD model loads through the re-import cache. An entry holds the translated entities and their
// face meshes in the kernel's binary form; it is keyed by the file's content, the settings that
// change the entities or their meshes, and the identity of the libraries doing the work. A hit
// skips the translation and, at the same tolerances, the meshing; the library's entity walk runs
// as on a miss, so the scene is the one a fresh import makes.
#pragma once

#include "ImportCache.h"

#include <memory>
#include <optional>
#include <string>

class CTamDBRoot;

namespace tam {

// The cache that CAD model loads go through; null (the default) loads without one.
void setImportCache(std::unique_ptr<ImportCache> cache);
const ImportCache* importCache();

// The key of a CAD file's entry under the registry's current settings: the library identity,
// the type tag, the file's content hash and size, and every setting that changes the entities or
// their meshes. Nothing when the file cannot be read.
std::optional<std::string> cadCacheKey(const std::wstring& path, const wchar_t* typeTag,
                                       const std::string& libraryIdentity);

// Every shared object of this process, and our libraries beside them that load on demand, by
// path, size and modification time, hashed: a rebuilt or updated library changes it.
const std::string& loadedLibrariesIdentity();

// Loads a CAD model in the library's load envelope (flags as for model loaders), through the
// cache when there is one (null loads without): a valid entry replaces the translation and
// sends the translation's messages again; a miss translates and, unless the walk sent a message
// or the load was cancelled, stores the entities with their meshes and the translation's messages
// after the walk.
CTamDBRoot* loadCadModelCached(const std::wstring& path, unsigned int flags, const wchar_t* typeTag,
                               const ImportCache* cache);

}  // namespace tam
