// The options a conversion uses, read once from a KVXIOptions set.
#pragma once

#include <kvxi/KVXIOptions.h>

#include <string>

namespace tam {

enum class Representation { BrepAssembly, Assembly, Visualization };

struct TranslateOptions {
    Representation representation = Representation::BrepAssembly;
    bool translateAttributes = true;
    bool healing = false;
    bool freePoints = true;
    bool freeCurves = true;
    bool freeSurfaces = true;
    bool sheetBodies = true;
    bool hiddenEntities = true;
    bool overrideFaceColorWithBodyColor = false;
    // Seconds a conversion may take before it is interrupted; 0 means no limit.
    int timeLimitSeconds = 0;
    // Code page of 8-bit text in STEP files ("CP1251", "ISO8859_1" ...); "" keeps UTF-8.
    std::string codePage;

    // Reads the options this translator uses; unknown names are ignored.
    static TranslateOptions From(const KVXIOptions& options);
    // True when From reads the option of this name.
    static bool IsKnownName(const std::string& name);
};

}  // namespace tam
