// A text property.
#pragma once

#include <tamtools/CTamProperty.h>

// A property holding a text, saved with Type "String".
class CTamPropString : public CTamProperty {
public:
    explicit CTamPropString(const std::wstring& name, const std::wstring& value = std::wstring())
        : CTamProperty(name), m_value(value) {}

    // The text held; any text, empty by default.
    void SetValue(const std::wstring& value) { m_value = value; }
    const std::wstring& GetValue() const { return m_value; }

    const wchar_t* GetType() const override { return L"String"; }
    std::wstring GetValueText() const override { return m_value; }
    // Any text reads; always true.
    bool SetValueText(const std::wstring& text) override;
    std::unique_ptr<CTamProperty> Clone() const override;

private:
    std::wstring m_value;
};
