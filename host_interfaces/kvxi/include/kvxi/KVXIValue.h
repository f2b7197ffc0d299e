// The value of one translator option: a boolean, a 32-bit integer or a narrow string.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

class KVXIValue {
public:
    enum class Kind { Bool, Integer, String };

    // A boolean value.
    KVXIValue(bool value) : m_kind(Kind::Bool), m_bool(value) {}
    // A 32-bit integer value.
    KVXIValue(std::int32_t value) : m_kind(Kind::Integer), m_integer(value) {}
    // A narrow string value; a null pointer gives the empty string.
    KVXIValue(const char* value) : m_kind(Kind::String), m_string(value ? value : "") {}
    // A narrow string value.
    KVXIValue(std::string value) : m_kind(Kind::String), m_string(std::move(value)) {}

    Kind GetKind() const { return m_kind; }
    bool IsBool() const { return m_kind == Kind::Bool; }
    bool IsInteger() const { return m_kind == Kind::Integer; }
    bool IsString() const { return m_kind == Kind::String; }

    // The boolean; an integer is true when not 0, a string when it is "1" or "true".
    bool GetBool() const;
    // The integer; a boolean gives 0 or 1, a string its leading decimal number or 0.
    std::int32_t GetInteger() const;
    // The string; a boolean gives "true"/"false", an integer its decimal text.
    std::string GetString() const;

    // Same kind and same value.
    bool operator==(const KVXIValue& other) const;
    bool operator!=(const KVXIValue& other) const { return !(*this == other); }

private:
    Kind m_kind;
    bool m_bool = false;
    std::int32_t m_integer = 0;
    std::string m_string;
};
