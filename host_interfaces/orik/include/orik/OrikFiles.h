// The kernel's own files of entity lists: a text form (".okt") and a binary form (".okb"), told
// apart on reading by their first bytes. They keep every entity kind (bodies with their
// transforms, free faces, edges, wires and vertices, coordinate systems, collections with their
// members in order), named attributes of every kind and colors, also on the faces, edges,
// wires and vertices of bodies; geometry shared between entities is stored once. The layout is
// described in docs/kernel-files.md.
#pragma once

#include <orik/ENTITY_LIST.h>
#include <orik/OrikOptions.h>
#include <orik/outcome.h>

#include <cstddef>
#include <iosfwd>
#include <string>

// Writes the list's entities to a file (text unless binary is TRUE): for each listed entity its
// top-level entity, plus what collections among them own. The file is written aside and moved
// into place, so a failed write leaves no partial file (ORIK_FILE_WRITE_FAILED). A null path
// gives ORIK_BAD_ARGUMENT. The entities are not changed.
outcome api_save_entity_list(const wchar_t* path, const ENTITY_LIST& entities, logical binary,
                             OrikOptions* options = nullptr);

// Reads a kernel file of either form and appends its list to `entities`; the new top-level
// entities belong to the caller (delete them with api_del_entity_list). A file that cannot be
// opened gives ORIK_FILE_OPEN_FAILED, a damaged or foreign one ORIK_FILE_DAMAGED, one of a later
// format version ORIK_FILE_VERSION, one whose collections own themselves in the end or nest
// deeper than 1000 levels ORIK_FILE_NESTING; on any failure `entities` is left as it was.
outcome api_restore_entity_list(const wchar_t* path, ENTITY_LIST& entities,
                                OrikOptions* options = nullptr);

// The same in memory: the bytes a file would hold (bytes is replaced) ...
outcome api_save_entity_list_to_bytes(const ENTITY_LIST& entities, logical binary,
                                      std::string& bytes, OrikOptions* options = nullptr);
// ... the binary form that also keeps the facets: each geometry whose faces all hold the mesh
// of its tolerances keeps its triangulations and those tolerances. Restoring such bytes makes
// a later api_facet_entity at the same tolerances use the stored meshes instead of meshing;
// at other tolerances it meshes afresh. The bytes go straight to the stream from its current
// position (a file opened for reading and writing, or a string stream), which must be seekable
// and readable: sizes and the checksum are filled in afterwards. The stream is left at the end
// of the bytes; after a failure what it holds is to be thrown away ...
outcome api_save_entity_list_with_facets(const ENTITY_LIST& entities, std::iostream& stream,
                                         OrikOptions* options = nullptr);
// ... and the entities in such bytes (size bytes at data; null data with size 0 is empty).
outcome api_restore_entity_list_from_bytes(const char* data, size_t size, ENTITY_LIST& entities,
                                           OrikOptions* options = nullptr);
