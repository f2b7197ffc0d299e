#include <tamtools/CTamPropColor.h>
#include <tamtools/CTamPropString.h>
#include <tamtools/CTamProperty.h>
#include <tamtools/CTamXmlParserNode.h>

bool CTamProperty::Save(const std::shared_ptr<CTamXmlParserNode>& parent) const {
    if (!parent || parent->isEmpty()) {
        return false;
    }
    std::shared_ptr<CTamXmlParserNode> element = parent->AddNode(m_name);
    if (element->isEmpty()) {
        return false;
    }
    return element->AddAttribute(L"Type", GetType()) &&
           element->AddAttribute(L"Value", GetValueText());
}

std::unique_ptr<CTamProperty> CTamProperty::CreateFromXML(
    const std::shared_ptr<CTamXmlParserNode>& element) {
    if (!element || element->isEmpty() || element->getName().empty()) {
        return nullptr;
    }
    const std::wstring type = element->GetAttributeValue(L"Type");
    std::unique_ptr<CTamProperty> property;
    if (type == L"String") {
        property = std::make_unique<CTamPropString>(element->getName());
    } else if (type == L"Color") {
        property = std::make_unique<CTamPropColor>(element->getName());
    } else {
        return nullptr;
    }
    if (!property->SetValueText(element->GetAttributeValue(L"Value"))) {
        return nullptr;
    }
    return property;
}
