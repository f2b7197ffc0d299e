// Metadata names and definitions of CTamIO.
#include <tamfoundations/CTamIO.h>

#include <tamsg/sglGroup.h>
#include <tamtools/CTamXmlParserNode.h>

#include <set>
#include <string>

namespace {

const wchar_t* const kDefinitionElement = L"MetaProperty";

bool IsMetanameChar(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
           c == L'_' || c == L'-' || c == L'.' || c == L' ' ||
           (static_cast<unsigned long>(c) >= 0xC0 && static_cast<unsigned long>(c) <= 0x10FFFF &&
            !(c >= 0xD800 && c <= 0xDFFF));
}

}  // namespace

CString CTamIO::ValidateMetaname(const CString& name, wchar_t replacement) {
    std::wstring text = name.str();
    for (wchar_t& c : text) {
        if (!IsMetanameChar(c)) {
            c = replacement;
        }
    }
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return CString();
    }
    const std::size_t last = text.find_last_not_of(L' ');
    return CString(text.substr(first, last - first + 1));
}

unsigned int CTamIO::AddMetaPropertiesToXml(
    const sglGroup* group, const std::shared_ptr<CTamXmlParserNode>& metaProperties) {
    if (group == nullptr || !metaProperties || metaProperties->isEmpty()) {
        return 0;
    }
    std::set<std::wstring> defined;
    for (const auto& definition : metaProperties->GetNodesByTag(kDefinitionElement)) {
        defined.insert(definition->GetAttributeValue(L"Name"));
    }
    unsigned int added = 0;
    for (const auto& [name, value] : group->getMetaProperties()) {
        if (name.empty() || !defined.insert(name).second) {
            continue;
        }
        std::shared_ptr<CTamXmlParserNode> definition = metaProperties->AddNode(kDefinitionElement);
        definition->AddAttribute(L"Name", name);
        definition->AddAttribute(L"Type", L"String");
        ++added;
    }
    return added;
}
