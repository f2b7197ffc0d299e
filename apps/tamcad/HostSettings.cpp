#include "HostSettings.h"

#include <tamkernel/CTamPreferences.h>
#include <tamsgdb/sglModelLoader.h>

#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>
#include <utility>

namespace tam {
namespace {

void addSwitch(CLI::App& command, const std::string& name, bool& value, const std::string& help) {
    command.add_flag("--" + name + ",!--no-" + name, value, help)->capture_default_str();
}

std::string switchArgument(const std::string& name, bool value) {
    return (value ? "--" : "--no-") + name;
}

// The shortest text that reads back as the same float, whatever the global locale.
std::string floatText(float value) {
    std::string text;
    for (int digits = 1; digits <= std::numeric_limits<float>::max_digits10; ++digits) {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out << std::setprecision(digits) << value;
        text = out.str();
        std::istringstream in(text);
        in.imbue(std::locale::classic());
        float read = 0.0f;
        if (in >> read && read == value)
            break;
    }
    return text;
}

}  // namespace

void addImportOptions(CLI::App& command, ImportSettings& settings) {
    command.add_option("--lod", settings.levelsOfDetail, "Levels of detail (faceting passes)")
        ->check(CLI::Range(1u, 5u))
        ->capture_default_str();
    addSwitch(command, "bodies", settings.asBodies, "One node per body instead of one per face");
    addSwitch(command, "points", settings.points, "Import free points");
    addSwitch(command, "curves", settings.curves, "Import free curves");
    addSwitch(command, "free-faces", settings.freeFaces, "Import free faces and sheet bodies");
    addSwitch(command, "hidden", settings.hidden, "Import hidden entities too");
    addSwitch(command, "metas", settings.metas, "Import collection metadata");
    addSwitch(command, "mass", settings.massProperties,
              "Compute areas, volumes, centres of gravity and inertia axes");
    addSwitch(command, "merge", settings.merge, "Merge the part into one actor");
    command.add_option("--refinement", settings.refinement, "Tessellation quality, 0 to 1")
        ->check(CLI::Range(0.0f, 1.0f))
        ->capture_default_str();
    CLI::Option* explicitFlag = command.add_flag("--explicit", settings.explicitTolerances,
                                                 "Use explicit tolerances instead of --refinement");
    command.add_option("--chordal", settings.chordalError, "Explicit chordal error (mm)")
        ->check(CLI::PositiveNumber)
        ->needs(explicitFlag);
    command
        .add_option("--normal-deviation", settings.normalDeviation,
                    "Explicit normal deviation (degrees)")
        ->check(CLI::Range(0.0f, 180.0f))
        ->needs(explicitFlag);
    command.add_option("--edge-length", settings.edgeLength, "Explicit maximum edge length (mm)")
        ->check(CLI::PositiveNumber)
        ->needs(explicitFlag);
    addSwitch(command, "check-tessellation", settings.checkTessellation,
              "Drop triangles that lie outside their face's box");
    addSwitch(command, "heal", settings.healing,
              "Have the translator heal the shapes again after reading");
}

std::vector<std::string> importArguments(const ImportSettings& settings) {
    std::vector<std::string> arguments = {
        "--lod",
        std::to_string(settings.levelsOfDetail),
        switchArgument("bodies", settings.asBodies),
        switchArgument("points", settings.points),
        switchArgument("curves", settings.curves),
        switchArgument("free-faces", settings.freeFaces),
        switchArgument("hidden", settings.hidden),
        switchArgument("metas", settings.metas),
        switchArgument("mass", settings.massProperties),
        switchArgument("merge", settings.merge),
        "--refinement",
        floatText(settings.refinement),
        switchArgument("check-tessellation", settings.checkTessellation),
        switchArgument("heal", settings.healing)};
    if (settings.explicitTolerances)
        arguments.push_back("--explicit");
    const std::pair<const char*, float> tolerances[] = {
        {"--chordal", settings.chordalError},
        {"--normal-deviation", settings.normalDeviation},
        {"--edge-length", settings.edgeLength}};
    for (const auto& [name, value] : tolerances) {
        if (value > 0.0f) {
            arguments.push_back(name);
            arguments.push_back(floatText(value));
        }
    }
    return arguments;
}

void applyImportSettings(const ImportSettings& settings) {
    sglModelLoader::ResetSettings();
    sglModelLoader::m_sbHealing = settings.healing;
    sglModelLoader::m_suiNbLOD = settings.levelsOfDetail;
    sglModelLoader::m_sbImportAsBodies = settings.asBodies;
    sglModelLoader::m_sbImportPoints = settings.points;
    sglModelLoader::m_sbImportCurves = settings.curves;
    sglModelLoader::m_sbImportFreeFaces = settings.freeFaces;
    sglModelLoader::m_sbImportNoShow = settings.hidden;
    sglModelLoader::m_sbImportMetas = settings.metas;
    sglModelLoader::m_sbImportMassProperties = settings.massProperties;
    sglModelLoader::m_sbMergeFileInOneActor = settings.merge;
    sglModelLoader::m_fRefinement = settings.refinement;
    sglModelLoader::m_suiRefinementType = settings.explicitTolerances ? 1 : 0;
    sglModelLoader::m_sbSetChordalError = settings.chordalError > 0.0f;
    sglModelLoader::m_fChordalErrorValue = settings.chordalError;
    sglModelLoader::m_sbSetNormalDeviation = settings.normalDeviation > 0.0f;
    sglModelLoader::m_fNormalDeviationValue = settings.normalDeviation;
    sglModelLoader::m_sbSetEdgeLength = settings.edgeLength > 0.0f;
    sglModelLoader::m_fEdgeLengthValue = settings.edgeLength;
    sglModelLoader::m_sbCancelImport = false;
    GetTamPreferences()->SetIOCheckTesselation(settings.checkTessellation);
}

}  // namespace tam
