// tamcad's command line, run by the program (main.cpp) once it has opened this library.
// tamcad: a command-line host for the CAD-import library.
//   tamcad import FILE [-o OUT]...     load, print a summary, write glTF / PNG / CAD files
//   tamcad assembly FILE [-o OUT]...   import an assembly through its assembly XML
//   tamcad convert SRC -o DST...       the same outputs as import without the summary
//   tamcad convert SRC -o FOLDER       write the assembly's EBOM and part files into FOLDER
//   tamcad info FILE [-o TXT]          print the scene graph as a tree
//   tamcad xml-only XML SOURCE         product XML of an assembly XML, parts by reference
//   tamcad batch SOURCES -o OUTDIR --to FORMAT   convert a folder or list of documents
// Every subcommand takes -o for its outputs and -q for quiet; exit codes in ExitCodes.h.
#include "AssemblyCommand.h"
#include "AssemblyXmlCommands.h"
#include "BatchCommand.h"
#include "Commands.h"

#include <malloc.h>

#include <memory>
#include <vector>

namespace {

// A subcommand whose runner returns a plain int exit code.
template <class Request, class Add, class Run>
tam::Subcommand wrapped(CLI::App& app, Add add, Run run) {
    auto request = std::make_shared<Request>();
    CLI::App* command = add(app, *request);
    return {command, [request, run]() { return static_cast<tam::ExitCode>(run(*request)); }};
}

// Meshing allocates and frees much short-lived memory per face. By default the allocator hands
// freed memory at the top of the heap back to the system at once and faults it in again for the
// next face; keeping a pad of it cuts a fifth to a third of the CPU time of faceting passes.
constexpr int kHeapTopPad = 64 << 20;

}  // namespace

// The entry point main.cpp looks up by this name.
extern "C" __attribute__((visibility("default"))) int tamcad_main(int argc, char** argv) {
    mallopt(M_TOP_PAD, kHeapTopPad);
    CLI::App app("tamcad: imports, converts and describes CAD files", "tamcad");
    app.require_subcommand(1);
    app.footer(tam::exitCodeHelp());
    const std::vector<tam::Subcommand> subcommands = {
        tam::addImportCommand(app),
        wrapped<tam::AssemblyRequest>(app, tam::addAssemblyCommand, tam::runAssembly),
        tam::addConvertCommand(app),
        tam::addInfoCommand(app),
        wrapped<tam::XmlOnlyRequest>(app, tam::addXmlOnlyCommand, tam::runXmlOnly),
        tam::addBatchCommand(app)};
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
    for (const tam::Subcommand& subcommand : subcommands) {
        if (subcommand.command->parsed())
            return subcommand.run();
    }
    return tam::kExitUsage;
}
