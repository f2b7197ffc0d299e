#include "ShapeCodec.h"

#include "ShapeSectionCheck.h"

#include <orik/orik_exception.h>
#include <orik/outcome.h>

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BinTools.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>

#include <sstream>

namespace orik {
namespace files {

void encodeShapes(const std::vector<TopoDS_Shape>& shapes, bool binary, bool withMeshes,
                  std::ostream& out) {
    if (shapes.empty())
        return;
    BRep_Builder builder;
    TopoDS_Compound compound;
    builder.MakeCompound(compound);
    for (const TopoDS_Shape& shape : shapes)
        builder.Add(compound, shape);
    if (binary) {
        BinTools::Write(compound, out, withMeshes, withMeshes, BinTools_FormatVersion_CURRENT);
    } else {
        BRepTools::Write(compound, out, Standard_False, Standard_False,
                         TopTools_FormatVersion_CURRENT);
    }
    if (!out)
        throw orik_exception(ORIK_FILE_WRITE_FAILED);
}

std::string encodeShapes(const std::vector<TopoDS_Shape>& shapes, bool binary, bool withMeshes) {
    std::ostringstream stream(std::ios::out | std::ios::binary);
    encodeShapes(shapes, binary, withMeshes, stream);
    return stream.str();
}

std::vector<TopoDS_Shape> decodeShapes(const std::string& bytes, size_t count, bool binary) {
    std::vector<TopoDS_Shape> shapes;
    if (count == 0) {
        if (!bytes.empty())
            throw orik_exception(ORIK_FILE_DAMAGED);
        return shapes;
    }
    checkShapeSectionCounts(bytes, binary);
    TopoDS_Shape compound;
    try {
        std::istringstream stream(bytes, std::ios::in | std::ios::binary);
        if (binary) {
            BinTools::Read(compound, stream);
        } else {
            // OCCT's text reader goes on after a failed read (a shape's sub-shape list then
            // never ends): the first failed read stops it here.
            stream.exceptions(std::ios::failbit | std::ios::badbit);
            BRepTools::Read(compound, stream, BRep_Builder());
        }
    } catch (const Standard_Failure&) {
        throw orik_exception(ORIK_FILE_DAMAGED);
    } catch (const std::ios_base::failure&) {
        throw orik_exception(ORIK_FILE_DAMAGED);
    }
    if (compound.IsNull() || compound.ShapeType() != TopAbs_COMPOUND)
        throw orik_exception(ORIK_FILE_DAMAGED);
    for (TopoDS_Iterator it(compound, Standard_False, Standard_False); it.More(); it.Next())
        shapes.push_back(it.Value());
    if (shapes.size() != count)
        throw orik_exception(ORIK_FILE_DAMAGED);
    for (const TopoDS_Shape& shape : shapes) {
        if (shape.IsNull())
            throw orik_exception(ORIK_FILE_DAMAGED);
    }
    return shapes;
}

}  // namespace files
}  // namespace orik
