#include <tamtools/CTamPropString.h>

bool CTamPropString::SetValueText(const std::wstring& text) {
    m_value = text;
    return true;
}

std::unique_ptr<CTamProperty> CTamPropString::Clone() const {
    return std::make_unique<CTamPropString>(*this);
}
