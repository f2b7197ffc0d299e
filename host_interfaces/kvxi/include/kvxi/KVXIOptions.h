// An ordered set of translator options, built fresh for one conversion.
#pragma once

#include <kvxi/KVXIOptionName.h>
#include <kvxi/KVXIResult.h>
#include <kvxi/KVXIValue.h>

#include <cstddef>
#include <utility>
#include <vector>

class KVXIOptions {
public:
    using Entry = std::pair<KVXIOptionName, KVXIValue>;

    // Appends (name, value). The empty name is refused (InvalidArgument); a repeated name is kept
    // and the later value wins when the converter reads the set.
    KVXIResult Add(const KVXIOptionName& name, const KVXIValue& value);

    // Every pair added, in the order of addition.
    const std::vector<Entry>& GetEntries() const { return m_entries; }
    // Number of pairs added.
    std::size_t GetCount() const { return m_entries.size(); }
    // The value last added under `name`, or null when the name was never added.
    const KVXIValue* Find(const KVXIOptionName& name) const;
    // The value of `name` read as a boolean, or `fallback` when absent.
    bool GetBool(const KVXIOptionName& name, bool fallback) const;
    // The value of `name` read as an integer, or `fallback` when absent.
    std::int32_t GetInteger(const KVXIOptionName& name, std::int32_t fallback) const;
    // The value of `name` read as a string, or `fallback` when absent.
    std::string GetString(const KVXIOptionName& name, const std::string& fallback) const;
    // Removes every pair.
    void Clear() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
};
