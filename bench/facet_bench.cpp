// The kernel's faceting against Open CASCADE's BRepMesh alone, side by side in one run.
//
//   facet_bench [FILE...]          (default: every STEP file of the shared corpus)
//
// For each STEP file: read with STEPControl_Reader (not timed), one body per leaf of the shape
// tree. Baseline: BRepMesh_IncrementalMesh of every distinct part shape (in parallel, as the
// kernel does). Kernel: api_facet_entity of every body into a counting mesh manager (meshing,
// node normals, strips, the mesh manager protocol). Same tolerances for both: linear
// (0.004 (1 - r)^4 + 0.00005) x file box diagonal with r = 0.5, angular 120 degrees. Each side
// runs three times from cleared meshes; the fastest run counts. Prints seconds, triangles, strip
// figures and the ratio kernel / baseline per file and in total.
#include <orik/OrikOcctBridge.h>
#include <orik/orik.h>

#include <BRepBndLib.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <Bnd_Box.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <STEPControl_Reader.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS_Iterator.hxx>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr double kQuality = 0.5;
constexpr double kAngularDegrees = 120.0;
constexpr int kRuns = 3;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Counts triangles and strips of the strip protocol.
class CountingManager : public INDEXED_MESH_MANAGER {
public:
    long triangles = 0;
    long strips = 0;
    long faces = 0;
    void begin_mesh_output(ENTITY*, ENTITY*) override { ++faces; }
    void start_indexed_polygon(int, int, int share) override {
        ++triangles;
        strips += share == ORIK_SHARE_NONE;
    }
    logical need_strip_polygons() override { return TRUE; }
};

void collectLeaves(const TopoDS_Shape& shape, std::vector<TopoDS_Shape>& leaves) {
    if (shape.ShapeType() != TopAbs_COMPOUND) {
        leaves.push_back(shape);
        return;
    }
    for (TopoDS_Iterator it(shape); it.More(); it.Next())
        collectLeaves(it.Value(), leaves);
}

// Each distinct part geometry once, without location (what both sides mesh).
std::vector<TopoDS_Shape> distinctParts(const std::vector<TopoDS_Shape>& leaves) {
    std::vector<TopoDS_Shape> parts;
    std::set<const TopoDS_TShape*> seen;
    for (const TopoDS_Shape& leaf : leaves) {
        if (seen.insert(leaf.TShape().get()).second)
            parts.push_back(leaf.Located(TopLoc_Location()));
    }
    return parts;
}

double linearDeflection(const std::vector<TopoDS_Shape>& leaves) {
    Bnd_Box box;
    for (const TopoDS_Shape& leaf : leaves)
        BRepBndLib::Add(leaf, box);
    const double diagonal = box.IsVoid() ? 1.0 : std::sqrt(box.SquareExtent());
    const double k = 1.0 - kQuality;
    return (0.004 * k * k * k * k + 0.00005) * diagonal;
}

void clearMeshes(const std::vector<TopoDS_Shape>& parts) {
    for (const TopoDS_Shape& part : parts)
        BRepTools::Clean(part);
}

double runBaseline(const std::vector<TopoDS_Shape>& parts, double deflection) {
    clearMeshes(parts);
    const auto start = Clock::now();
    for (const TopoDS_Shape& part : parts) {
        BRepMesh_IncrementalMesh(part, deflection, Standard_False, kAngularDegrees * M_PI / 180.0,
                                 Standard_True);
    }
    return secondsSince(start);
}

double runKernel(const std::vector<TopoDS_Shape>& leaves, const std::vector<TopoDS_Shape>& parts,
                 double deflection, CountingManager& manager) {
    clearMeshes(parts);
    api_start_modeller(0);
    REFINEMENT* refinement = nullptr;
    api_create_refinement(refinement);
    refinement->set_surface_tol(deflection);
    refinement->set_normal_tol(kAngularDegrees);
    ENTITY_LIST bodies;
    for (const TopoDS_Shape& leaf : leaves) {
        BODY* body = orik_make_body(leaf);
        api_set_entity_refinement(body, refinement, FALSE);
        bodies.add(body);
    }
    api_set_mesh_manager(&manager);
    const auto start = Clock::now();
    for (int i = 0; i < bodies.count(); ++i)
        api_facet_entity(bodies[i]);
    const double seconds = secondsSince(start);
    api_set_mesh_manager(nullptr);
    api_del_entity_list(bodies);
    api_stop_modeller();
    return seconds;
}

struct Totals {
    double baseline = 0.0;
    double kernel = 0.0;
    long triangles = 0;
    long strips = 0;
};

void benchFile(const std::string& path, Totals& totals) {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) {
        std::printf("%-40s unreadable\n", std::filesystem::path(path).filename().c_str());
        return;
    }
    reader.TransferRoots();
    std::vector<TopoDS_Shape> leaves;
    for (int i = 1; i <= reader.NbShapes(); ++i)
        collectLeaves(reader.Shape(i), leaves);
    const std::vector<TopoDS_Shape> parts = distinctParts(leaves);
    const double deflection = linearDeflection(leaves);
    double baseline = 1e300, kernel = 1e300;
    CountingManager counts;
    for (int run = 0; run < kRuns; ++run) {
        baseline = std::min(baseline, runBaseline(parts, deflection));
        CountingManager manager;
        kernel = std::min(kernel, runKernel(leaves, parts, deflection, manager));
        counts = manager;
    }
    clearMeshes(parts);
    std::printf("%-40s %6zu bodies %9ld tri %7.1f tri/strip  occt %8.4f s  orik %8.4f s  x%.2f\n",
                std::filesystem::path(path).filename().c_str(), leaves.size(), counts.triangles,
                counts.strips ? double(counts.triangles) / double(counts.strips) : 0.0, baseline,
                kernel, baseline > 0 ? kernel / baseline : 0.0);
    std::fflush(stdout);
    totals.baseline += baseline;
    totals.kernel += kernel;
    totals.triangles += counts.triangles;
    totals.strips += counts.strips;
}

std::vector<std::string> defaultFiles() {
    std::vector<std::string> files;
    const std::filesystem::path dir = std::filesystem::path(TAM_CORPUS_DIR) / "step";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    // The STEP reader's trace messages would drown the figures.
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_Printer));
    std::vector<std::string> files(argv + 1, argv + argc);
    if (files.empty())
        files = defaultFiles();
    Totals totals;
    for (const std::string& file : files) {
        try {
            benchFile(file, totals);
        } catch (const Standard_Failure& failure) {
            std::printf("%s: OCCT failure %s\n", file.c_str(), failure.GetMessageString());
        }
    }
    std::printf("total: %ld triangles, %.2f triangles per strip, occt %.3f s, orik %.3f s, x%.2f\n",
                totals.triangles,
                totals.strips ? double(totals.triangles) / double(totals.strips) : 0.0,
                totals.baseline, totals.kernel,
                totals.baseline > 0 ? totals.kernel / totals.baseline : 0.0);
    return 0;
}
