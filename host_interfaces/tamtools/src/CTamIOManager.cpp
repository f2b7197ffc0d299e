#include <tamtools/CTamIOManager.h>
#include <tamtools/CTamKBatchProperties.h>
#include <tamtools/CTamXmlParserNode.h>

#include <string>

namespace {

const wchar_t* const kManagerElement = L"ManagerProperties";
const wchar_t* const kProductAttribute = L"Product";

// Decimal digits only, at most nine of them (no sign, no blanks).
bool ReadUnsigned(const std::wstring& text, unsigned int& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    unsigned int result = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        result = result * 10 + static_cast<unsigned int>(c - L'0');
    }
    value = result;
    return true;
}

}  // namespace

bool CTamIOManager::AddManagerProperties(const std::shared_ptr<CTamXmlParserNode>& node,
                                         unsigned int product,
                                         const CTamKBatchProperties& properties) {
    if (!node || node->isEmpty()) {
        return false;
    }
    std::shared_ptr<CTamXmlParserNode> manager = node->AddNode(kManagerElement);
    if (!manager->AddAttribute(kProductAttribute, std::to_wstring(product))) {
        return false;
    }
    return properties.SaveToNode(manager);
}

bool CTamIOManager::GetManagerProperties(const std::shared_ptr<CTamXmlParserNode>& node,
                                         unsigned int& product, CTamKBatchProperties& properties) {
    if (!node) {
        return false;
    }
    std::shared_ptr<CTamXmlParserNode> manager = node->GetNodeByTag(kManagerElement);
    if (manager->isEmpty() ||
        !ReadUnsigned(manager->GetAttributeValue(kProductAttribute), product)) {
        return false;
    }
    properties.LoadFromNode(manager);
    return true;
}
