#include "CacheOptions.h"

#include "CachedCadLoad.h"

#include <cstdlib>

namespace tam {

void addCacheOptions(CLI::App& command, CacheSettings& settings) {
    command.add_flag("--no-cache", settings.disabled, "Neither read nor fill the re-import cache");
    command.add_option("--cache-dir", settings.folder,
                       "Re-import cache folder (default: $XDG_CACHE_HOME/taminteropcad)");
    command.add_option("--cache-limit", settings.limitMiB, "Re-import cache size limit (MiB)")
        ->check(CLI::Range(1u, 1u << 20))
        ->capture_default_str();
}

std::string defaultCacheFolder() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return std::string(xdg) + "/taminteropcad";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.cache/taminteropcad";
    return std::string();
}

void useImportCache(const CacheSettings& settings) {
    const std::string folder = settings.folder.empty() ? defaultCacheFolder() : settings.folder;
    if (settings.disabled || folder.empty()) {
        setImportCache(nullptr);
        return;
    }
    setImportCache(std::make_unique<ImportCache>(folder, std::uint64_t(settings.limitMiB) << 20));
}

}  // namespace tam
