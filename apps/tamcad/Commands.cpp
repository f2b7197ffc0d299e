#include "Commands.h"

#include "Console.h"
#include "GltfExport.h"
#include "InfoPrinter.h"
#include "Plugins.h"
#include "ProductXmlInfo.h"
#include "SceneStats.h"

#include <TamInteropCAD/exports.h>
#include <platform/CodePage.h>
#include <tamsg/sglNode.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <list>
#include <memory>

namespace tam {
namespace {

namespace fs = std::filesystem;

// Model loads start the kernel before and stop it after.
constexpr unsigned int kLoadFlags = TAM_FLAG_START_KERNEL | TAM_FLAG_STOP_KERNEL;

enum class OutputKind { Gltf, Picture, Translator };

std::string lowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool outputKind(const std::string& path, OutputKind& kind) {
    const std::string extension = lowerExtension(path);
    if (extension == ".glb" || extension == ".gltf") {
        kind = OutputKind::Gltf;
    } else if (extension == ".png") {
        kind = OutputKind::Picture;
    } else if (extension == ".okt" || extension == ".okb" || extension == ".step" ||
               extension == ".stp" || extension == ".igs" || extension == ".iges" ||
               extension == ".brep" || extension == ".stl") {
        kind = OutputKind::Translator;
    } else {
        return false;
    }
    return true;
}

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

bool writeSceneOutput(const RootPtr& root, const std::string& path, OutputKind kind,
                      const PictureOptions& picture) {
    std::string error;
    bool written = false;
    if (kind == OutputKind::Gltf) {
        GltfCounts counts;
        written = writeGltf(sceneOf(root), path, counts, error);
    } else {
        written = writePicture(sceneOf(root), path, picture, error);
    }
    if (!written)
        std::cerr << "tamcad: " << error << "\n";
    return written;
}

// Loads the file; with translator outputs, loads it once through TranslateInListFile so that
// every CAD target is written from the same load.
RootPtr loadForImport(const ImportRequest& request, const std::list<std::wstring>& cadTargets) {
    if (cadTargets.empty())
        return RootPtr(LoadModelCAD(widePath(request.file).c_str(), kLoadFlags));
    std::list<std::wstring> targets = cadTargets;
    return RootPtr(TranslateInListFile(widePath(request.file), &targets));
}

}  // namespace

bool isSupportedOutput(const std::string& path) {
    OutputKind kind;
    return outputKind(path, kind);
}

int runImport(const ImportRequest& request) {
    std::list<std::wstring> cadTargets;
    for (const std::string& output : request.outputs) {
        OutputKind kind;
        if (!outputKind(output, kind)) {
            std::cerr << "tamcad: cannot write " << output << " (unknown extension)\n";
            return kExitUsage;
        }
        if (kind == OutputKind::Translator)
            cadTargets.push_back(widePath(output));
    }
    applyImportSettings(request.settings);
    registerPlugins();
    ConsoleReporter reporter(request.quiet);
    CancelOnInterrupt interrupt;
    const fs::file_time_type start = commandStart();
    const auto clockStart = std::chrono::steady_clock::now();
    const RootPtr root = loadForImport(request, cadTargets);
    nameSceneAfterFile(root, request.file);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - clockStart).count();
    ConsoleReporter::finishProgress();
    printSummary(std::cout, request.file, collectStats(sceneOf(root)), seconds);
    if (sceneOf(root) == nullptr) {
        std::cerr << "tamcad: nothing loaded from " << request.file
                  << (sglModelLoader::m_sbCancelImport ? " (cancelled)\n" : "\n");
        return kExitNothing;
    }
    bool allWritten = true;
    for (const std::string& output : request.outputs) {
        OutputKind kind;
        outputKind(output, kind);
        const bool written = kind == OutputKind::Translator
                                 ? writtenSince(output, start)
                                 : writeSceneOutput(root, output, kind, request.picture);
        if (written)
            std::cout << "wrote " << output << "\n";
        if (!written && kind == OutputKind::Translator)
            std::cerr << "tamcad: " << output << " was not written\n";
        allWritten = allWritten && written;
    }
    return allWritten ? kExitDone : kExitNothing;
}

int runConvert(const std::string& source, const std::vector<std::string>& targets,
               const ImportSettings& settings) {
    applyImportSettings(settings);
    registerPlugins();
    ConsoleReporter reporter(false);
    CancelOnInterrupt interrupt;
    const fs::file_time_type start = commandStart();
    if (targets.size() == 1) {
        const bool written = Translate(widePath(source).c_str(), widePath(targets[0]).c_str());
        ConsoleReporter::finishProgress();
        if (written)
            std::cout << "wrote " << targets[0] << "\n";
        return written ? kExitDone : kExitNothing;
    }
    std::list<std::wstring> wideTargets;
    for (const std::string& target : targets)
        wideTargets.push_back(widePath(target));
    const RootPtr root(TranslateInListFile(widePath(source), &wideTargets));
    ConsoleReporter::finishProgress();
    bool allWritten = true;
    for (const std::string& target : targets) {
        const bool written = writtenSince(target, start);
        std::cout << (written ? "wrote " : "not written: ") << target << "\n";
        allWritten = allWritten && written;
    }
    return allWritten ? kExitDone : kExitNothing;
}

int runInfo(const std::string& file, const ImportSettings& settings) {
    if (lowerExtension(file) == ".rvdxml")
        return printProductXmlTree(file);
    applyImportSettings(settings);
    registerPlugins();
    ConsoleReporter reporter(true);
    CancelOnInterrupt interrupt;
    const RootPtr root(LoadModelCAD(widePath(file).c_str(), kLoadFlags));
    nameSceneAfterFile(root, file);
    printSceneTree(std::cout, sceneOf(root));
    return sceneOf(root) != nullptr ? kExitDone : kExitNothing;
}

}  // namespace tam
