// A color property.
#pragma once

#include <tamtools/CTamColor.h>
#include <tamtools/CTamProperty.h>

// A property holding an RGBA color, saved with Type "Color" and Value "r g b a".
class CTamPropColor : public CTamProperty {
public:
    explicit CTamPropColor(const std::wstring& name, const CTamColor& value = CTamColor())
        : CTamProperty(name), m_value(value) {}

    // The color held; opaque black by default.
    void SetValue(const CTamColor& value) { m_value = value; }
    const CTamColor& GetValue() const { return m_value; }

    const wchar_t* GetType() const override { return L"Color"; }
    std::wstring GetValueText() const override { return m_value.ToText(); }
    // Reads "r g b a"; false for anything else.
    bool SetValueText(const std::wstring& text) override { return m_value.FromText(text); }
    std::unique_ptr<CTamProperty> Clone() const override;

private:
    CTamColor m_value;
};
