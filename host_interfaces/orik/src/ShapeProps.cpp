#include "ShapeProps.h"

#include <BRepGProp.hxx>
#include <BRepGProp_MeshProps.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orik {

namespace {

// Node positions matched exactly: faces of one tessellated shell share their coordinates.
struct PositionHash {
    size_t operator()(const std::array<double, 3>& p) const {
        size_t seed = 0;
        for (double c : p) {
            const double value = c + 0.0;  // -0.0 equals 0.0 and must hash alike
            uint64_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            seed ^= std::hash<uint64_t>()(bits) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
        }
        return seed;
    }
};

// The sides of a shell's triangles, wound as the faces face, between welded node numbers.
class TriangleSides {
public:
    // Adds the face's triangles; false if the face is not mesh-only.
    bool add(const TopoDS_Face& face) {
        if (!isMeshOnlyFace(face))
            return false;
        TopLoc_Location location;
        const Handle(Poly_Triangulation)& mesh = BRep_Tool::Triangulation(face, location);
        const gp_Trsf placement = location.Transformation();
        const bool flip = (face.Orientation() == TopAbs_REVERSED) !=
                          (placement.VectorialPart().Determinant() < 0.0);
        std::vector<int> nodes(size_t(mesh->NbNodes()) + 1, -1);
        for (int i = 1; i <= mesh->NbNodes(); ++i)
            nodes[size_t(i)] = weld(mesh->Node(i).Transformed(placement));
        for (int t = 1; t <= mesh->NbTriangles(); ++t) {
            int n[3];
            mesh->Triangle(t).Get(n[0], n[1], n[2]);
            if (flip)
                std::swap(n[1], n[2]);
            for (int k = 0; k < 3; ++k)
                addSide(nodes, n[k], n[(k + 1) % 3]);
        }
        return true;
    }

    // Every side met exactly once in each direction.
    bool closed() const {
        if (sides_.empty())
            return false;
        for (const auto& side : sides_) {
            const auto back = sides_.find({side.first.second, side.first.first});
            if (side.second != 1 || back == sides_.end() || back->second != 1)
                return false;
        }
        return true;
    }

private:
    int weld(const gp_Pnt& p) {
        const auto found =
            welded_.emplace(std::array<double, 3>{p.X(), p.Y(), p.Z()}, int(welded_.size()));
        return found.first->second;
    }

    void addSide(const std::vector<int>& nodes, int from, int to) {
        const int last = int(nodes.size()) - 1;
        if (from < 1 || to < 1 || from > last || to > last)
            return;
        const int a = nodes[size_t(from)], b = nodes[size_t(to)];
        if (a != b)
            ++sides_[{a, b}];
    }

    std::unordered_map<std::array<double, 3>, int, PositionHash> welded_;
    std::map<std::pair<int, int>, int> sides_;
};

// The faces of the shape that count for a volume: all, or those of closed shells.
std::vector<TopoDS_Face> countedFaces(const TopoDS_Shape& shape, bool onlyClosed) {
    std::vector<TopoDS_Face> faces;
    if (!onlyClosed) {
        for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next())
            faces.push_back(TopoDS::Face(it.Current()));
        return faces;
    }
    for (TopExp_Explorer shell(shape, TopAbs_SHELL); shell.More(); shell.Next()) {
        if (!isClosedShell(shell.Current()))
            continue;
        for (TopExp_Explorer it(shell.Current(), TopAbs_FACE); it.More(); it.Next())
            faces.push_back(TopoDS::Face(it.Current()));
    }
    return faces;
}

// Integrates the faces: those with a surface in one go over their surfaces, mesh-only ones
// over their triangles. Returns the relative accuracy reached.
double addFaceProps(const std::vector<TopoDS_Face>& faces, bool volume, double accuracy,
                    GProp_GProps& props) {
    BRep_Builder builder;
    TopoDS_Compound surfaced;
    builder.MakeCompound(surfaced);
    bool anySurfaced = false;
    for (const TopoDS_Face& face : faces) {
        if (isMeshOnlyFace(face)) {
            BRepGProp_MeshProps mesh(volume ? BRepGProp_MeshProps::Vinert
                                            : BRepGProp_MeshProps::Sinert);
            TopLoc_Location location;
            mesh.Perform(BRep_Tool::Triangulation(face, location), location, face.Orientation());
            props.Add(mesh);
        } else if (!BRep_Tool::Surface(face).IsNull()) {
            builder.Add(surfaced, face);
            anySurfaced = true;
        }
    }
    if (!anySurfaced)
        return 0.0;
    GProp_GProps exact;
    const double reached = volume ? BRepGProp::VolumeProperties(surfaced, exact, accuracy)
                                  : BRepGProp::SurfaceProperties(surfaced, exact, accuracy);
    props.Add(exact);
    return std::fabs(reached);
}

}  // namespace

bool isMeshOnlyFace(const TopoDS_Face& face) {
    if (face.IsNull() || !BRep_Tool::Surface(face).IsNull())
        return false;
    TopLoc_Location location;
    const Handle(Poly_Triangulation)& mesh = BRep_Tool::Triangulation(face, location);
    return !mesh.IsNull() && mesh->NbTriangles() > 0;
}

bool everyFaceHasSurface(const TopoDS_Shape& shape) {
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        if (BRep_Tool::Surface(TopoDS::Face(it.Current())).IsNull())
            return false;
    }
    return true;
}

bool isClosedShell(const TopoDS_Shape& shell) {
    if (everyFaceHasSurface(shell))
        return BRep_Tool::IsClosed(shell);
    TriangleSides sides;
    for (TopExp_Explorer it(shell, TopAbs_FACE); it.More(); it.Next()) {
        if (!sides.add(TopoDS::Face(it.Current())))
            return false;
    }
    return sides.closed();
}

double addSurfaceProps(const TopoDS_Shape& shape, double accuracy, GProp_GProps& props) {
    if (everyFaceHasSurface(shape))
        return std::fabs(BRepGProp::SurfaceProperties(shape, props, accuracy));
    std::vector<TopoDS_Face> faces;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next())
        faces.push_back(TopoDS::Face(it.Current()));
    return addFaceProps(faces, false, accuracy, props);
}

double addVolumeProps(const TopoDS_Shape& shape, double accuracy, bool onlyClosed,
                      GProp_GProps& props) {
    if (everyFaceHasSurface(shape)) {
        return std::fabs(BRepGProp::VolumeProperties(shape, props, accuracy,
                                                     onlyClosed ? Standard_True : Standard_False));
    }
    return addFaceProps(countedFaces(shape, onlyClosed), true, accuracy, props);
}

}  // namespace orik
