#include <kvxi/KVXIOptions.h>

const KVXIOptionName KVXIOptionName::Representation("Representation");

KVXIResult KVXIOptions::Add(const KVXIOptionName& name, const KVXIValue& value) {
    if (name.GetName().empty())
        return KVXIResult(KVXIResult::InvalidArgument);
    m_entries.emplace_back(name, value);
    return KVXIResult();
}

const KVXIValue* KVXIOptions::Find(const KVXIOptionName& name) const {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->first == name)
            return &it->second;
    }
    return nullptr;
}

bool KVXIOptions::GetBool(const KVXIOptionName& name, bool fallback) const {
    const KVXIValue* value = Find(name);
    return value ? value->GetBool() : fallback;
}

std::int32_t KVXIOptions::GetInteger(const KVXIOptionName& name, std::int32_t fallback) const {
    const KVXIValue* value = Find(name);
    return value ? value->GetInteger() : fallback;
}

std::string KVXIOptions::GetString(const KVXIOptionName& name, const std::string& fallback) const {
    const KVXIValue* value = Find(name);
    return value ? value->GetString() : fallback;
}
