#include "AssemblyXmlCommands.h"

#include "CommandLine.h"
#include "Commands.h"
#include "Console.h"
#include "Outputs.h"
#include "Plugins.h"
#include "SceneWalk.h"

#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/xml_only_parser.h>
#include <platform/CodePage.h>
#include <platform/WideFile.h>
#include <tamfoundations/CTamIO.h>
#include <tamkernel/CTamPreferences.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <chrono>
#include <filesystem>
#include <iostream>

namespace tam {
namespace {

namespace fs = std::filesystem;

std::wstring wideOf(const fs::path& path) {
    std::wstring wide;
    const std::string text = path.string();
    if (!Utf8ToWide(text, wide))
        wide.assign(text.begin(), text.end());
    return wide;
}

// A clock reading slightly in the past, so that file times of coarse resolution still compare.
fs::file_time_type commandStart() {
    return fs::file_time_type::clock::now() - std::chrono::seconds(1);
}

bool writtenSince(const fs::path& path, fs::file_time_type start) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && fs::last_write_time(path, ec) >= start && !ec;
}

// Where the library saves the product XML of a source file: its base path, "_", its extension
// with '.' made '_' (a trailing ProE revision cut first when the preference asks), ".rvdXml";
// in the save folder unless the product XML goes beside the source.
fs::path productXmlPath(const std::wstring& source) {
    std::wstring path = source;
    if (GetTamPreferences()->GetIOProERemoveRevisionNumber()) {
        std::size_t i = path.size();
        while (i > 0 && path[i - 1] >= L'0' && path[i - 1] <= L'9')
            --i;
        if (i > 1 && path[i - 1] == L'.')
            path.erase(i - 1);
    }
    CString extension = CTamIO::GetFileExtension(CString(path), true);
    extension.Replace(L'.', L'_');
    const fs::path name(NativePath(CTamIO::GetFileBasePath(CString(path), true).str() + L"_" +
                                   extension.str() + L".rvdXml"));
    if (sglModelLoader::m_sbSaveInSameFolder)
        return name;
    return fs::path(NativePath(sglModelLoader::GetSaveFolder())) / name.filename();
}

struct GroupCount {
    unsigned int groups = 0;
    unsigned int references = 0;
};

void countGroups(const std::shared_ptr<CTamXmlParserNode>& node, GroupCount& count) {
    for (const auto& group : node->GetNodesByTag(L"CTamAssyGroup")) {
        ++count.groups;
        if (group->HasAttribute(L"IsInstanceOf"))
            ++count.references;
        countGroups(group, count);
    }
}

// The assembly root of a saved product XML, or null.
std::shared_ptr<CTamXmlParserNode> assemblyRoot(const CTamXmlParserDocu& document) {
    for (const auto& server : document.getDocumentElement()->GetNodesByTag(L"Server")) {
        const auto root = server->GetNodeByTag(L"CTamAssyRoot");
        if (!root->isEmpty())
            return root;
    }
    return nullptr;
}

// Why an input gave no assembly: the XML does not read, or it lacks the structure.
std::string whyNoAssembly(const std::wstring& xml) {
    CTamXmlParserDocu input;
    if (!input.load(xml))
        return "cannot be read as XML: " + WideToUtf8Replacing(input.getLastError());
    return "holds no assembly structure (Exposition, Structure, Root with instances, References "
           "and Documents)";
}

}  // namespace

CLI::App* addXmlOnlyCommand(CLI::App& app, XmlOnlyRequest& request) {
    CLI::App* command = app.add_subcommand(
        "xml-only", "Turn an assembly XML into a product XML that refers to part documents");
    command->add_option("ASSEMBLY", request.xml, "Assembly XML (EBOM vocabulary)")->required();
    command->add_option("SOURCE", request.source, "CAD file the XML describes")->required();
    command->add_flag("--save-in-same-folder", request.sameFolder,
                      "Product XML beside SOURCE, references relative to it");
    command
        ->add_option("-o,--output,--save-folder", request.saveFolder,
                     "Folder of the product XML otherwise (its name comes from SOURCE)")
        ->capture_default_str();
    addQuietFlag(*command, request.quiet);
    command->add_flag("--ref-link-names", request.refLinkNames,
                      "Name instances by their RefLink id");
    command->add_flag("--metas", request.metas, "Document metadata");
    command->add_flag("--remove-revision", request.removeRevision,
                      "Strip ProE revision numbers (.3) from file names");
    command->add_flag("--ident-from-names", request.identFromNames,
                      "Identifiers formed from names instead of random ones");
    return command;
}

int runXmlOnly(const XmlOnlyRequest& request) {
    ImportSettings settings;
    settings.metas = request.metas;
    applyImportSettings(settings);
    sglModelLoader::m_sbSaveInSameFolder = request.sameFolder;
    sglModelLoader::m_suiIdentType = request.identFromNames ? 1 : 0;
    sglModelLoader::SetSaveFolder(wideOf(fs::absolute(request.saveFolder).lexically_normal()));
    GetTamPreferences()->SetIOProERemoveRevisionNumber(request.removeRevision);
    ConsoleReporter reporter(request.quiet);
    CancelOnInterrupt interrupt;

    // The parser strips the first line of its input and deletes it: give it a copy.
    const std::wstring xml = wideOf(request.xml);
    const std::wstring copy = sglModelLoader::GetPathFolderWork() + L"\\xml-only-input.xml";
    const std::string problem = sourceProblem(request.xml);
    if (!problem.empty() || CopyFileW(xml.c_str(), copy.c_str(), FALSE) == FALSE) {
        std::cerr << "tamcad: cannot read " << request.xml << ": "
                  << (problem.empty() ? "it cannot be copied to the work folder" : problem) << "\n";
        return kExitNothingLoaded;
    }
    const std::wstring source = wideOf(fs::absolute(request.source));
    const fs::file_time_type start = commandStart();
    {
        CTamXmlOnlyParser parser(copy.c_str(), source.c_str(), nullptr);
        parser.SetUseRefLinkIdAsName(request.refLinkNames);
        parser.Parse();
    }
    const fs::path output = productXmlPath(source);
    if (sglModelLoader::m_sbCancelImport) {
        std::cerr << "tamcad: cancelled\n";
        return kExitInterrupted;
    }
    CTamXmlParserDocu product;
    if (!writtenSince(output, start) || !product.load(wideOf(output))) {
        std::cerr << "tamcad: the product XML could not be written to " << output.string()
                  << " (folder missing or not writable); nothing was written\n";
        return kExitNotWritten;
    }
    const auto root = assemblyRoot(product);
    if (!root) {
        std::cerr << "tamcad: " << request.xml << " " << whyNoAssembly(xml) << "; the product XML "
                  << output.string() << " holds no assembly\n";
        return kExitNothingLoaded;
    }
    GroupCount count;
    countGroups(root, count);
    std::cout << "wrote " << output.string() << "\n"
              << "groups: " << count.groups
              << ", references to other product XML files: " << count.references << "\n";
    return kExitDone;
}

int writeEbom(const std::string& source, const std::string& folder, const ImportSettings& settings,
              bool quiet) {
    const wchar_t* typeTag = cadTypeTag(wideOf(source));
    if (typeTag == nullptr) {
        std::cerr << "tamcad: an EBOM needs a STEP, IGES or B-rep source, not " << source << "\n";
        return kExitUsage;
    }
    const std::string problem = sourceProblem(source);
    if (!problem.empty()) {
        std::cerr << "tamcad: cannot read " << source << ": " << problem << "\n";
        return kExitNothingLoaded;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path target = fs::absolute(folder, ec);
    if (!fs::is_directory(target, ec)) {
        std::cerr << "tamcad: cannot make the folder " << folder << "\n";
        return kExitNotWritten;
    }
    applyImportSettings(settings);
    ConsoleReporter reporter(quiet);
    CancelOnInterrupt interrupt;
    const fs::file_time_type start = commandStart();
    // The assembly import has the EBOM written into the host's work folder: here, FOLDER.
    sglModelLoader::SetPathFolderWork(wideOf(target));
    CTamCADTools::InitializeImport();
    std::wstring xmlPath;
    CTamCADTools::InitializeConnectXml(wideOf(source).c_str(), xmlPath, typeTag, false);
    CTamCADTools::TerminateImport();
    sglModelLoader::SetPathFolderWork(std::wstring());
    ConsoleReporter::finishProgress();

    const fs::path xml = target / "assembly.xml";
    if (!writtenSince(xml, start)) {
        std::cerr << "tamcad: no EBOM written for " << source << "\n";
        return sglModelLoader::m_sbCancelImport ? kExitInterrupted : kExitNothingLoaded;
    }
    unsigned int parts = 0;
    for (const auto& entry : fs::directory_iterator(target, ec)) {
        if (entry.path().extension() == ".okt" && writtenSince(entry.path(), start))
            ++parts;
    }
    std::cout << "wrote " << xml.string() << " and " << parts << " part files\n";
    return kExitDone;
}

}  // namespace tam
