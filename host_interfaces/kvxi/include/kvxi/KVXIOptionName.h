// The narrow-character name of a translator option.
#pragma once

#include <string>
#include <utility>

class KVXIOptionName {
public:
    // The predefined name "Representation": what the target receives
    // ("Brep+Assembly", "Assembly", "Visualization").
    static const KVXIOptionName Representation;

    // A name from a narrow string; a null pointer gives the empty name.
    KVXIOptionName(const char* name) : m_name(name ? name : "") {}
    // A name from a narrow string.
    KVXIOptionName(std::string name) : m_name(std::move(name)) {}

    // The name's text.
    const std::string& GetName() const { return m_name; }

    bool operator==(const KVXIOptionName& other) const { return m_name == other.m_name; }
    bool operator!=(const KVXIOptionName& other) const { return m_name != other.m_name; }

private:
    std::string m_name;
};
