#include <kvxi/KVXIValue.h>

#include <cstdlib>

bool KVXIValue::GetBool() const {
    switch (m_kind) {
        case Kind::Bool:
            return m_bool;
        case Kind::Integer:
            return m_integer != 0;
        case Kind::String:
            return m_string == "1" || m_string == "true";
    }
    return false;
}

std::int32_t KVXIValue::GetInteger() const {
    switch (m_kind) {
        case Kind::Bool:
            return m_bool ? 1 : 0;
        case Kind::Integer:
            return m_integer;
        case Kind::String:
            return static_cast<std::int32_t>(std::strtol(m_string.c_str(), nullptr, 10));
    }
    return 0;
}

std::string KVXIValue::GetString() const {
    switch (m_kind) {
        case Kind::Bool:
            return m_bool ? "true" : "false";
        case Kind::Integer:
            return std::to_string(m_integer);
        case Kind::String:
            return m_string;
    }
    return std::string();
}

bool KVXIValue::operator==(const KVXIValue& other) const {
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
        case Kind::Bool:
            return m_bool == other.m_bool;
        case Kind::Integer:
            return m_integer == other.m_integer;
        case Kind::String:
            return m_string == other.m_string;
    }
    return false;
}
