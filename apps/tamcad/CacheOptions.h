// The re-import cache's command-line options and where the cache lives by default.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace tam {

struct CacheSettings {
    bool disabled = false;         // --no-cache
    std::string folder;            // --cache-dir; empty: the user's cache folder
    unsigned int limitMiB = 1024;  // --cache-limit: size of the folder's entries
};

// Adds --no-cache, --cache-dir DIR and --cache-limit MIB to a command, bound to settings.
void addCacheOptions(CLI::App& command, CacheSettings& settings);

// The user's cache folder for this program: $XDG_CACHE_HOME when it is an absolute path, else
// $HOME/.cache, followed by "taminteropcad"; empty when neither variable helps.
std::string defaultCacheFolder();

// Makes CAD model loads go through the cache the settings describe, or through none when it is
// disabled or has no folder.
void useImportCache(const CacheSettings& settings);

}  // namespace tam
