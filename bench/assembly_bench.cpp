// `tamcad assembly` side by side with the raw Open CASCADE pipeline (occt_pipeline_bench) and the
// flat `tamcad import`, on the as1 assemblies of the corpus and on generated assemblies of one
// plate placed N times in sub-assemblies of ten (make_plates), N = 1,000 and 10,000 by default.
//
//   assembly_bench [--levels L] [--no-flat] [N...]
//
// Every run is a child process: wall seconds and peak resident memory of each. For the plate
// files it also measures, in a child of its own, the heap the assembly tree takes per instance:
// the tree is released while the parser still holds the part meshes, and the heap in use before
// and after (mallinfo2) gives the bytes of the instances alone. Prints the targets beside the
// figures: 10,000 instances in at most 3 s and 200 MB, at most 12-fold time from 1,000 to
// 10,000, and on the as1 files at most the flat import's time.
#include "AssemblyStats.h"
#include "HostSettings.h"
#include "Plugins.h"
#include "child_run.h"

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/ebom_parser.h>
#include <tamsgdb/CTamDBRoot.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using tambench::Measure;
using tambench::Run;
using tambench::RunQuietly;

// In this process: the assembly import without product XML, then the heap the tree takes,
// written to `out` as "bytes instances".
int SceneBytes(const std::string& file, const fs::path& out) {
    std::freopen("/dev/null", "w", stderr);
    tam::applyImportSettings(tam::ImportSettings());
    tam::registerPlugins();
    CTamCADTools::InitializeImport();
    const std::wstring source = fs::path(file).wstring();
    std::wstring xml;
    CTamCADTools::InitializeConnectXml(source.c_str(), xml, L"STEP", false);
    size_t bytes = 0;
    size_t instances = 0;
    {
        CTamCADLoader loader;
        CTamEBOMParser parser(xml.c_str(), source.c_str(), &loader);
        parser.SetCreateRVD(false);
        CTamDBRoot* root = parser.Parse();
        if (root == nullptr)
            return 1;
        instances = tam::collectAssemblyStats(root->GetSglRoot()).instances;
        const size_t before = mallinfo2().uordblks;
        delete root;  // the part meshes stay with the parser
        bytes = before - mallinfo2().uordblks;
    }
    CTamCADTools::TerminateImport();
    FILE* result = std::fopen(out.c_str(), "w");
    if (result == nullptr)
        return 1;
    std::fprintf(result, "%zu %zu\n", bytes, instances);
    std::fclose(result);
    return 0;
}

double BytesPerInstance(const std::string& file, const fs::path& folder) {
    const fs::path out = folder / "scene_bytes.txt";
    if (!Measure([&] { return SceneBytes(file, out); }).ok)
        return 0.0;
    size_t bytes = 0, instances = 0;
    FILE* in = std::fopen(out.c_str(), "r");
    if (in == nullptr)
        return 0.0;
    const int read = std::fscanf(in, "%zu %zu", &bytes, &instances);
    std::fclose(in);
    return read == 2 && instances > 0 ? double(bytes) / double(instances) : 0.0;
}

struct Row {
    std::string name;
    Run occt, flat, assembly;
    double bytesPerInstance = 0.0;
};

Row MeasureFile(const std::string& name, const std::string& file, bool flat) {
    Row row;
    row.name = name;
    row.occt = Measure([&] { return RunQuietly({TAM_OCCT_PIPELINE, file}); });
    if (flat)
        row.flat = Measure([&] { return RunQuietly({TAM_TAMCAD, "import", "-q", file}); });
    row.assembly = Measure([&] { return RunQuietly({TAM_TAMCAD, "assembly", "-q", file}); });
    return row;
}

void PrintHeader() {
    std::printf("%-26s %22s  %22s  %22s\n", "", "OCCT pipeline", "flat tamcad import",
                "tamcad assembly");
    std::printf("%-26s %7s %7s %6s  %7s %7s %6s  %7s %7s %6s  %7s\n", "file", "wall s", "cpu s",
                "MiB", "wall s", "cpu s", "MiB", "wall s", "cpu s", "MiB", "B/inst");
}

void PrintRow(const Row& row) {
    const auto cell = [](const Run& run) {
        if (run.seconds == 0.0 && !run.ok)
            return std::string("      -       -      -");
        char text[48];
        std::snprintf(text, sizeof text, "%7.2f %7.2f %6.0f%s", run.seconds, run.cpu, run.peakMiB,
                      run.ok ? "" : "!");
        return std::string(text);
    };
    std::printf("%-26s %s  %s  %s  ", row.name.c_str(), cell(row.occt).c_str(),
                cell(row.flat).c_str(), cell(row.assembly).c_str());
    if (row.bytesPerInstance > 0.0)
        std::printf("%7.0f", row.bytesPerInstance);
    std::printf("\n");
    std::fflush(stdout);
}

std::vector<fs::path> As1Files() {
    std::vector<fs::path> files;
    const fs::path dir = fs::path(TAM_CORPUS_DIR) / "step";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (entry.path().filename().string().find("as1") != std::string::npos)
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    std::string levels = "1";
    bool flat = true;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--levels" && i + 1 < argc)
            levels = argv[++i];
        else if (arg == "--no-flat")
            flat = false;
        else
            sizes.push_back(std::atoi(arg.c_str()));
    }
    if (sizes.empty())
        sizes = {1000, 10000};
    const fs::path folder =
        fs::temp_directory_path() / ("assembly_bench_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::printf(
        "wall seconds and peak MiB per run (! = the run failed); B/inst = heap bytes of "
        "the assembly tree per instance\n");
    PrintHeader();
    int as1Within = 0, as1Count = 0;
    for (const fs::path& file : As1Files()) {
        const Row row = MeasureFile(file.filename().string(), file.string(), true);
        PrintRow(row);
        ++as1Count;
        as1Within += row.assembly.cpu <= row.flat.cpu ? 1 : 0;
    }
    std::vector<Row> plates;
    for (const int n : sizes) {
        const std::string file = (folder / ("plates_" + std::to_string(n) + ".step")).string();
        if (!Measure([&] {
                 return RunQuietly({TAM_MAKE_PLATES, std::to_string(n), file, levels});
             }).ok) {
            std::printf("plates %d: could not generate the file\n", n);
            continue;
        }
        Row row =
            MeasureFile("plates " + std::to_string(n) + " (" + levels + " level)", file, flat);
        row.bytesPerInstance = BytesPerInstance(file, folder);
        PrintRow(row);
        plates.push_back(row);
    }
    std::printf("\ntargets\n");
    if (as1Count > 0)
        std::printf("  as1 files at most the flat import's time (cpu): %d of %d\n", as1Within,
                    as1Count);
    for (size_t i = 0; i < plates.size(); ++i) {
        if (sizes[i] == 10000)
            std::printf(
                "  10,000 instances: %.2f s wall, %.2f s cpu (target 3 s), %.0f MiB "
                "(target 200 MB)\n",
                plates[i].assembly.seconds, plates[i].assembly.cpu, plates[i].assembly.peakMiB);
    }
    if (plates.size() >= 2 && plates.front().assembly.cpu > 0.0)
        std::printf(
            "  cpu time from %d to %d instances: %.1f-fold (target at most 12); OCCT "
            "%.1f-fold\n",
            sizes.front(), sizes.back(), plates.back().assembly.cpu / plates.front().assembly.cpu,
            plates.back().occt.cpu / plates.front().occt.cpu);
    std::error_code ec;
    fs::remove_all(folder, ec);
    return 0;
}
