// Strip quality of the kernel's face tessellation over STEP files: for each file, indices in
// strips per triangle (the figure the faceter is judged by; one strip per face is the floor), side
// by side, in the same run, with the same stripifier kept from flipping quads and with a naive
// greedy strip walk over BRepMesh's own triangles; and the time spent meshing (BRepMesh) against
// the time spent turning the meshes into node arrays and strips.
//
//   strip_quality_bench FILE_OR_FOLDER...
//
// Tolerances are the library's defaults: linear (0.004 (1 - r)^4 + 0.00005) x bounding-box
// diagonal with r = 0.5, angular 120 degrees. Ends with min, quartiles, median and max over files.
#include "FaceTessellator.h"

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

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kQuality = 0.5;
constexpr double kAngularDegrees = 120.0;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The baseline: strips walked forward only, from the first free triangle in stored order, in
// whichever of its three rotations walks furthest, until the next triangle is missing or taken.
class NaiveStripWalk {
public:
    explicit NaiveStripWalk(const std::vector<uint32_t>& triangles)
        : triangles_(triangles), used_(triangles.size() / 3, false) {
        for (size_t t = 0; t < used_.size(); ++t) {
            for (int k = 0; k < 3; ++k) {
                const uint32_t node = triangles[3 * t + k];
                if (around_.size() <= node)
                    around_.resize(node + 1);
                around_[node].push_back(uint32_t(t));
            }
        }
    }

    size_t Indices() {
        size_t indices = 0;
        for (size_t start = 0; start < used_.size(); ++start) {
            if (used_[start])
                continue;
            int best = 0;
            for (int rotation = 1; rotation < 3; ++rotation)
                if (walk(start, rotation, false) > walk(start, best, false))
                    best = rotation;
            indices += 2 + walk(start, best, true);
        }
        return indices;
    }

private:
    // Triangles of the strip starting at start read from node `rotation` on; taken if take.
    size_t walk(size_t start, int rotation, bool take) {
        std::vector<size_t> strip{start};
        used_[start] = true;
        uint32_t x = triangles_[3 * start + (rotation + 1) % 3];
        uint32_t y = triangles_[3 * start + (rotation + 2) % 3];
        // An even triangle holds x->y, so its successor holds y->x; an odd one the other way.
        for (bool odd = true;; odd = !odd) {
            const size_t next = odd ? across(x, y) : across(y, x);
            if (next == used_.size())
                break;
            used_[next] = true;
            strip.push_back(next);
            const uint32_t* v = &triangles_[3 * next];
            const uint32_t w = v[0] + v[1] + v[2] - x - y;
            x = y;
            y = w;
        }
        if (!take)
            for (size_t t : strip)
                used_[t] = false;
        return strip.size();
    }

    // The free triangle holding the directed edge b->a, or the triangle count if none.
    size_t across(uint32_t a, uint32_t b) const {
        for (uint32_t t : around_[b]) {
            const uint32_t* v = &triangles_[3 * t];
            for (int k = 0; k < 3; ++k)
                if (!used_[t] && v[k] == b && v[(k + 1) % 3] == a)
                    return t;
        }
        return used_.size();
    }

    const std::vector<uint32_t>& triangles_;
    std::vector<bool> used_;
    std::vector<std::vector<uint32_t>> around_;
};

struct FileFigures {
    size_t faces = 0;
    size_t triangles = 0;
    size_t stripIndices = 0;
    size_t unflippedIndices = 0;
    size_t naiveIndices = 0;
    double meshSeconds = 0.0;
    double tessellateSeconds = 0.0;
    bool ok = false;
};

bool readStep(const std::string& path, TopoDS_Shape& shape) {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
        return false;
    reader.TransferRoots();
    shape = reader.OneShape();
    return !shape.IsNull();
}

double diagonal(const TopoDS_Shape& shape) {
    Bnd_Box box;
    BRepBndLib::Add(shape, box);
    return box.IsVoid() ? 0.0 : std::sqrt(box.SquareExtent());
}

FileFigures measureFile(const std::string& path) {
    FileFigures figures;
    TopoDS_Shape shape;
    if (!readStep(path, shape))
        return figures;
    orik::facet::MeshParameters parameters;
    parameters.linearDeflection = (0.004 * std::pow(1.0 - kQuality, 4) + 0.00005) * diagonal(shape);
    parameters.angularDeflectionDeg = kAngularDegrees;
    orik::facet::ShapeMesher mesher;
    const Clock::time_point meshStart = Clock::now();
    if (!mesher.Mesh(shape, parameters))
        return figures;
    figures.meshSeconds = secondsSince(meshStart);

    std::unordered_set<const TopoDS_TShape*> seen;
    std::vector<TopoDS_Face> faces;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        if (seen.insert(it.Current().TShape().get()).second)
            faces.push_back(TopoDS::Face(it.Current()));
    }
    // Baselines first, on the mesh as BRepMesh made it (flipped quads are written back): the
    // same stripifier without flips, and the naive walk.
    orik::facet::FaceMesh mesh;
    orik::facet::FaceTessellator unflipped(false);
    for (const TopoDS_Face& face : faces) {
        if (!unflipped.Tessellate(face, mesh))
            continue;
        figures.unflippedIndices += mesh.strips.indices.size();
        figures.naiveIndices += NaiveStripWalk(mesh.triangles).Indices();
    }
    orik::facet::FaceTessellator tessellator;
    const Clock::time_point tessellateStart = Clock::now();
    for (const TopoDS_Face& face : faces) {
        if (!tessellator.Tessellate(face, mesh))
            continue;
        ++figures.faces;
        figures.triangles += mesh.TriangleCount();
        figures.stripIndices += mesh.strips.indices.size();
    }
    figures.tessellateSeconds = secondsSince(tessellateStart);
    figures.ok = figures.triangles > 0;
    return figures;
}

std::vector<std::string> expandArguments(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (std::filesystem::is_directory(argv[i], error)) {
            std::vector<std::string> inFolder;
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    inFolder.push_back(entry.path().string());
            std::sort(inFolder.begin(), inFolder.end());
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else {
            files.push_back(argv[i]);
        }
    }
    return files;
}

// The most indices per triangle the median file may need.
constexpr double kTargetMedian = 1.20;

double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double position = q * double(values.size() - 1);
    const size_t below = size_t(position);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (position - double(below)) * (values[above] - values[below]);
}

void printDistribution(const char* label, const std::vector<double>& values) {
    if (values.empty())
        return;
    std::printf("%-8s min %.3f  q1 %.3f  median %.3f  q3 %.3f  max %.3f\n", label,
                quantile(values, 0.0), quantile(values, 0.25), quantile(values, 0.5),
                quantile(values, 0.75), quantile(values, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: strip_quality_bench FILE_OR_FOLDER...\n");
        return 2;
    }
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_Printer));
    std::vector<double> ours, unflipped, naive, floor;
    double meshSeconds = 0.0, tessellateSeconds = 0.0;
    std::printf("%-40s %7s %9s %7s %7s %7s %7s %8s %8s\n", "file", "faces", "triangles", "strips",
                "noflips", "naive", "floor", "mesh s", "strip s");
    for (const std::string& file : expandArguments(argc, argv)) {
        FileFigures figures;
        try {
            figures = measureFile(file);
        } catch (const Standard_Failure& failure) {
            std::fprintf(stderr, "strip_quality_bench: %s: %s\n", file.c_str(),
                         failure.GetMessageString());
        }
        const std::string name = std::filesystem::path(file).filename().string();
        if (!figures.ok) {
            std::printf("%-40s no mesh\n", name.c_str());
            continue;
        }
        const double triangles = double(figures.triangles);
        ours.push_back(double(figures.stripIndices) / triangles);
        unflipped.push_back(double(figures.unflippedIndices) / triangles);
        naive.push_back(double(figures.naiveIndices) / triangles);
        floor.push_back((triangles + 2.0 * double(figures.faces)) / triangles);
        meshSeconds += figures.meshSeconds;
        tessellateSeconds += figures.tessellateSeconds;
        std::printf("%-40s %7zu %9zu %7.3f %7.3f %7.3f %7.3f %8.3f %8.3f\n", name.c_str(),
                    figures.faces, figures.triangles, ours.back(), unflipped.back(), naive.back(),
                    floor.back(), figures.meshSeconds, figures.tessellateSeconds);
    }
    std::printf("\nindices per triangle over %zu files\n", ours.size());
    printDistribution("strips", ours);
    printDistribution("noflips", unflipped);
    printDistribution("naive", naive);
    printDistribution("floor", floor);
    std::printf("mesh %.3f s, nodes/normals/strips %.3f s (%.1f%%)\n", meshSeconds,
                tessellateSeconds, meshSeconds > 0 ? 100.0 * tessellateSeconds / meshSeconds : 0.0);
    if (ours.empty())
        return 1;
    const double median = quantile(ours, 0.5);
    std::printf("strips median %.3f indices per triangle (target: at most %.2f) %s\n", median,
                kTargetMedian, median <= kTargetMedian ? "met" : "missed");
    return 0;
}
