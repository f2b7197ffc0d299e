// tamcad: a command-line host for the CAD-import library.
//   tamcad import FILE [-o OUT]...   load, print a summary, write glTF / PNG / CAD files
//   tamcad assembly FILE [-o OUT]... import an assembly through its assembly XML
//   tamcad convert SRC DST [DST...]  translate into other CAD formats
//   tamcad convert SRC --ebom FOLDER  write the assembly's EBOM and part files into FOLDER
//   tamcad info FILE                 print the scene graph as a tree
//   tamcad xml-only XML SOURCE       product XML of an assembly XML, parts by reference
//   tamcad batch SOURCES -o OUTDIR --to FORMAT   convert a folder or list of documents
// Exit codes: 0 done, 1 nothing loaded or written, 2 usage.
#include "AssemblyCommand.h"
#include "AssemblyXmlCommands.h"
#include "BatchCommand.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

namespace {

void addImportCommand(CLI::App& app, tam::ImportRequest& request) {
    CLI::App* import = app.add_subcommand("import", "Import a CAD file and write what is asked");
    import->add_option("FILE", request.file, "CAD file to import")->required();
    import->add_option("-o,--output", request.outputs,
                       "Output: .glb/.gltf, .png, or .okt/.okb/.step/.stp/.igs/.iges/.brep/.stl")
        ->check([](const std::string& path) {
            return tam::isSupportedOutput(path) ? std::string() : "unknown output type: " + path;
});
import->add_option("--width", request.picture.width, "Picture width in pixels")
    ->check(CLI::Range(16, 8192))
    ->capture_default_str();
import->add_option("--height", request.picture.height, "Picture height in pixels")
    ->check(CLI::Range(16, 8192))
    ->capture_default_str();
import->add_flag("-q,--quiet", request.quiet, "No progress display");
tam::addImportOptions(*import, request.settings);
}  // namespace

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("tamcad: imports, converts and describes CAD files", "tamcad");
    app.require_subcommand(1);
    tam::ImportRequest request;
    addImportCommand(app, request);

    tam::AssemblyRequest assembly;
    tam::addAssemblyCommand(app, assembly);

    std::string convertSource;
    std::vector<std::string> convertTargets;
    tam::ImportSettings convertSettings;
    CLI::App* convert = app.add_subcommand("convert", "Translate a CAD file into other formats");
    convert->add_option("SRC", convertSource, "CAD file to read")->required();
    std::string ebomFolder;
    convert->add_option("DST", convertTargets, "Files to write, format by extension");
    convert->add_option("--ebom", ebomFolder, "Folder for the EBOM (assembly.xml) and part files");
    tam::addImportOptions(*convert, convertSettings);

    std::string infoFile;
    tam::ImportSettings infoSettings;
    CLI::App* info = app.add_subcommand("info", "Print the scene graph of a CAD file as a tree");
    info->add_option("FILE", infoFile, "CAD file or product XML (.rvdxml) to describe")->required();
    tam::addImportOptions(*info, infoSettings);

    tam::XmlOnlyRequest xmlOnly;
    tam::addXmlOnlyCommand(app, xmlOnly);

    tam::BatchRequest batchRequest;
    const CLI::App* batch = tam::addBatchCommand(app, batchRequest);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return tam::kExitUsage;
    }
    if (app.got_subcommand("import"))
        return tam::runImport(request);
    if (app.got_subcommand("assembly"))
        return tam::runAssembly(assembly);
    if (batch->parsed())
        return tam::runBatch(batchRequest);
    if (app.got_subcommand("convert"))
        return tam::runConvertWithEbom(convertSource, convertTargets, ebomFolder, convertSettings);
    if (app.got_subcommand("xml-only"))
        return tam::runXmlOnly(xmlOnly);
    return tam::runInfo(infoFile, infoSettings);
}
