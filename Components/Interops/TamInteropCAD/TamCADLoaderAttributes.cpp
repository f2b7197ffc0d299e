// Names, layers, visibility, colors and collection metadata of entities, and the user data
// that every geode takes over from them.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <platform/CodePage.h>
#include <platform/WideNumbers.h>
#include <tamfoundations/CTamIO.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/sglModelLoader.h>

#include <string>

#include "TamCADLoaderPrivate.h"
#include "TamCADTools.h"
#include "io_tools.h"

namespace {

// Buffer sizes the attribute readers use (the toolbox writes at most 511 characters).
constexpr size_t kNameBufferSize = 2048;
constexpr size_t kValueBufferSize = 512;

// Separates an assembly name from the layers appended to it.
constexpr wchar_t kLayerSeparator = L'\u00A4';

// Layer number of a layer text: -1 for none, 0 for "0", else its leading integer (-1 for 0).
int LayerNumber(const std::wstring& layerName) {
    if (layerName.empty())
        return -1;
    if (layerName == L"0")
        return 0;
    const long number = _wtol(layerName.c_str());
    return number == 0 ? -1 : static_cast<int>(number);
}

// The geode's CTamUserData record, or null when it has none.
CTamUserData* UserDataOf(const sglNode* node) {
    return dynamic_cast<CTamUserData*>(node->getUserData());
}

// Applies stamp to every geode below node (groups and transform nodes are walked in order).
template <class Stamp>
void ForEachGeode(sglNode* node, const Stamp& stamp) {
    if (auto* group = dynamic_cast<sglGroup*>(node)) {
        for (unsigned int i = 0; i < group->getNumChildren(); ++i) {
            if (sglNode* child = group->getChild(i))
                ForEachGeode(child, stamp);
        }
    } else if (auto* geode = dynamic_cast<sglGeode*>(node)) {
        stamp(geode);
    }
}

}  // namespace

unsigned long tam_loader::PackColor(const double rgb[3]) {
    unsigned long packed = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const auto value = static_cast<unsigned long>(static_cast<long>(rgb[channel] * 255.0));
        packed |= (value & 0xFFUL) << (8 * channel);
    }
    return packed;
}

bool tam_loader::ReadAttributeText(ENTITY* entity, const char* name, std::wstring& text) {
    ATTRIB_GEN_NAME* attribute = nullptr;
    api_find_named_attribute(entity, name, attribute).ignore();
    if (attribute == nullptr)
        return false;
    if (attribute->identity() == ATTRIB_GEN_WSTRING_TYPE) {
        text = static_cast<ATTRIB_GEN_WSTRING*>(attribute)->value();
        return true;
    }
    if (attribute->identity() == ATTRIB_GEN_STRING_TYPE) {
        text = tam::ToWide(static_cast<ATTRIB_GEN_STRING*>(attribute)->value());
        return true;
    }
    wchar_t buffer[kValueBufferSize] = {};
    if (!CTamCADTools::Extract_named_attrib_from_entity(entity, name, buffer))
        return false;
    text = buffer;
    return true;
}

void CTamCADLoader::UpdateCurrentNames(ENTITY* entity, bool isBody) {
    if (entity == nullptr)
        return;
    wchar_t name[kNameBufferSize] = {};
    if (CTamCADTools::Extract_named_attrib_from_entity(entity, tam_loader::kAttribName, name)) {
        m_strCurrentName = name;
        if (isBody)
            m_strBodyName = name;
    }
    if (!isBody)
        return;
    wchar_t layer[kNameBufferSize] = {};
    if (CTamCADTools::Extract_named_attrib_from_entity(entity, tam_loader::kAttribLayer, layer))
        m_strLayerName = layer;
}

void CTamCADLoader::UpdateCurrentVisibility(ENTITY* entity) {
    m_bVisible = true;
    wchar_t show[kValueBufferSize] = {};
    if (entity != nullptr &&
        CTamCADTools::Extract_named_attrib_from_entity(entity, tam_loader::kAttribShow, show)) {
        m_bVisible = std::wstring(show) != L"0";
    }
}

void CTamCADLoader::UpdateCurrentLayer(ENTITY* entity) {
    if (entity == nullptr)
        return;
    wchar_t layer[kValueBufferSize] = {};
    if (CTamCADTools::Extract_named_attrib_from_entity(entity, tam_loader::kAttribName, layer))
        m_strLayerName = layer;
}

void CTamCADLoader::UpdateCurrentColor(ENTITY* entity) {
    if (entity != nullptr)
        CTamCADTools::Extract_color_from_entity(entity, m_dColor);
}

void CTamCADLoader::UpdateMetaProperties(ENTITY* entity, sglGroup* group) {
    if (!is_KVXCOLLECTION(entity) || group == nullptr)
        return;
    const auto* collection = static_cast<const KVXCOLLECTION*>(entity);
    for (int i = 0; i < collection->member_count(); ++i) {
        ENTITY* member = collection->member(i);
        std::wstring name;
        if (!tam_loader::ReadAttributeText(member, tam_loader::kAttribName, name) &&
            !tam_loader::ReadAttributeText(member, tam_loader::kAttribPlainName, name)) {
            continue;
        }
        std::wstring value;
        tam_loader::ReadAttributeText(member, tam_loader::kAttribValue, value);
        group->addMetaProperty(CTamIO::ValidateMetaname(name, L'_').str(), value);
    }
}

std::wstring CTamCADLoader::CurrentNodeName() {
    std::wstring name = m_strCurrentName;
    if (name.empty()) {
        const std::wstring counter = std::to_wstring(m_uiNameCounter);
        if (sglModelLoader::m_sbImportAsBodies)
            name = L"rvd_body " + counter;
        else
            name = m_strBodyName + L" (rvd_face " + counter + L" )";
        ++m_uiNameCounter;
    }
    // What follows the first '|' is the feature that made the entity.
    if (!sglModelLoader::m_sbNodeFeatureName)
        name = name.substr(0, name.find(L'|'));
    return name;
}

void CTamCADLoader::SetCurrentProperties(sglGeode* geode) {
    if (geode == nullptr)
        return;
    const std::wstring name = CurrentNodeName();
    if (!name.empty())
        geode->setName(name);

    auto* record = new CTamUserData;
    record->SetGuid(CTamIO::CreateGuid(TAM_GUID_BRACES).str());
    record->SetLayer(LayerNumber(m_strLayerName));
    record->SetVolume(static_cast<float>(m_dVolume));
    record->SetArea(static_cast<float>(m_dArea));
    if (!m_strFileName.empty())
        record->SetIssuedFrom(CTamIOTools::GetFileName(m_strFileName.c_str()));
    record->SetCofG(m_vCofG);
    record->SetInertiaAxes(m_vInertiaAxes);
    record->SetEntityKind(m_uiEntityKind);
    record->SetVisible(m_bVisible);
    if (m_pRefinement != nullptr && m_bSurfaceTolSet && m_uiEntityKind != 4)
        record->SetFacetingTolerance(static_cast<float>(m_pRefinement->get_surface_tol()));
    geode->setUserData(record);
}

void CTamCADLoader::AddAreaToUserData(sglGeode* geode, const double& area) const {
    if (geode == nullptr || area < 0.0)
        return;
    CTamUserData* record = UserDataOf(geode);
    if (record == nullptr)
        return;
    if (record->GetArea() == -1.0f)
        record->SetArea(static_cast<float>(area));
    else
        record->SetArea(static_cast<float>(static_cast<double>(record->GetArea()) + area));
}

void CTamCADLoader::SetUserData(sglNode* node, const std::wstring& assemblyName,
                                const std::wstring& label) {
    ForEachGeode(node, [&](sglGeode* geode) {
        const CTamUserData* existing = UserDataOf(geode);
        auto* record = existing != nullptr ? new CTamUserData(*existing) : new CTamUserData;
        record->SetAssemblyName(assemblyName);
        if (existing == nullptr || !label.empty())
            record->SetLabel(label);
        geode->setUserData(record);
    });
}

void CTamCADLoader::AddAssemblyNameToUserdata(sglNode* node, const std::wstring& assemblyName,
                                              const std::wstring& label) {
    ForEachGeode(node, [&](sglGeode* geode) {
        CTamUserData* record = UserDataOf(geode);
        if (record == nullptr) {
            record = new CTamUserData;
            geode->setUserData(record);
        }
        record->SetAssemblyName(assemblyName);
        record->SetLabel(label);
        record->SetLayer(-1);
    });
}

void CTamCADLoader::AddLayerToUserData(sglGeode* geode, const std::wstring& layer) const {
    CTamUserData* record = geode != nullptr ? UserDataOf(geode) : nullptr;
    if (record == nullptr)
        return;
    if (record->GetAssemblyName().empty())
        record->SetAssemblyName(layer);
    else
        record->SetAssemblyName(record->GetAssemblyName() + kLayerSeparator + layer);
}

void CTamCADLoader::AddLayerToUserData(const std::list<sglGeode*>& geodes,
                                       const std::wstring& layer) const {
    for (sglGeode* geode : geodes)
        AddLayerToUserData(geode, layer);
}
