// The three tamcad commands. Each returns the program's exit code.
#pragma once

#include "HostSettings.h"
#include "Picture.h"

#include <string>
#include <vector>

namespace tam {

// Exit codes: done; nothing loaded or not everything written; bad command line.
enum ExitCode : int { kExitDone = 0, kExitNothing = 1, kExitUsage = 2 };

// `tamcad import FILE [-o OUT]...`: loads the file with the settings, prints the summary on
// stdout, then writes each output by its extension: .glb/.gltf (glTF), .png (picture), or a CAD
// format through the translator (.okt .okb .step .stp .igs .iges .brep .stl).
struct ImportRequest {
    std::string file;
    std::vector<std::string> outputs;
    ImportSettings settings;
    PictureOptions picture;
    bool quiet = false;  // no progress display
};
int runImport(const ImportRequest& request);

// `tamcad convert SRC DST...`: Translate for one target, TranslateInListFile for several.
int runConvert(const std::string& source, const std::vector<std::string>& targets,
               const ImportSettings& settings);

// `tamcad info FILE`: the scene graph as an indented tree on stdout.
int runInfo(const std::string& file, const ImportSettings& settings);

// True when the output path's extension is one that runImport can write.
bool isSupportedOutput(const std::string& path);

}  // namespace tam
