#include "TranslateOptions.h"

namespace tam {
namespace {

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
    o.translateAttributes = options.GetBool("TranslateAttributes", o.translateAttributes);
    o.healing = options.GetBool("Healing", o.healing);
    o.freePoints = options.GetBool("TranslateFreePoints", o.freePoints);
    o.freeCurves = options.GetBool("TranslateFreeCurves", o.freeCurves);
    o.freeSurfaces = options.GetBool("TranslateFreeSurfaces", o.freeSurfaces);
    o.sheetBodies = options.GetBool("TranslateSheetBodies", o.sheetBodies);
    o.hiddenEntities = options.GetBool("TranslateHiddenEntities", o.hiddenEntities);
    o.overrideFaceColorWithBodyColor = options.GetInteger("OverrideFaceColorWithBodyColor", 0) != 0;
    o.timeLimitSeconds = options.GetInteger("TimeLimitSeconds", 0);
    o.codePage = options.GetString("CodePage", std::string());
    return o;
}

}  // namespace tam
