#include "Commands.h"

#include "AssemblyXmlCommands.h"
#include "CacheOptions.h"
#include "Console.h"
#include "HostSettings.h"
#include "InfoPrinter.h"
#include "Outputs.h"
#include "Plugins.h"
#include "ProductXmlInfo.h"
#include "SceneStats.h"

#include <TamInteropCAD/exports.h>
#include <platform/AtomicFile.h>
#include <platform/CodePage.h>
#include <tamsg/sglNode.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <list>
#include <memory>
#include <sstream>

namespace tam {
namespace {

namespace fs = std::filesystem;

// Model loads start the kernel before and stop it after.
constexpr unsigned int kLoadFlags = TAM_FLAG_START_KERNEL | TAM_FLAG_STOP_KERNEL;

// What import and convert are asked to do.
struct LoadRequest {
    std::string file;
    std::vector<std::string> outputs;
    std::string ebomFolder;  // convert only: folder for the EBOM and its part files
    ImportSettings settings;
    PictureOptions picture;
    CacheSettings cache;
    bool quiet = false;
};

struct InfoRequest {
    std::string file;
    std::vector<std::string> outputs;
    ImportSettings settings;
    bool quiet = false;
};

std::wstring widePath(const std::string& path) {
    std::wstring wide;
    if (!Utf8ToWide(path, wide))
        wide.assign(path.begin(), path.end());
    return wide;
}

using RootPtr = std::unique_ptr<CTamDBRoot>;

sglNode* sceneOf(const RootPtr& root) {
    return root != nullptr ? root->GetSglRoot() : nullptr;
}

// The library leaves the part group unnamed; the host names it after the file.
void nameSceneAfterFile(const RootPtr& root, const std::string& file) {
    sglNode* scene = sceneOf(root);
    if (scene != nullptr && scene->getName().empty())
        scene->setName(widePath(fs::path(file).stem().string()));
}

// A target counts as written when it exists and was changed since the command started.
bool writtenSince(const std::string& path, fs::file_time_type start) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && fs::last_write_time(path, ec) >= start && !ec;
}

// A clock reading slightly in the past, so that file times of coarse resolution still compare.
fs::file_time_type commandStart() {
    return fs::file_time_type::clock::now() - std::chrono::seconds(1);
}

void printProblem(const std::string& path, const std::string& problem) {
    ConsoleReporter::finishProgress();
    std::cerr << "tamcad: " << path << ": " << problem << "\n";
}

// The outputs whose folder can take them; the others are reported and dropped.
std::vector<std::string> writableOutputs(const std::vector<std::string>& outputs) {
    std::vector<std::string> writable;
    for (const std::string& output : outputs) {
        const std::string problem = outputProblem(output);
        if (problem.empty())
            writable.push_back(output);
        else
            printProblem(output, "cannot write: " + problem);
    }
    return writable;
}

std::list<std::wstring> translatorTargets(const std::vector<std::string>& outputs) {
    std::list<std::wstring> targets;
    for (const std::string& output : outputs) {
        OutputKind kind;
        if (outputKind(output, kind) && kind == OutputKind::Translator)
            targets.push_back(widePath(output));
    }
    return targets;
}

bool isProductXml(const std::string& file) {
    std::string extension = fs::path(file).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".rvdxml";
}

// The exit code of a load that gave the scene (or nothing), before any output is written.
ExitCode loadOutcome(const std::string& file, bool loaded) {
    if (sglModelLoader::m_sbCancelImport) {
        printProblem(file, "interrupted");
        return kExitInterrupted;
    }
    if (!loaded) {
        printProblem(file, ConsoleReporter::messageCount() == 0
                               ? "nothing loaded: no shapes in the file"
                               : "nothing loaded");
        return kExitNothingLoaded;
    }
    return ConsoleReporter::messageCount() > 0 ? kExitPartial : kExitDone;
}

// Writes every output of a loaded scene; translator targets were written during the load.
ExitCode writeOutputs(const RootPtr& root, const std::vector<std::string>& outputs,
                      const PictureOptions& picture, fs::file_time_type start) {
    ExitCode exit = kExitDone;
    for (const std::string& output : outputs) {
        OutputKind kind = OutputKind::Translator;
        outputKind(output, kind);
        std::string error;
        bool written = false;
        if (kind == OutputKind::Translator) {
            written = writtenSince(output, start);
            error = output + " was not written";
        } else {
            written = writeSceneOutput(sceneOf(root), output, kind, picture, error);
        }
        if (written)
            std::cout << "wrote " << output << "\n";
        else
            std::cerr << "tamcad: " << error << "\n";
        if (!written)
            exit = kExitNotWritten;
    }
    return exit;
}

// Loads the file; with translator outputs, loads it once through TranslateInListFile so that
// every CAD target is written from the same load.
RootPtr loadScene(const std::string& file, const std::vector<std::string>& outputs) {
    std::list<std::wstring> targets = translatorTargets(outputs);
    if (targets.empty())
        return RootPtr(LoadModelCAD(widePath(file).c_str(), kLoadFlags));
    return RootPtr(TranslateInListFile(widePath(file), &targets));
}

// import and convert: load, report, write. The summary is import's alone.
ExitCode loadAndWrite(const LoadRequest& request, bool summary) {
    applyImportSettings(request.settings);
    registerPlugins();
    useImportCache(request.cache);
    ConsoleReporter reporter(request.quiet);
    CancelOnInterrupt interrupt;
    const std::string problem = sourceProblem(request.file);
    if (!problem.empty()) {
        printProblem(request.file, problem);
        return kExitNothingLoaded;
    }
    const std::vector<std::string> outputs = writableOutputs(request.outputs);
    const ExitCode unwritable =
        outputs.size() < request.outputs.size() ? kExitNotWritten : kExitDone;
    const fs::file_time_type start = commandStart();
    const auto clockStart = std::chrono::steady_clock::now();
    const RootPtr root = loadScene(request.file, outputs);
    nameSceneAfterFile(root, request.file);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - clockStart).count();
    ConsoleReporter::finishProgress();
    const ExitCode loaded = loadOutcome(request.file, sceneOf(root) != nullptr);
    if (loaded == kExitInterrupted || loaded == kExitNothingLoaded)
        return loaded;
    if (summary)
        printSummary(std::cout, request.file, collectStats(sceneOf(root)), seconds);
    return worseExit(worseExit(loaded, unwritable),
                     writeOutputs(root, outputs, request.picture, start));
}

// convert with CAD targets alone: the translator writes them from the entities, no scene.
ExitCode translateOnly(const LoadRequest& request) {
    applyImportSettings(request.settings);
    registerPlugins();
    ConsoleReporter reporter(request.quiet);
    CancelOnInterrupt interrupt;
    const std::string problem = sourceProblem(request.file);
    if (!problem.empty()) {
        printProblem(request.file, problem);
        return kExitNothingLoaded;
    }
    const std::vector<std::string> outputs = writableOutputs(request.outputs);
    ExitCode exit = outputs.size() < request.outputs.size() ? kExitNotWritten : kExitDone;
    if (outputs.empty())
        return exit;
    const fs::file_time_type start = commandStart();
    if (outputs.size() == 1) {
        Translate(widePath(request.file).c_str(), widePath(outputs[0]).c_str());
    } else {
        std::list<std::wstring> targets = translatorTargets(outputs);
        const RootPtr root(TranslateInListFile(widePath(request.file), &targets));
    }
    ConsoleReporter::finishProgress();
    if (sglModelLoader::m_sbCancelImport)
        return loadOutcome(request.file, false);
    bool anyWritten = false;
    for (const std::string& output : outputs) {
        const bool written = writtenSince(output, start);
        anyWritten = anyWritten || written;
        if (written)
            std::cout << "wrote " << output << "\n";
        else
            exit = worseExit(exit, kExitNotWritten);
    }
    if (!anyWritten)
        return loadOutcome(request.file, false);
    return worseExit(exit, ConsoleReporter::messageCount() > 0 ? kExitPartial : kExitDone);
}

bool onlyTranslatorTargets(const std::vector<std::string>& outputs) {
    return translatorTargets(outputs).size() == outputs.size();
}

// convert: the EBOM first when asked (an -o naming no file type is its folder, as --ebom
// FOLDER), then the file outputs.
ExitCode runConvert(const LoadRequest& asked) {
    LoadRequest request = asked;
    request.outputs.clear();
    for (const std::string& output : asked.outputs) {
        if (isSupportedOutput(output)) {
            request.outputs.push_back(output);
        } else if (request.ebomFolder.empty()) {
            request.ebomFolder = output;
        } else {
            std::cerr << "tamcad: convert writes one EBOM folder, not " << output << "\n";
            return kExitUsage;
        }
    }
    if (request.outputs.empty() && request.ebomFolder.empty()) {
        std::cerr << "tamcad: convert needs -o OUT or -o FOLDER\n";
        return kExitUsage;
    }
    if (!request.ebomFolder.empty()) {
        const ExitCode written = static_cast<ExitCode>(
            writeEbom(request.file, request.ebomFolder, request.settings, request.quiet));
        if (written != kExitDone || request.outputs.empty())
            return written;
    }
    return onlyTranslatorTargets(request.outputs) ? translateOnly(request)
                                                  : loadAndWrite(request, false);
}

// A folder for convert's EBOM: a trailing separator, an existing folder, or no extension.
bool namesFolder(const std::string& path) {
    std::error_code ec;
    return path.back() == '/' || path.back() == '\\' || fs::is_directory(path, ec) ||
           !fs::path(path).has_extension();
}

CLI::Option* addLoadOutputs(CLI::App& command, std::vector<std::string>& outputs,
                            bool folders = false) {
    const std::string what =
        "Output: .glb/.gltf, .png, or .okt/.okb/.step/.stp/.igs/.iges/.brep/.stl";
    return addOutputOption(command, outputs,
                           folders ? what +
                                         "; a FOLDER takes the assembly's EBOM (assembly.xml) "
                                         "and part files"
                                   : what)
        ->check([folders](const std::string& path) {
            return isSupportedOutput(path) || (folders && !path.empty() && namesFolder(path))
                       ? std::string()
                       : "unknown output type: " + path;
        });
}

void addPictureOptions(CLI::App& command, PictureOptions& picture) {
    command.add_option("--width", picture.width, "Picture width in pixels")
        ->check(CLI::Range(16, 8192))
        ->capture_default_str();
    command.add_option("--height", picture.height, "Picture height in pixels")
        ->check(CLI::Range(16, 8192))
        ->capture_default_str();
}

// Writes the tree to stdout, or whole into each output file.
ExitCode writeTree(const std::string& tree, const std::vector<std::string>& outputs) {
    if (outputs.empty()) {
        std::cout << tree;
        return kExitDone;
    }
    ExitCode exit = kExitDone;
    for (const std::string& output : outputs) {
        std::string error;
        const bool written = WriteFileAtomically(
            output,
            [&tree](const std::string& temporary) {
                std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
                return file && file.write(tree.data(), std::streamsize(tree.size())) &&
                       file.flush();
            },
            error);
        if (!written) {
            printProblem(output, "cannot write: " + error);
            exit = kExitNotWritten;
        }
    }
    return exit;
}

ExitCode runInfo(const InfoRequest& request) {
    if (isProductXml(request.file))
        return static_cast<ExitCode>(printProductXmlTree(request.file));
    applyImportSettings(request.settings);
    registerPlugins();
    ConsoleReporter reporter(true);
    CancelOnInterrupt interrupt;
    const std::string problem = sourceProblem(request.file);
    if (!problem.empty()) {
        printProblem(request.file, problem);
        return kExitNothingLoaded;
    }
    const RootPtr root(LoadModelCAD(widePath(request.file).c_str(), kLoadFlags));
    nameSceneAfterFile(root, request.file);
    const ExitCode loaded = loadOutcome(request.file, sceneOf(root) != nullptr);
    if (loaded == kExitInterrupted || loaded == kExitNothingLoaded)
        return loaded;
    std::ostringstream tree;
    printSceneTree(tree, sceneOf(root));
    return worseExit(loaded, writeTree(tree.str(), request.outputs));
}

}  // namespace

bool isSupportedOutput(const std::string& path) {
    OutputKind kind;
    return outputKind(path, kind);
}

Subcommand addImportCommand(CLI::App& app) {
    auto request = std::make_shared<LoadRequest>();
    CLI::App* command = app.add_subcommand("import", "Import a CAD file and write what is asked");
    command->add_option("FILE", request->file, "CAD file to import")->required();
    addLoadOutputs(*command, request->outputs);
    addPictureOptions(*command, request->picture);
    addQuietFlag(*command, request->quiet);
    addImportOptions(*command, request->settings);
    addCacheOptions(*command, request->cache);
    return {command, [request]() { return loadAndWrite(*request, true); }};
}

Subcommand addConvertCommand(CLI::App& app) {
    auto request = std::make_shared<LoadRequest>();
    CLI::App* command =
        app.add_subcommand("convert", "Translate a CAD file into other formats (no summary)");
    command->add_option("SRC", request->file, "CAD file to read")->required();
    addLoadOutputs(*command, request->outputs, true);
    command->add_option("--ebom", request->ebomFolder, "The same as -o FOLDER");
    addPictureOptions(*command, request->picture);
    addQuietFlag(*command, request->quiet);
    addImportOptions(*command, request->settings);
    addCacheOptions(*command, request->cache);
    return {command, [request]() { return runConvert(*request); }};
}

Subcommand addInfoCommand(CLI::App& app) {
    auto request = std::make_shared<InfoRequest>();
    CLI::App* command = app.add_subcommand("info", "Print the scene graph of a CAD file as a tree");
    command->add_option("FILE", request->file, "CAD file or product XML (.rvdxml) to describe")
        ->required();
    addOutputOption(*command, request->outputs, "Text file for the tree instead of stdout");
    addQuietFlag(*command, request->quiet);
    addImportOptions(*command, request->settings);
    return {command, [request]() { return runInfo(*request); }};
}

}  // namespace tam
