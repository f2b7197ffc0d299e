#include "TranslateOptions.h"

namespace tam {
namespace {

// The options this translator reads; every other name is ignored.
struct BoolOption {
    const char* name;
    bool TranslateOptions::*value;
};
const BoolOption kBoolOptions[] = {
    {"TranslateAttributes", &TranslateOptions::translateAttributes},
    {"Healing", &TranslateOptions::healing},
    {"TranslateFreePoints", &TranslateOptions::freePoints},
    {"TranslateFreeCurves", &TranslateOptions::freeCurves},
    {"TranslateFreeSurfaces", &TranslateOptions::freeSurfaces},
    {"TranslateSheetBodies", &TranslateOptions::sheetBodies},
    {"TranslateHiddenEntities", &TranslateOptions::hiddenEntities},
};
constexpr const char* kOverrideFaceColor = "OverrideFaceColorWithBodyColor";
constexpr const char* kTimeLimitSeconds = "TimeLimitSeconds";
constexpr const char* kCodePage = "CodePage";

Representation ParseRepresentation(const std::string& text, Representation fallback) {
    if (text == "Brep+Assembly" || text == "Brep")
        return Representation::BrepAssembly;
    if (text == "Assembly")
        return Representation::Assembly;
    if (text == "Visualization")
        return Representation::Visualization;
    return fallback;
}

}  // namespace

TranslateOptions TranslateOptions::From(const KVXIOptions& options) {
    TranslateOptions o;
    o.representation = ParseRepresentation(
        options.GetString(KVXIOptionName::Representation, std::string()), o.representation);
    for (const BoolOption& option : kBoolOptions)
        o.*option.value = options.GetBool(option.name, o.*option.value);
    o.overrideFaceColorWithBodyColor = options.GetInteger(kOverrideFaceColor, 0) != 0;
    o.timeLimitSeconds = options.GetInteger(kTimeLimitSeconds, 0);
    o.codePage = options.GetString(kCodePage, std::string());
    return o;
}

bool TranslateOptions::IsKnownName(const std::string& name) {
    if (name == KVXIOptionName::Representation.GetName() || name == kOverrideFaceColor ||
        name == kTimeLimitSeconds || name == kCodePage) {
        return true;
    }
    for (const BoolOption& option : kBoolOptions) {
        if (name == option.name)
            return true;
    }
    return false;
}

}  // namespace tam
