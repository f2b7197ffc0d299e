// tamcad's built-in subcommands: import, convert and info. Each follows the conventions of
// CommandLine.h.
#pragma once

#include "CommandLine.h"

#include <string>

namespace tam {

// `tamcad import FILE [-o OUT]...`: loads the file, prints the summary on stdout, then writes
// each output by its extension: .glb/.gltf (glTF), .png (picture), or a CAD format through the
// translator (.okt .okb .step .stp .igs .iges .brep .stl).
Subcommand addImportCommand(CLI::App& app);

// `tamcad convert SRC -o DST [-o DST]...`: writes the same outputs as import without the summary.
// CAD targets alone go through the translator (Translate for one, TranslateInListFile for
// several); glTF and picture targets are written from the loaded scene.
Subcommand addConvertCommand(CLI::App& app);

// `tamcad info FILE [-o TXT]`: the scene graph as an indented tree on stdout or into a file.
Subcommand addInfoCommand(CLI::App& app);

// True when the output path's extension is one that import and convert can write.
bool isSupportedOutput(const std::string& path);

}  // namespace tam
