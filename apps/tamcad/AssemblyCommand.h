// `tamcad assembly FILE [-o OUT]...`: a CAD assembly imported the way a host does it, through
// the translator's assembly XML and the library's EBOM parser, each part meshed once.
#pragma once

#include "HostSettings.h"
#include "Picture.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace tam {

// The EBOM parser's settings a user may want to change (defaults are the parser's).
struct AssemblyParserSettings {
    bool readIssuedFrom = true;     // a part issued from another file loads that file
    bool readNotIssuedFrom = true;  // parts that name no source file load too
    bool readFreeParts = false;     // without those, still load "assembly-FreeParts"
    bool checkUsed = true;          // skip part documents no instance places
    bool mirexV4 = false;           // the older CAD family's conventions (translation, names)
    bool refLinkNames = false;      // name instances by their RefLink id
    bool pathKeys = true;           // file parts by their file path (else by document name)
};

struct AssemblyRequest {
    std::string file;
    std::vector<std::string> outputs;  // .glb/.gltf, .png, .rvdxml (at most one)
    ImportSettings settings;
    AssemblyParserSettings parser;
    PictureOptions picture;
    bool quiet = false;
};

// Adds the "assembly" subcommand, bound to request; returns it.
CLI::App* addAssemblyCommand(CLI::App& app, AssemblyRequest& request);

// Runs the command: starts the kernel, has the translator write the assembly XML and part files
// into a private work folder (removed afterwards), parses it with CTamEBOMParser and a
// CTamCADLoader, and, when the parser announces its fallback (message code 8) or no assembly
// XML was written, imports the file flat instead and says so. Prints the summary (instances,
// distinct parts, parts meshed, triangles, seconds) and writes the outputs: glTF with one mesh
// per part shared by its placements, a picture, and the product XML with its ".rvdGeom" side
// file. Returns the exit code.
int runAssembly(const AssemblyRequest& request);

}  // namespace tam
