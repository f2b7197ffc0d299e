// The translator's "EBOM" conversion against the raw Open CASCADE pipeline (occt_pipeline_bench:
// XCAF read and transfer, BRepMesh of each part) on generated assemblies of one plate placed N
// times in sub-assemblies of ten (make_plates), for N = 1,000, 3,000 and 10,000 by default.
//
//   ebom_bench [--levels L] [N...]
//
// Each side runs in its own child process; prints wall and CPU (user + system) seconds and peak
// resident memory of each, and how CPU time grows from the first N to the others (on a shared
// machine the CPU figures are the steadier ones).
#include "child_run.h"

#include <kvxi/kvxi.h>
#include <orik/orik.h>

#include <unistd.h>

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

int ConvertToEbom(const std::string& source, const fs::path& work) {
    std::freopen("/dev/null", "w", stderr);
    api_start_modeller(0);
    KVXISystem::Initialize();
    KVXIDocument from(source);
    from.SetType("STEP");
    KVXIDocument target((work / "assembly.xml").string());
    target.SetType("EBOM");
    target.SetUnit(4);
    KVXIOptions options;
    options.Add("TranslateAttributes", true);
    options.Add("NumberOfProcessorsToUse", 1);
    options.Add(KVXIOptionName::Representation, "Assembly");
    KVXIConverter converter;
    converter.SetOptions(options);
    const KVXIResult result = converter.Convert(from, target);
    KVXISystem::Shutdown();
    api_stop_modeller();
    return result.IsFailure() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string levels = "1";
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--levels" && i + 1 < argc)
            levels = argv[++i];
        else
            sizes.push_back(std::atoi(arg.c_str()));
    }
    if (sizes.empty())
        sizes = {1000, 3000, 10000};
    const fs::path folder = fs::temp_directory_path() / ("ebom_bench_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::printf("plates in sub-assemblies of ten, %s level(s)\n", levels.c_str());
    std::printf("%7s  %8s %8s %8s  %8s %8s %8s  %7s %7s\n", "N", "OCCT s", "cpu s", "MiB", "EBOM s",
                "cpu s", "MiB", "OCCT x", "EBOM x");
    double firstOcct = 0.0;
    double firstEbom = 0.0;
    for (const int n : sizes) {
        const std::string file = (folder / ("plates_" + std::to_string(n) + ".step")).string();
        const Run made = Measure([&] {
            return RunQuietly({TAM_MAKE_PLATES, std::to_string(n), file, levels});
        });
        if (!made.ok) {
            std::printf("%8d  could not generate the file\n", n);
            continue;
        }
        const Run occt = Measure([&] { return RunQuietly({TAM_OCCT_PIPELINE, file}); });
        const fs::path work = folder / ("work_" + std::to_string(n));
        fs::create_directories(work);
        const Run ebom = Measure([&] { return ConvertToEbom(file, work); });
        if (firstOcct == 0.0) {
            firstOcct = occt.cpu;
            firstEbom = ebom.cpu;
        }
        std::printf("%7d  %8.2f %8.2f %8.1f  %8.2f %8.2f %8.1f  %7.1f %7.1f%s\n", n, occt.seconds,
                    occt.cpu, occt.peakMiB, ebom.seconds, ebom.cpu, ebom.peakMiB,
                    occt.cpu / firstOcct, ebom.cpu / firstEbom,
                    occt.ok && ebom.ok ? "" : "  (a side failed)");
        std::fflush(stdout);
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    return 0;
}
