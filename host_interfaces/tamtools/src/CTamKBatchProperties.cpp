#include <tamtools/CTamKBatchProperties.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

namespace {
const wchar_t* const kSettingsElement = L"KBatchProperties";
}

bool CTamKBatchProperties::LoadFromXML(const std::wstring& path) {
    CTamXmlParserDocu document;
    if (!document.load(path)) {
        return false;
    }
    LoadFromNode(document.getDocumentElement());
    return true;
}

bool CTamKBatchProperties::SaveToXML(const std::wstring& path) const {
    CTamXmlParserDocu document;
    std::shared_ptr<CTamXmlParserNode> root = document.initialize();
    document.setDeclarationNode();
    if (!SaveToNode(root->AddNode(kSettingsElement))) {
        return false;
    }
    return document.save(path);
}

std::size_t CTamKBatchProperties::LoadFromNode(const std::shared_ptr<CTamXmlParserNode>& parent) {
    if (!parent) {
        return 0;
    }
    std::size_t count = 0;
    for (const std::shared_ptr<CTamXmlParserNode>& child : parent->getChildNodes()) {
        std::unique_ptr<CTamProperty> property = CTamProperty::CreateFromXML(child);
        if (property) {
            SetProperty(std::move(property));
            ++count;
        }
    }
    return count;
}

bool CTamKBatchProperties::SaveToNode(const std::shared_ptr<CTamXmlParserNode>& parent) const {
    if (!parent || parent->isEmpty()) {
        return false;
    }
    bool allSaved = true;
    for (const std::unique_ptr<CTamProperty>& property : m_properties) {
        allSaved = property->Save(parent) && allSaved;
    }
    return allSaved;
}

void CTamKBatchProperties::SetProperty(std::unique_ptr<CTamProperty> property) {
    if (!property) {
        return;
    }
    for (std::unique_ptr<CTamProperty>& existing : m_properties) {
        if (existing->GetName() == property->GetName()) {
            existing = std::move(property);
            return;
        }
    }
    m_properties.push_back(std::move(property));
}

const CTamProperty* CTamKBatchProperties::GetProperty(const std::wstring& name) const {
    for (const std::unique_ptr<CTamProperty>& property : m_properties) {
        if (property->GetName() == name) {
            return property.get();
        }
    }
    return nullptr;
}
