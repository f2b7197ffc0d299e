// Plain exported functions of the library: the entries the host's loader registry calls by file
// type, and the two translations. Each builds its own CTamCADLoader and destroys it on return.
#pragma once

#include "TamInteropCADExport.h"

#include <functional>
#include <list>
#include <string>

class CTamCADLoader;
class CTamDBRoot;
class ENTITY_LIST;

// Bits of the flags word read by loadModelOKT and loadModelOKB; every other bit is passed on
// untouched. Only bit 7 of the low byte asks for the start.
constexpr unsigned int TAM_FLAG_START_KERNEL = 0x80;
constexpr unsigned int TAM_FLAG_STOP_KERNEL = 0x100;

// Converts a CAD file into the format the target path implies; starts and stops the kernel
// itself. True when the target was written, false when nothing was loaded or written.
TAMINTEROPCAD_API bool Translate(const wchar_t* sourcePath, const wchar_t* targetPath);

// Loads the source once and writes it to every target in list order (targets not null); starts
// and stops the kernel itself. Returns a new model root owned by the caller, whose scene root is
// the source's scene graph (null when nothing was loaded).
TAMINTEROPCAD_API CTamDBRoot* TranslateInListFile(const std::wstring& sourcePath,
                                                  std::list<std::wstring>* targetPaths);

// Routes a CAD file to the host registry's model loader for its type, flags passed on unchanged.
// The registry's result (a model root owned by the caller), null included.
TAMINTEROPCAD_API CTamDBRoot* LoadModelCAD(const wchar_t* path, unsigned int flags);

// Loads a kernel text file into a new model root owned by the caller (null scene root when
// nothing was loaded). Flag 0x80 starts the kernel before the load, 0x100 stops it after.
TAMINTEROPCAD_API CTamDBRoot* loadModelOKT(const std::wstring& path, unsigned int flags);

// Loads a kernel binary file; otherwise as loadModelOKT.
TAMINTEROPCAD_API CTamDBRoot* loadModelOKB(const std::wstring& path, unsigned int flags);

// Reads a kernel file (text or binary) into a new entity list owned by the caller, or null. The
// kernel must be running. Exported under both names; they are one function.
TAMINTEROPCAD_API ENTITY_LIST* loadEntitiesOKB(const std::wstring& path);
TAMINTEROPCAD_API ENTITY_LIST* loadEntitiesOKT(const std::wstring& path);

// Writes the entities (read, not changed) to path in the format the path implies. False at once
// for a null list, false when the write failed. The kernel must be running. Exported under both
// names; they are one function.
TAMINTEROPCAD_API bool writeModelOKB(const std::wstring& path, ENTITY_LIST* entities);
TAMINTEROPCAD_API bool writeModelOKT(const std::wstring& path, ENTITY_LIST* entities);

namespace tam {

// The envelope of loadModelOKT and loadModelOKB, for other plug-ins of the host registry: starts
// the kernel when the flags word asks (bit 7 of the low byte), builds a loader, runs load with
// it, and stops the kernel when the word asks (0x100) while the loader still exists.
TAMINTEROPCAD_API CTamDBRoot* LoadWithKernelFlags(
    unsigned int flags, const std::function<CTamDBRoot*(CTamCADLoader&)>& load);

// Starts the kernel when the flags word asks for it, as the envelope does; for entity loads,
// which leave the kernel running for the caller.
TAMINTEROPCAD_API void StartKernelIfAsked(unsigned int flags);

// Deletes the entities of a list the translator handed out, then the list object itself. A null
// list is ignored.
TAMINTEROPCAD_API void ReleaseEntityList(ENTITY_LIST* list);

}  // namespace tam
