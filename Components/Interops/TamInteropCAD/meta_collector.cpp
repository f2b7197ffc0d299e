#include "meta_collector.h"

#include <tamfoundations/CTamIO.h>
#include <tamsg/sglGroup.h>
#include <tamtools/CTamXmlParserNode.h>

#include <algorithm>

namespace {

// Drops the collector's hold on a carrier group: deleted unless someone holds a reference.
void ReleaseGroup(sglGroup* group) {
    group->ref();
    group->unref();
}

std::wstring BeforeFirstDot(const std::wstring& name) {
    return name.substr(0, name.find(L'.'));
}

}  // namespace

CTamMetaCollector::CTamMetaCollector() = default;

CTamMetaCollector::~CTamMetaCollector() {
    for (const auto& entry : m_mapMetaGroups)
        ReleaseGroup(entry.second);
}

void CTamMetaCollector::AddUserDefinedAttribute(std::shared_ptr<CTamXmlParserNode> attribute) {
    if (attribute == nullptr || attribute->isEmpty())
        return;
    auto* group = new sglGroup();
    for (const auto& param : attribute->GetNodesByTag(L"Param")) {
        const CString name = CTamIO::ValidateMetaname(param->GetAttributeValue(L"Name"), L'_');
        if (!name.IsEmpty())
            group->addMetaProperty(name.str(), param->GetAttributeValue(L"Value"));
    }
    if (group->getMetaProperties().empty()) {
        ReleaseGroup(group);
        return;
    }
    sglGroup*& stored = m_mapMetaGroups[BeforeFirstDot(attribute->GetAttributeValue(L"Name"))];
    if (stored != nullptr)
        ReleaseGroup(stored);
    stored = group;
}

void CTamMetaCollector::WriteMetaProperties(const std::wstring& name,
                                            std::shared_ptr<CTamXmlParserNode> neutral) const {
    if (m_mapMetaGroups.empty() || neutral == nullptr)
        return;
    const size_t dot = name.find(L'.');
    const std::wstring key = name.substr(0, dot);
    const std::wstring suffix =
        dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1, 3);
    const auto found = m_mapMetaGroups.find(key);
    // A node named after a part file carries no document metadata.
    if (found == m_mapMetaGroups.end() || suffix == L"prt")
        return;
    for (const auto& property : found->second->getMetaProperties()) {
        if (property.first.empty())
            continue;
        std::wstring elementName = L"Meta." + property.first;
        std::replace(elementName.begin(), elementName.end(), L' ', L'_');
        neutral->AddNode(elementName)->AddAttribute(L"Value", property.second);
    }
}

void CTamMetaCollector::WriteMetaDefinitions(
    std::shared_ptr<CTamXmlParserNode> metaProperties) const {
    for (const auto& entry : m_mapMetaGroups)
        CTamIO::AddMetaPropertiesToXml(entry.second, metaProperties);
}
