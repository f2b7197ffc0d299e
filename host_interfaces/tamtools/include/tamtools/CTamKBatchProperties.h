// A named set of properties, read from and written to a settings file.
#pragma once

#include <tamtools/CTamProperty.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Properties with distinct names, in the order they were first set. The settings file is an
// XML document whose element "KBatchProperties" holds one saved property per child
// (CTamProperty::Save form).
class CTamKBatchProperties {
public:
    // An empty set.
    CTamKBatchProperties() = default;
    CTamKBatchProperties(const CTamKBatchProperties&) = delete;
    CTamKBatchProperties& operator=(const CTamKBatchProperties&) = delete;

    // Adds the properties of the settings file at `path`, replacing those of the same name.
    // Children that do not read as properties are skipped. False when the file does not load.
    bool LoadFromXML(const std::wstring& path);

    // Writes all properties as a settings file (UTF-16). False when it cannot be written.
    bool SaveToXML(const std::wstring& path) const;

    // Adds every property element found under `parent`; returns how many were read.
    std::size_t LoadFromNode(const std::shared_ptr<CTamXmlParserNode>& parent);

    // Saves every property under `parent`. False when one of them could not be written.
    bool SaveToNode(const std::shared_ptr<CTamXmlParserNode>& parent) const;

    // Takes ownership of `property`, replacing a property of the same name. Null is ignored.
    void SetProperty(std::unique_ptr<CTamProperty> property);

    // The property named `name`, or null; still owned by the set.
    const CTamProperty* GetProperty(const std::wstring& name) const;

    // Number of properties, and the properties in the order they were first set.
    std::size_t GetCount() const { return m_properties.size(); }
    const std::vector<std::unique_ptr<CTamProperty>>& GetProperties() const { return m_properties; }

private:
    std::vector<std::unique_ptr<CTamProperty>> m_properties;
};
