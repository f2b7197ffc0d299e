#include "AssemblyCommand.h"

#include "AssemblyStats.h"
#include "Commands.h"
#include "Console.h"
#include "Plugins.h"
#include "SceneStats.h"
#include "SceneWalk.h"
#include "SceneWriters.h"

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/ebom_parser.h>
#include <TamInteropCAD/exports.h>
#include <TamInteropCAD/io_tools.h>
#include <platform/CodePage.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamsg/sglNode.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace tam {
namespace {

namespace fs = std::filesystem;

using RootPtr = std::unique_ptr<CTamDBRoot>;

enum class AssemblyOutput { Gltf, Picture, ProductXml };

bool assemblyOutputKind(const std::string& path, AssemblyOutput& kind) {
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".glb" || extension == ".gltf")
        kind = AssemblyOutput::Gltf;
    else if (extension == ".png")
        kind = AssemblyOutput::Picture;
    else if (extension == ".rvdxml")
        kind = AssemblyOutput::ProductXml;
    else
        return false;
    return true;
}

std::wstring wide(const std::string& text) {
    std::wstring out;
    if (!Utf8ToWide(text, out))
        out.assign(text.begin(), text.end());
    return out;
}

// The host's work folder for one command: a fresh private folder, removed with what the
// translator left in it when the command ends; the registry's default is restored.
class ScratchWorkFolder {
public:
    ScratchWorkFolder() {
        std::string pattern = (fs::temp_directory_path() / "tamcad-assembly-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
            sglModelLoader::SetPathFolderWork(m_path.wstring());
        }
    }
    ~ScratchWorkFolder() {
        sglModelLoader::SetPathFolderWork(L"");
        std::error_code ec;
        if (!m_path.empty())
            fs::remove_all(m_path, ec);
    }
    ScratchWorkFolder(const ScratchWorkFolder&) = delete;
    ScratchWorkFolder& operator=(const ScratchWorkFolder&) = delete;
    bool ready() const { return !m_path.empty(); }

private:
    fs::path m_path;
};

// While it lives, notes the parser's fallback announcement (message code 8) and passes every
// message on to the callback installed before it.
class FallbackWatch {
public:
    FallbackWatch() : m_previous(sglModelLoader::s_callbackLoadingError) {
        s_previous = m_previous;
        s_announced = false;
        sglModelLoader::s_callbackLoadingError = &FallbackWatch::receive;
    }
    ~FallbackWatch() { sglModelLoader::s_callbackLoadingError = m_previous; }
    FallbackWatch(const FallbackWatch&) = delete;
    FallbackWatch& operator=(const FallbackWatch&) = delete;
    static bool announced() { return s_announced; }

private:
    static void receive(const wchar_t* text, unsigned int code) {
        s_announced = s_announced || code == 8;
        if (s_previous != nullptr)
            s_previous(text, code);
    }
    void (*m_previous)(const wchar_t*, unsigned int);
    static inline void (*s_previous)(const wchar_t*, unsigned int) = nullptr;
    static inline bool s_announced = false;
};

// Part documents the assembly XML lists (document entries other than "Assembly").
size_t listedParts(const std::wstring& xmlPath) {
    CTamXmlParserDocu document;
    if (!document.load(xmlPath))
        return 0;
    size_t count = 0;
    for (const auto& entry : document.getDocumentElement()->getChildNodes()) {
        if (entry->getName() == L"Document" && entry->GetAttributeValue(L"Type") != L"Assembly")
            ++count;
    }
    return count;
}

void applyParserSettings(const AssemblyParserSettings& settings, bool productXml,
                         CTamEBOMParser& parser) {
    parser.SetReadIssuedFromFile(settings.readIssuedFrom);
    parser.SetReadNotIssuedFromFile(settings.readNotIssuedFrom);
    parser.SetReadAssemblyFreeParts(settings.readFreeParts);
    parser.SetCheckIfFileIsUsed(settings.checkUsed);
    parser.SetCreateRVD(productXml);
    parser.SetIsMirexV4(settings.mirexV4);
    parser.SetUseRefLinkIdAsName(settings.refLinkNames);
    parser.SetUsePathOktAsMapEntitiesKey(settings.pathKeys);
}

struct ImportResult {
    RootPtr root;
    bool flat = false;
    size_t listedParts = 0;
};

// The assembly road, and the flat road when the parser gives up or no assembly XML came out.
// The kernel runs from the conversion to the end of the flat fallback.
ImportResult importAssembly(const AssemblyRequest& request, const std::string& productXml) {
    ImportResult result;
    const std::wstring source = wide(request.file);
    CTamCADTools::InitializeImport();
    std::wstring xmlPath;
    CTamCADTools::InitializeConnectXml(source.c_str(), xmlPath, cadTypeTag(source),
                                       request.parser.mirexV4);
    const bool converted = CTamIOTools::IsFile(xmlPath.c_str());
    if (converted && !sglModelLoader::m_sbCancelImport) {
        result.listedParts = listedParts(xmlPath);
        if (!productXml.empty())
            sglModelLoader::SetOutputRVDFilePath(wide(productXml));
        CTamCADLoader loader;
        CTamEBOMParser parser(xmlPath.c_str(), source.c_str(), &loader);
        applyParserSettings(request.parser, !productXml.empty(), parser);
        result.root.reset(parser.Parse());
    }
    if (!sglModelLoader::m_sbCancelImport && (FallbackWatch::announced() || !converted)) {
        std::cerr << "tamcad: " << (converted ? "the assembly import failed" : "no assembly XML")
                  << "; importing " << request.file << " flat instead\n";
        result.root.reset(LoadModelCAD(source.c_str(), 0));
        result.flat = true;
    }
    sglNode* scene = result.root ? result.root->GetSglRoot() : nullptr;
    if (scene != nullptr && scene->getName().empty())
        scene->setName(wide(fs::path(request.file).stem().string()));
    CTamCADTools::TerminateImport();
    return result;
}

bool writeProductXml(const CTamDBRoot& root, const std::string& path) {
    const std::shared_ptr<CTamXmlParserDocu>& document = root.GetXMLDoc();
    if (!document)
        return false;
    std::string folder = fs::path(path).parent_path().string();
    return CTamSGToXML::WriteGeometryFiles(CString(wide(folder.empty() ? "." : folder))) &&
           document->save(wide(path));
}

bool writeOutput(const ImportResult& result, const std::string& path, AssemblyOutput kind,
                 const PictureOptions& picture) {
    const sglNode* scene = result.root ? result.root->GetSglRoot() : nullptr;
    std::string error;
    if (kind == AssemblyOutput::Gltf) {
        GltfCounts counts;
        if (writeGltfFile(scene, path, GltfOptions{!result.flat}, counts, error))
            return true;
    } else if (kind == AssemblyOutput::Picture) {
        if (writePictureFile(scene, path, picture, error))
            return true;
    } else {
        if (!result.flat && writeProductXml(*result.root, path))
            return true;
        error = result.flat ? "no product XML from a flat import: " + path : "cannot write " + path;
    }
    std::cerr << "tamcad: " << error << "\n";
    return false;
}

// Checks the outputs; the product XML one (at most one) goes to productXml.
bool checkOutputs(const std::vector<std::string>& outputs, std::string& productXml) {
    for (const std::string& output : outputs) {
        AssemblyOutput kind;
        if (!assemblyOutputKind(output, kind)) {
            std::cerr << "tamcad: cannot write " << output << " (unknown extension)\n";
            return false;
        }
        if (kind == AssemblyOutput::ProductXml && !productXml.empty()) {
            std::cerr << "tamcad: one product XML output at most\n";
            return false;
        }
        if (kind == AssemblyOutput::ProductXml)
            productXml = output;
    }
    return true;
}

}  // namespace

CLI::App* addAssemblyCommand(CLI::App& app, AssemblyRequest& request) {
    CLI::App* command = app.add_subcommand(
        "assembly", "Import a CAD assembly through its assembly XML, each part meshed once");
    command->add_option("FILE", request.file, "CAD assembly (STEP, IGES)")->required();
    command->add_option("-o,--output", request.outputs,
                        "Output: .glb/.gltf, .png, .rvdxml (product XML with its .rvdGeom file)");
    command->add_option("--width", request.picture.width, "Picture width in pixels")
        ->check(CLI::Range(16, 8192))
        ->capture_default_str();
    command->add_option("--height", request.picture.height, "Picture height in pixels")
        ->check(CLI::Range(16, 8192))
        ->capture_default_str();
    command->add_flag("-q,--quiet", request.quiet, "No progress display");
    AssemblyParserSettings& parser = request.parser;
    command->add_flag("!--no-issued-from", parser.readIssuedFrom,
                      "Load a part's own file, not the file it was issued from");
    command->add_flag("!--issued-from-only", parser.readNotIssuedFrom,
                      "Load only parts issued from another file");
    command->add_flag("--read-free-parts", parser.readFreeParts,
                      "With --issued-from-only, still load the assembly's free parts");
    command->add_flag("!--no-check-used", parser.checkUsed,
                      "Load part documents that no instance places too");
    command->add_flag("--mirexv4", parser.mirexV4, "Source of the older MIREXV4 CAD family");
    command->add_flag("--use-reflink-names", parser.refLinkNames,
                      "Name instances by their RefLink id");
    command->add_flag("!--name-keys", parser.pathKeys,
                      "Find parts by document name instead of by file path");
    addImportOptions(*command, request.settings);
    return command;
}

int runAssembly(const AssemblyRequest& request) {
    std::string productXml;
    if (!checkOutputs(request.outputs, productXml))
        return kExitUsage;
    if (cadTypeTag(wide(request.file)) == nullptr) {
        std::cerr << "tamcad: " << request.file << " is not a STEP, IGES or B-rep file\n";
        return kExitUsage;
    }
    applyImportSettings(request.settings);
    registerPlugins();
    ConsoleReporter reporter(request.quiet);
    CancelOnInterrupt interrupt;
    FallbackWatch fallback;
    ScratchWorkFolder work;
    if (!work.ready()) {
        std::cerr << "tamcad: cannot make a work folder\n";
        return kExitNotWritten;
    }
    const auto clockStart = std::chrono::steady_clock::now();
    const ImportResult result = importAssembly(request, productXml);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - clockStart).count();
    ConsoleReporter::finishProgress();
    const sglNode* scene = result.root ? result.root->GetSglRoot() : nullptr;
    if (result.flat)
        printSummary(std::cout, request.file, collectStats(scene), seconds);
    else
        printAssemblySummary(std::cout, request.file, "assembly", collectAssemblyStats(scene),
                             result.listedParts, seconds);
    if (scene == nullptr) {
        std::cerr << "tamcad: nothing loaded from " << request.file
                  << (sglModelLoader::m_sbCancelImport ? " (cancelled)\n" : "\n");
        CTamSGToXML::DiscardGeometryFiles();
        return sglModelLoader::m_sbCancelImport ? kExitInterrupted : kExitNothingLoaded;
    }
    bool allWritten = true;
    for (const std::string& output : request.outputs) {
        AssemblyOutput kind;
        assemblyOutputKind(output, kind);
        const bool written = writeOutput(result, output, kind, request.picture);
        if (written)
            std::cout << "wrote " << output << "\n";
        allWritten = allWritten && written;
    }
    CTamSGToXML::DiscardGeometryFiles();
    return allWritten ? kExitDone : kExitNotWritten;
}

}  // namespace tam
