// The host import settings that tamcad's command line sets, and their transfer into the loader
// registry's static settings and the host preferences.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace tam {

// Import settings as the command line gives them. Defaults are the registry's own defaults.
struct ImportSettings {
    unsigned int levelsOfDetail = 1;  // 1..5 faceting passes
    bool asBodies = false;            // one geode per body instead of per face
    bool points = true;               // free points
    bool curves = true;               // free curves
    bool freeFaces = true;            // free faces and sheet bodies
    bool hidden = false;              // hidden entities too
    bool metas = false;               // collection and document metadata
    bool massProperties = false;      // areas, volumes, centres of gravity, inertia axes
    bool merge = false;               // merge each part into one actor
    float refinement = 0.5f;          // quality, 0 coarse .. 1 fine (relative tolerances)
    bool explicitTolerances = false;  // use the explicit values below instead
    float chordalError = 0.0f;        // > 0: explicit chordal error (mm)
    float normalDeviation = 0.0f;     // > 0: explicit normal deviation (degrees)
    float edgeLength = 0.0f;          // > 0: explicit maximum edge length (mm)
    bool checkTessellation = false;   // drop triangles outside their face's box
    // An extra healing pass by the translator. The STEP and IGES readers already heal what they
    // transfer, so tamcad leaves the second pass off unless asked.
    bool healing = false;
};

// Adds the import options (--lod, --bodies, --points ... --check-tessellation) to a command,
// bound to settings; each boolean also has a --no- form.
void addImportOptions(CLI::App& command, ImportSettings& settings);

// The command-line arguments that give these settings to addImportOptions, every option
// spelled out (so that two equal lists mean equal settings).
std::vector<std::string> importArguments(const ImportSettings& settings);

// Resets the registry's settings to their defaults, then applies settings to them and to the
// host preferences; clears the cancel flag.
void applyImportSettings(const ImportSettings& settings);

}  // namespace tam
