// The re-import cache's storage: one file per entry in a folder of its own, named after a hash of
// the entry's key, holding the key itself and a payload. Entries are written aside and renamed
// into place, so a reader sees a whole entry or none; every read checks the entry's header,
// key and size, and anything that does not check out is a miss. The folder is kept under a size
// limit by removing the entries used least recently (a hit refreshes an entry's time).
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace tam {

class ImportCache {
public:
    // Entries live in folder (made on the first store); limitBytes bounds the folder's entries.
    ImportCache(std::string folder, std::uint64_t limitBytes);

    // The payload stored under key, or nothing when there is none or the entry does not check
    // out (a damaged entry is removed so that the next store rebuilds it). Never throws.
    std::optional<std::string> load(const std::string& key) const;

    // Writes a payload to the stream it is given (a file open for reading and writing, at the
    // payload's start; it may seek within what it writes); false when it failed.
    using PayloadWriter = std::function<bool(std::iostream&)>;

    // Stores the payload the writer writes under key, replacing any entry of the same key, then
    // evicts the least recently used entries until the folder is within its limit (the new entry
    // goes last). The payload goes straight to the entry's file, never whole in memory. False
    // when the entry could not be written (the folder stays as it was). Never throws.
    bool store(const std::string& key, const PayloadWriter& writePayload) const;

    const std::string& folder() const { return folder_; }

private:
    std::string entryPath(const std::string& key) const;
    void evict(const std::string& keep) const;

    std::string folder_;
    std::uint64_t limitBytes_;
};

}  // namespace tam
