// A named, typed property that saves itself as one XML element.
#pragma once

#include <memory>
#include <string>

class CTamXmlParserNode;

// Base of the host properties. A property is saved as an element named after the property,
// with the attributes "Type" (GetType) and "Value" (GetValueText), for example
// <Actor.Name Type="String" Value="Bolt"/>.
class CTamProperty {
public:
    // A property named `name` (also its element name when saved).
    explicit CTamProperty(const std::wstring& name) : m_name(name) {}
    virtual ~CTamProperty() = default;

    // The name given at construction.
    const std::wstring& GetName() const { return m_name; }

    // Type tag written as "Type": "String", "Color".
    virtual const wchar_t* GetType() const = 0;
    // The value as written in "Value".
    virtual std::wstring GetValueText() const = 0;
    // Reads the "Value" text; false, leaving the value unchanged, when it does not read.
    virtual bool SetValueText(const std::wstring& text) = 0;
    // A new copy owned by the caller.
    virtual std::unique_ptr<CTamProperty> Clone() const = 0;

    // Appends the property's element to `parent`. False when `parent` is null or empty or the
    // name is no valid XML element name (nothing is written then).
    bool Save(const std::shared_ptr<CTamXmlParserNode>& parent) const;

    // A property read from an element written by Save, or null when the element is empty,
    // its "Type" is unknown or its "Value" does not read.
    static std::unique_ptr<CTamProperty> CreateFromXML(
        const std::shared_ptr<CTamXmlParserNode>& element);

protected:
    CTamProperty(const CTamProperty&) = default;
    CTamProperty& operator=(const CTamProperty&) = default;

private:
    std::wstring m_name;
};
