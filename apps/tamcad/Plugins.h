// tamcad's plug-ins in the host loader registry (sglModelLoader), by lower-case extension:
//   okt, okb                         the library's kernel-file functions (loadModelOKT ...)
//   step, stp, p21, igs, iges, brep, rle   the CAD plug-in below
//   writes to okt, okb, step, stp, igs, iges, brep, stl   the translator, by target extension
#pragma once

#include <string>

class CTamDBRoot;
class ENTITY_LIST;

namespace tam {

// Registers every handler above (again: a second call replaces them).
void registerPlugins();

// The translator type tag of a CAD file by its extension ("STEP", "IGES", "BREP"), or null
// when the extension is not one of the CAD plug-in's.
const wchar_t* cadTypeTag(const std::wstring& path);

// The CAD plug-in: translates the document with the translator type tag ("STEP", "IGES",
// "BREP") and walks the entities into a new model root with a CTamCADLoader, as the library's
// kernel-file driver does. Flag 0x80 starts the kernel first, 0x100 stops it after. Always a
// new root owned by the caller; its scene root is null when nothing was loaded.
CTamDBRoot* loadCadModel(const std::wstring& path, unsigned int flags, const wchar_t* typeTag);

// The CAD plug-in's entity load: a new list owned by the caller, or null. Flag 0x80 starts the
// kernel first; the kernel is left running for the caller, who owns the entities.
ENTITY_LIST* loadCadEntities(const std::wstring& path, unsigned int flags, const wchar_t* typeTag);

// Writes the kernel entities (an ENTITY_LIST*) in the format of the target's extension through
// the translator; false for a null list or a failed write.
bool writeCadFile(const std::wstring& path, void* entities);

}  // namespace tam
