// Translator option sets: fixed names and values, host import settings and source type tags.
#include "TamCADToolsOptionsPrivate.h"

#include <tamsgdb/sglModelLoader.h>

#include <cstdint>

namespace tam_cad_options {
namespace {

// Adds one option and folds its result into the running one.
void Add(KVXIOptions& options, KVXIResult& folded, const KVXIOptionName& name,
         const KVXIValue& value) {
    folded &= options.Add(name, value);
}

void AddFlag(KVXIOptions& options, KVXIResult& folded, const char* name, bool value) {
    Add(options, folded, name, KVXIValue(value));
}

void AddInteger(KVXIOptions& options, KVXIResult& folded, const char* name, std::int32_t value) {
    Add(options, folded, name, KVXIValue(value));
}

// Options shared by the entity-list and the EBOM conversions, from the host's import settings.
void AddCommonHead(KVXIOptions& options, KVXIResult& folded) {
    AddFlag(options, folded, "TranslateAttributes", true);
    AddFlag(options, folded, "Healing", sglModelLoader::m_sbHealing);
    AddFlag(options, folded, "TranslateFreePoints", sglModelLoader::m_sbImportPoints);
    AddFlag(options, folded, "TranslateFreeCurves", sglModelLoader::m_sbImportCurves);
    AddFlag(options, folded, "TranslateFreeSurfaces", sglModelLoader::m_sbImportFreeFaces);
    AddFlag(options, folded, "TranslateSheetBodies", sglModelLoader::m_sbImportFreeFaces);
    AddFlag(options, folded, "TranslateHiddenEntities", sglModelLoader::m_sbImportNoShow);
    AddFlag(options, folded, "TranslateNoPicks", sglModelLoader::m_sbImportNoPick);
    AddFlag(options, folded, "EnableWideCharacter", true);
}

void AddRepresentation(KVXIOptions& options, KVXIResult& folded, const char* representation) {
    Add(options, folded, KVXIOptionName::Representation, KVXIValue(representation));
}

// MIREXV4 sources as assemblies: repeated instances stay instances.
void AddMirexV4AssemblyRow(KVXIOptions& options, KVXIResult& folded) {
    AddFlag(options, folded, "TranslateOnlyRootEntities",
            sglModelLoader::m_sbMV4TranslateOnlyRootEntities);
    AddFlag(options, folded, "TranslateDittoAsAssembly", true);
    AddFlag(options, folded, "MirexV4.Brep.ExportDittoBodies", false);
}

// The EBOM row chosen by the MirexV4 flag first, then by the first matching tag.
void AddEbomSourceRow(KVXIOptions& options, KVXIResult& folded, const std::wstring& type,
                      bool mirexV4) {
    if (mirexV4) {
        AddMirexV4AssemblyRow(options, folded);
        AddFlag(options, folded, "EBOM.ImportParts", false);
        AddFlag(options, folded, "TranslateWorkPlanes", false);
    } else if (type == L"MIREXV4") {
        AddMirexV4AssemblyRow(options, folded);
        AddFlag(options, folded, "TranslateWorkPlanes", false);
    } else if (type == L"IGES") {
        AddFlag(options, folded, "TranslateGroupAsAssemblies", true);
    } else if (type == L"STEP") {
        AddInteger(options, folded, "step_to_orik_attrib_transf", 1);
        AddInteger(options, folded, "ATTRIB_RGB", 1);
        AddInteger(options, folded, "ATTRIB_XORIK_NAME", 1);
    } else if (type == L"MIREXV5") {
        AddFlag(options, folded, "EBOM.ImportParts", false);
    } else if (type == L"ProE") {
        AddFlag(options, folded, "EBOM.ImportParts", false);
        AddFlag(options, folded, "TranslateWorkPlanes", false);
    }
}

}  // namespace

KVXIResult AddEntityListOptions(KVXIOptions& options, const std::wstring& type) {
    KVXIResult folded;
    AddCommonHead(options, folded);
    // Each tag is tested on its own; at most one of them can match.
    if (type == L"MIREXV4") {
        // Into kernel entities, repeated instances are flattened into bodies.
        AddFlag(options, folded, "TranslateOnlyRootEntities",
                sglModelLoader::m_sbMV4TranslateOnlyRootEntities);
        AddFlag(options, folded, "TranslateDittoAsAssembly", false);
        AddFlag(options, folded, "MirexV4.Brep.ExportDittoBodies", true);
        AddFlag(options, folded, "TranslateWorkPlanes", false);
    }
    if (type == L"IGES")
        AddFlag(options, folded, "TranslateGroupAsAssemblies", true);
    if (type == L"STEP")
        AddInteger(options, folded, "OverrideFaceColorWithBodyColor", 1);
    if (type == L"ProE")
        AddFlag(options, folded, "TranslateWorkPlanes", false);
    AddRepresentation(options, folded, "Brep+Assembly");
    return folded;
}

KVXIResult AddEbomOptions(KVXIOptions& options, const std::wstring& type, bool mirexV4) {
    KVXIResult folded;
    AddCommonHead(options, folded);
    AddInteger(options, folded, "NumberOfProcessorsToUse", 1);
    AddEbomSourceRow(options, folded, type, mirexV4);
    AddRepresentation(options, folded, "Assembly");
    return folded;
}

KVXIResult AddWriteEntitiesOptions(KVXIOptions& options) {
    KVXIResult folded;
    AddFlag(options, folded, "TranslateAttributes", true);
    return folded;
}

std::optional<KVXIOptions> FileToFileOptions(bool visualization) {
    if (!visualization)
        return std::nullopt;
    KVXIOptions options;
    KVXIResult dropped;
    AddRepresentation(options, dropped, "Visualization");
    AddFlag(options, dropped, "TranslateAttributes", true);
    return options;
}

}  // namespace tam_cad_options
