#include "BatchCommand.h"

#include "BatchPlan.h"
#include "BatchReport.h"
#include "BatchRunner.h"
#include "Commands.h"
#include "ExitCodes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

namespace tam {
namespace {

namespace fs = std::filesystem;

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> distinctFormats(const std::vector<std::string>& formats) {
    std::vector<std::string> distinct;
    for (const std::string& format : formats) {
        const std::string lower = lowerCase(format);
        if (std::find(distinct.begin(), distinct.end(), lower) == distinct.end())
            distinct.push_back(lower);
    }
    return distinct;
}

// What every import of the batch is given besides its file and outputs; also what the
// conversion records hold, so that a change of options converts the documents again.
std::vector<std::string> childOptions(const BatchRequest& request,
                                      const std::vector<std::string>& formats) {
    std::vector<std::string> options = importArguments(request.settings);
    if (std::find(formats.begin(), formats.end(), "png") != formats.end()) {
        options.insert(options.end(), {"--width", std::to_string(request.picture.width), "--height",
                                       std::to_string(request.picture.height)});
    }
    return options;
}

void addConversionOptions(CLI::App& batch, BatchRequest& request) {
    batch
        .add_option("--to", request.formats,
                    "Output formats: glb, gltf, png, okt, okb, step, stp, igs, iges, brep, stl "
                    "(comma-separated or repeated)")
        ->required()
        ->type_name("FORMAT")
        ->allow_extra_args(false)  // one value per --to, so SOURCES may follow it
        ->delimiter(',')
        ->check([](const std::string& format) {
            return isSupportedOutput("x." + format) ? std::string()
                                                    : "unknown output format: " + format;
        });
    batch.add_option("--width", request.picture.width, "Picture width in pixels")
        ->check(CLI::Range(16, 8192))
        ->capture_default_str();
    batch.add_option("--height", request.picture.height, "Picture height in pixels")
        ->check(CLI::Range(16, 8192))
        ->capture_default_str();
    addImportOptions(batch, request.settings);
    addCacheOptions(batch, request.cache);
}

// The cache options, given to every import but not recorded: a cache does not change results.
std::vector<std::string> cacheArguments(const CacheSettings& cache) {
    if (cache.disabled)
        return {"--no-cache"};
    std::vector<std::string> arguments = {"--cache-limit", std::to_string(cache.limitMiB)};
    if (!cache.folder.empty())
        arguments.insert(arguments.end(), {"--cache-dir", cache.folder});
    return arguments;
}

void addSchedulingOptions(CLI::App& batch, BatchRequest& request) {
    request.jobs = std::max(1u, std::thread::hardware_concurrency());
    batch.add_option("-j,--jobs", request.jobs, "Imports running at once")
        ->check(CLI::Range(1u, 1024u))
        ->capture_default_str();
    batch
        .add_option("--shard", request.shard,
                    "Take shard I of N (0 <= I < N): the documents whose relative path hashes "
                    "to I")
        ->type_name("I/N")
        ->check([](const std::string& text) {
            ShardSpec shard;
            return parseShard(text, shard) ? std::string() : "expected I/N with 0 <= I < N";
        });
    batch
        .add_option("--report", request.report,
                    "JSON-lines report to append to (default OUTDIR/report.jsonl)")
        ->type_name("FILE");
    batch
        .add_option("--timeout", request.timeoutSeconds,
                    "Seconds one document may take before its import is killed (0: no limit)")
        ->type_name("SECONDS")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    addQuietFlag(batch, request.quiet);
    batch.add_option("--worker", request.worker, "Program that imports one document")->group("");
}

}  // namespace

Subcommand addBatchCommand(CLI::App& app) {
    const auto request = std::make_shared<BatchRequest>();
    CLI::App* batch = app.add_subcommand(
        "batch", "Convert every CAD document of a folder or list file, one import each");
    batch
        ->add_option("SOURCES", request->sources,
                     "Folder (searched recursively for CAD documents) or list file (one path "
                     "per line)")
        ->required();
    batch
        ->add_option("-o,--output", request->outputFolder,
                     "Output folder; each document's relative path is kept")
        ->type_name("OUTDIR")
        ->required();
    addConversionOptions(*batch, *request);
    addSchedulingOptions(*batch, *request);
    return {batch, [request]() { return runBatch(*request); }};
}

ExitCode runBatch(const BatchRequest& request) {
    BatchSettings settings;
    settings.outputFolder = request.outputFolder;
    settings.formats = distinctFormats(request.formats);
    settings.options = childOptions(request, settings.formats);
    settings.unrecordedOptions = cacheArguments(request.cache);
    settings.jobs = request.jobs;
    settings.timeoutSeconds = request.timeoutSeconds;
    settings.quiet = request.quiet;
    if (!request.worker.empty())
        settings.program = request.worker;

    std::vector<BatchDocument> documents;
    std::string error;
    if (!listDocuments(request.sources, settings.outputFolder, documents, error)) {
        std::cerr << "tamcad: " << error << "\n";
        return kExitUsage;
    }
    ShardSpec shard;
    if (!request.shard.empty() && parseShard(request.shard, shard))
        documents = selectShard(documents, shard);
    std::error_code ec;
    fs::create_directories(settings.outputFolder, ec);
    BatchReport report;
    const fs::path reportPath =
        request.report.empty() ? settings.outputFolder / "report.jsonl" : fs::path(request.report);
    if (ec || !report.open(reportPath, error)) {
        std::cerr << "tamcad: "
                  << (ec ? "cannot create " + request.outputFolder + ": " + ec.message() : error)
                  << "\n";
        return kExitUsage;
    }
    const BatchOutcome outcome = convertDocuments(documents, settings, report);
    if (outcome.interrupted)
        return kExitInterrupted;
    return outcome.worstExitCode;
}

}  // namespace tam
