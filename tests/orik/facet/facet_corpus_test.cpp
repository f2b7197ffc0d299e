// The tessellation engine over the real STEP files of the corpus: every face's strips stand for
// exactly its triangles with their winding, normals are unit vectors turned with the face, and
// the median of indices per triangle over the files stays at or below 1.25.
#include "FaceTessellator.h"
#include "ShapeMesher.h"
#include "corpus.h"
#include "facet_test_support.h"
#include "strip_check.h"

#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <STEPControl_Reader.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <unordered_set>
#include <vector>

using orik::facet::FaceMesh;
using orik::facet::FaceTessellator;
using orik::facet::MeshParameters;
using orik::facet::ShapeMesher;

namespace {

struct FileTally {
    size_t triangles = 0;
    size_t indices = 0;
    size_t badFaces = 0;
    size_t badNormals = 0;
};

TopoDS_Shape readStep(const std::filesystem::path& path) {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.string().c_str()) != IFSelect_RetDone)
        return TopoDS_Shape();
    reader.TransferRoots();
    return reader.OneShape();
}

// The library's default refinement: size based, quality 0.5, normal tolerance 120 degrees.
MeshParameters defaultTolerances(const TopoDS_Shape& shape) {
    Bnd_Box box;
    BRepBndLib::Add(shape, box);
    return facettest::tolerances(
        box.IsVoid() ? 0.0 : (0.004 * std::pow(0.5, 4) + 0.00005) * std::sqrt(box.SquareExtent()),
        120.0);
}

void tallyFace(const FaceMesh& mesh, FileTally& tally) {
    tally.triangles += mesh.TriangleCount();
    tally.indices += mesh.strips.indices.size();
    if (facettest::stripTriangleSet(mesh.strips) != facettest::triangleSet(mesh.triangles))
        ++tally.badFaces;
    for (size_t i = 0; i < mesh.NodeCount(); ++i) {
        const double* n = &mesh.normals[3 * i];
        if (std::abs(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) - 1.0) > 1e-6)
            ++tally.badNormals;
    }
}

FileTally tessellateFile(const std::filesystem::path& path) {
    FileTally tally;
    const TopoDS_Shape shape = readStep(path);
    const MeshParameters parameters = defaultTolerances(shape);
    if (shape.IsNull() || !(parameters.linearDeflection > 0.0))
        return tally;
    ShapeMesher mesher;
    if (!mesher.Mesh(shape, parameters))
        return tally;
    FaceTessellator tessellator;
    FaceMesh mesh;
    std::unordered_set<const TopoDS_TShape*> seen;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        if (seen.insert(it.Current().TShape().get()).second &&
            tessellator.Tessellate(TopoDS::Face(it.Current()), mesh)) {
            tallyFace(mesh, tally);
        }
    }
    return tally;
}

double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double position = q * double(values.size() - 1);
    const size_t below = size_t(position);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (position - double(below)) * (values[above] - values[below]);
}

}  // namespace

TEST(FacetCorpusTest, StepFilesGiveCorrectCompactStrips) {
    TAM_REQUIRE_CORPUS();
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_Printer));
    std::vector<double> ratios;
    for (const auto& file : tamtest::CorpusFiles("step")) {
        SCOPED_TRACE(file.filename().string());
        FileTally tally;
        try {
            tally = tessellateFile(file);
        } catch (const Standard_Failure&) {
            continue;  // unreadable files are the translator's business
        }
        EXPECT_EQ(tally.badFaces, 0u);
        EXPECT_EQ(tally.badNormals, 0u);
        if (tally.triangles == 0)
            continue;
        ratios.push_back(double(tally.indices) / double(tally.triangles));
        std::cout << file.filename().string() << ": " << tally.triangles << " triangles, "
                  << ratios.back() << " indices per triangle\n";
    }
    ASSERT_GE(ratios.size(), 10u);
    std::cout << "indices per triangle over " << ratios.size() << " files: min "
              << quantile(ratios, 0) << ", q1 " << quantile(ratios, 0.25) << ", median "
              << quantile(ratios, 0.5) << ", q3 " << quantile(ratios, 0.75) << ", max "
              << quantile(ratios, 1) << "\n";
    EXPECT_LE(quantile(ratios, 0.5), 1.25);
}
