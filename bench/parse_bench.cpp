// Cost of the loader's entity walk over translated STEP files, side by side with the kernel's
// faceting of the same faces alone (same refinement, same per-face calls, a mesh manager that
// keeps nothing). For each file it prints:
//   - walk(1 pass) / kernel faceting alone  (target: at most 1.15)
//   - walk(5 passes) / walk(1 pass)         (target: at most 2.5)
//   - the triangles of the finest and of the coarsest (fifth) level,
//   - peak memory growth during the one-pass walk and the heap the finished scene graph keeps,
//     both per million triangles.
//
//   parse_bench [--repeat N] FILE_OR_FOLDER...
//
// The figures quoted in docs/orik.md are over the first ten STEP files of the corpus folder:
// 11752.stp PRO10363.stp Ventilator.stp as1-oc-214.stp as1_motor.step as1_pe_203.stp
// bug21802_as1-oc-214.stp bug25381_test_assembly_invisible.step bug27453_165-174_piattello.stp
// bug28454_directives.stp
//
// Each timing is the fastest of N rounds (default 3) that run the four measurements in turn;
// facets are deleted before every run so that every run meshes afresh.
#include <orik/orik.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamsgdb/sglModelLoader.h>

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The cheapest receiver of the kernel's strips: asks for what the library's manager asks for
// and keeps nothing.
class DiscardingMeshManager : public INDEXED_MESH_MANAGER {
public:
    logical need_strip_polygons() override { return TRUE; }
    void* announce_indexed_node(int node, const SPApar_pos&, const SPAposition&,
                                const SPAunit_vector&) override {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(node));
    }
};

struct TimedTask {
    std::function<void()> prepare;  // not timed
    std::function<void()> run;
};

// Runs the tasks round by round, `repeat` rounds, so that a change of machine load hits all of
// them alike, and keeps each task's fastest run in seconds.
std::vector<double> FastestRuns(int repeat, const std::vector<TimedTask>& tasks) {
    std::vector<double> best(tasks.size(), 1e300);
    for (int round = 0; round < repeat; ++round) {
        for (size_t t = 0; t < tasks.size(); ++t) {
            tasks[t].prepare();
            const Clock::time_point start = Clock::now();
            tasks[t].run();
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            best[t] = std::min(best[t], seconds);
        }
    }
    return best;
}

void DeleteFacets(const ENTITY_LIST& entities) {
    for (int i = 0; i < entities.count(); ++i)
        api_delete_entity_facets(entities[i], TRUE).ignore();
}

// Facets every face of every entity one call per face, as the walk does.
void FacetFacesAlone(const ENTITY_LIST& entities) {
    DiscardingMeshManager manager;
    MESH_MANAGER* previous = nullptr;
    api_get_mesh_manager(previous).ignore();
    api_set_mesh_manager(&manager).ignore();
    facet_options_expert options;
    for (int i = 0; i < entities.count(); ++i) {
        ENTITY_LIST faces;
        api_get_faces(entities[i], faces).ignore();
        for (int f = 0; f < faces.count(); ++f)
            api_facet_entity(faces[f], &options).ignore();
    }
    api_set_mesh_manager(previous).ignore();
}

// Triangles of the tree by level of detail (the pass each strip set was made in).
void CountTriangles(const sglNode* node, std::vector<unsigned long>& perLevel) {
    if (const auto* geode = dynamic_cast<const sglGeode*>(node)) {
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i) {
            const auto* set =
                dynamic_cast<const sglMonoIndexedTriangleStripSet*>(geode->getGeometry(i));
            if (set == nullptr)
                continue;
            const auto* record = dynamic_cast<const CTamUserDataGeoset*>(set->getUserData());
            const unsigned int level = record != nullptr ? record->GetLevel() : 0;
            if (perLevel.size() <= level)
                perLevel.resize(level + 1, 0);
            perLevel[level] += set->getNumTriangles();
        }
    } else if (const auto* group = dynamic_cast<const sglGroup*>(node)) {
        for (unsigned int i = 0; i < group->getNumChildren(); ++i)
            CountTriangles(group->getChild(i), perLevel);
    }
}

void Release(sglGroup* group) {
    if (group == nullptr)
        return;
    group->ref();
    group->unref();
}

// Resident memory figures of this process in kB ("VmRSS", "VmHWM").
long StatusKiloBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field) + 1);
    }
    return -1;
}

// Makes VmHWM start again from the current resident size.
void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct FileFigures {
    std::string name;
    int entities = 0;
    unsigned long triangles = 0;
    unsigned long coarsestTriangles = 0;
    double kernelAlone = 0.0;
    double kernelFivePasses = 0.0;
    double walkOnePass = 0.0;
    double walkFivePasses = 0.0;
    double peakGrowthMB = 0.0;
    double sceneHeapMB = 0.0;
};

// The kernel alone over the five passes' tolerances: the refinement attached by the walk is
// updated in place with the quality slider of each pass (r / (pass + 1)), as the walk does.
void FacetFivePassesAlone(CTamCADLoader& loader, const ENTITY_LIST& entities,
                          const sglBoxBound& box) {
    const float slider = sglModelLoader::m_fRefinement;
    for (unsigned int pass = 0; pass < 5; ++pass) {
        sglModelLoader::m_fRefinement = slider / static_cast<float>(pass + 1);
        loader.UpdateRefinement(box);
        DeleteFacets(entities);
        FacetFacesAlone(entities);
    }
    sglModelLoader::m_fRefinement = slider;
    loader.UpdateRefinement(box);
}

sglGroup* Walk(CTamCADLoader& loader, ENTITY_LIST& entities, const std::wstring& path,
               unsigned int passes) {
    sglModelLoader::m_suiNbLOD = passes;
    return loader.ParseEntities(entities, path);
}

bool MeasureFile(const std::filesystem::path& path, int repeat, FileFigures& figures) {
    figures.name = path.filename().string();
    ENTITY_LIST* entities =
        CTamCADTools::InitializeConnectEntityList(path.wstring().c_str(), L"STEP");
    if (entities == nullptr || entities->count() == 0) {
        delete entities;
        return false;
    }
    figures.entities = entities->count();
    CTamCADLoader loader;
    const std::wstring source = path.wstring();
    auto prepare = [&] { DeleteFacets(*entities); };

    // One walk first: it attaches the loader's refinement that the kernel-alone runs reuse.
    Release(Walk(loader, *entities, source, 1));
    const sglBoxBound box = loader.GetBBox(*entities);
    auto nothing = [] {};
    // The refinement of the first pass, as the last walk may have left a coarser one attached.
    auto firstPass = [&] {
        loader.UpdateRefinement(box);
        prepare();
    };
    const std::vector<double> seconds =
        FastestRuns(repeat, {{firstPass, [&] { FacetFacesAlone(*entities); }},
                             {nothing, [&] { FacetFivePassesAlone(loader, *entities, box); }},
                             {prepare, [&] { Release(Walk(loader, *entities, source, 1)); }},
                             {prepare, [&] { Release(Walk(loader, *entities, source, 5)); }}});
    figures.kernelAlone = seconds[0];
    figures.kernelFivePasses = seconds[1];
    figures.walkOnePass = seconds[2];
    figures.walkFivePasses = seconds[3];
    prepare();
    sglGroup* levels = Walk(loader, *entities, source, 5);
    std::vector<unsigned long> perLevel;
    CountTriangles(levels, perLevel);
    figures.coarsestTriangles = perLevel.empty() ? 0 : perLevel.back();
    Release(levels);

    // Memory: freed heap goes back to the system first, so that the walk's peak shows in the
    // resident high-water mark; what stays allocated once the kernel's facets are deleted is
    // the scene graph.
    prepare();
    malloc_trim(0);
    const long residentBefore = StatusKiloBytes("VmRSS:");
    ResetPeakResident();
    const double heapBefore = double(mallinfo2().uordblks);
    sglGroup* group = Walk(loader, *entities, source, 1);
    figures.peakGrowthMB = (StatusKiloBytes("VmHWM:") - residentBefore) / 1024.0;
    prepare();
    figures.sceneHeapMB = (double(mallinfo2().uordblks) - heapBefore) / (1024.0 * 1024.0);
    perLevel.clear();
    CountTriangles(group, perLevel);
    figures.triangles = perLevel.empty() ? 0 : perLevel[0];
    Release(group);

    CTamCADTools::DeleteENTITY_LIST(entities);
    delete entities;
    return true;
}

void CollectFiles(const std::filesystem::path& path, std::vector<std::filesystem::path>& files) {
    if (!std::filesystem::is_directory(path)) {
        files.push_back(path);
        return;
    }
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".stp" || ext == ".step" || ext == ".STP"))
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
}

void PrintFigures(const FileFigures& f) {
    const double millions = f.triangles / 1e6;
    std::printf("%-30s %4d %8lu %7lu %8.3f %8.3f %6.3f %8.3f %8.3f %6.3f %5.2f %8.1f %8.1f\n",
                f.name.c_str(), f.entities, f.triangles, f.coarsestTriangles, f.kernelAlone,
                f.walkOnePass, f.walkOnePass / f.kernelAlone, f.kernelFivePasses, f.walkFivePasses,
                f.walkFivePasses / f.kernelFivePasses, f.walkFivePasses / f.walkOnePass,
                millions > 0 ? f.peakGrowthMB / millions : 0.0,
                millions > 0 ? f.sceneHeapMB / millions : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 3;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else
            CollectFiles(argv[i], files);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: parse_bench [--repeat N] FILE_OR_FOLDER...\n");
        return 2;
    }
    CTamCADTools::InitializeImport();
    std::printf("%-30s %4s %8s %7s %8s %8s %6s %8s %8s %6s %5s %8s %8s\n", "file", "ents", "tri",
                "tri_lv4", "kern1_s", "walk1_s", "w1/k1", "kern5_s", "walk5_s", "w5/k5", "w5/w1",
                "peakMB/M", "heapMB/M");
    FileFigures total;
    total.name = "TOTAL";
    for (const std::filesystem::path& path : files) {
        FileFigures figures;
        if (!MeasureFile(path, repeat, figures)) {
            std::printf("%-30s (no entities)\n", path.filename().string().c_str());
            continue;
        }
        PrintFigures(figures);
        total.entities += figures.entities;
        total.triangles += figures.triangles;
        total.coarsestTriangles += figures.coarsestTriangles;
        total.kernelAlone += figures.kernelAlone;
        total.kernelFivePasses += figures.kernelFivePasses;
        total.walkOnePass += figures.walkOnePass;
        total.walkFivePasses += figures.walkFivePasses;
        total.peakGrowthMB += figures.peakGrowthMB;
        total.sceneHeapMB += figures.sceneHeapMB;
    }
    PrintFigures(total);
    CTamCADTools::TerminateImport();
    return 0;
}
