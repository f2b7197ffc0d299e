// Conversions through the translator: CAD document to kernel entities, assembly to EBOM XML,
// entities or files to files.
#include "TamCADTools.h"

#include <kvxi/kvxi.h>

#include <platform/CodePage.h>
#include <tamsgdb/sglModelLoader.h>

#include <optional>
#include <string>

#include "TamCADToolsOptionsPrivate.h"
#include "io_tools.h"

namespace {

// Translator unit value of every document the library creates.
constexpr int kTranslatorUnit = 4;

// The wide text, or the empty text for null.
std::wstring WideOrEmpty(const wchar_t* text) {
    return text != nullptr ? text : L"";
}

// Sets the document's type to the tag in the ANSI code page; an unconvertible tag sets no type.
void SetNarrowType(KVXIDocument& document, const std::wstring& type) {
    std::string narrow;
    document.SetType(tam::WideToNarrow(type, narrow) ? narrow.c_str() : nullptr);
}

void SendStartProgress(const std::wstring& text) {
    if (sglModelLoader::s_callbackProgress != nullptr)
        sglModelLoader::s_callbackProgress(0.0f, text.c_str());
}

}  // namespace

ENTITY_LIST* CTamCADTools::InitializeConnectEntityList(const wchar_t* path, const wchar_t* type) {
    if (sglModelLoader::m_sbCancelImport)
        return nullptr;
    const std::wstring wideType = WideOrEmpty(type);
    KVXIResult accumulated(KVXIResult::Success);
    SendStartProgress(L"Loading Objects " + CTamIOTools::GetFileName(path));

    KVXIDocument source{WideOrEmpty(path)};
    SetNarrowType(source, wideType);
    KVXIOrikDocument target;
    target.SetUnit(kTranslatorUnit);

    KVXIOptions options;
    accumulated &= tam_cad_options::AddEntityListOptions(options, wideType);
    KVXIConverter converter;
    accumulated &= converter.SetOptions(options);
    accumulated &= converter.Convert(source, target);
    check_api_result(accumulated);

    // A target that hands out nothing leaves the list null.
    ENTITY_LIST* entities = nullptr;
    target.GetEntities(entities);
    return entities;
}

void CTamCADTools::InitializeConnectXml(const wchar_t* path, std::wstring& xmlPath,
                                        const wchar_t* type, bool mirexV4) {
    if (sglModelLoader::m_sbCancelImport)
        return;
    const std::wstring wideType = WideOrEmpty(type);
    KVXIResult accumulated(KVXIResult::Success);

    KVXIDocument source{WideOrEmpty(path)};
    SetNarrowType(source, wideType);
    // The work folder is taken as the host gives it; the file name brings its own separator.
    xmlPath = std::wstring(sglModelLoader::GetPathFolderWork()) + L"\\assembly.xml";
    KVXIDocument target{xmlPath};
    target.SetType("EBOM");
    target.SetUnit(kTranslatorUnit);

    KVXIOptions options;
    accumulated &= tam_cad_options::AddEbomOptions(options, wideType, mirexV4);
    KVXIConverter converter;
    accumulated &= converter.SetOptions(options);
    accumulated &= converter.Convert(source, target);
    check_api_result(accumulated);
}

KVXIResult CTamCADTools::WriteFile(const wchar_t* targetPath, ENTITY_LIST* entities) {
    const KVXIOrikDocument source(entities);
    KVXIDocument target{KVXIFile(targetPath)};
    KVXIOptions options;
    tam_cad_options::AddWriteEntitiesOptions(options);
    KVXIConverter converter;
    converter.SetOptions(options);
    return converter.Convert(source, target);
}

KVXIResult CTamCADTools::WriteFile(const wchar_t* sourcePath, const wchar_t* targetPath,
                                   bool visualization) {
    const KVXIDocument source{KVXIFile(sourcePath)};
    KVXIDocument target{KVXIFile(targetPath)};
    KVXIConverter converter;
    if (const std::optional<KVXIOptions> options =
            tam_cad_options::FileToFileOptions(visualization))
        converter.SetOptions(*options);
    return converter.Convert(source, target);
}
