// The geometry section of kernel files: shapes as one compound in OCCT's B-rep formats.
#pragma once

#include <TopoDS_Shape.hxx>

#include <iosfwd>
#include <string>
#include <vector>

namespace orik {
namespace files {

// Writes the shapes, in order, as the children of one compound in OCCT's text or binary B-rep
// format, without meshes unless withMeshes (binary only: face triangulations with their node
// normals); sub-shapes shared between shapes are written once. No shapes: "".
std::string encodeShapes(const std::vector<TopoDS_Shape>& shapes, bool binary,
                         bool withMeshes = false);
// The same written to a stream; throws orik_exception(ORIK_FILE_WRITE_FAILED) when it fails.
void encodeShapes(const std::vector<TopoDS_Shape>& shapes, bool binary, bool withMeshes,
                  std::ostream& out);

// Reads shapes written by encodeShapes; throws orik_exception(ORIK_FILE_DAMAGED) unless the
// bytes hold a compound of exactly count non-null shapes.
std::vector<TopoDS_Shape> decodeShapes(const std::string& bytes, size_t count, bool binary);

}  // namespace files
}  // namespace orik
