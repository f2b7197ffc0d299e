// Listing and sharding a batch's documents.
#include "BatchPlan.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <system_error>

namespace tam {
namespace {

namespace fs = std::filesystem;

std::string lowerExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::uintmax_t fileBytes(const fs::path& path) {
    std::error_code ec;
    const std::uintmax_t bytes = fs::file_size(path, ec);
    return ec ? 0 : bytes;
}

// The path made absolute and normal, or as it is when that fails.
fs::path absoluteNormal(const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal();
}

void walkFolder(const fs::path& folder, const fs::path& excluded,
                std::vector<BatchDocument>& documents) {
    std::error_code ec;
    const fs::path skipped = fs::weakly_canonical(excluded, ec);
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code entryError;
        if (entry.is_directory(entryError)) {
            if (!skipped.empty() && fs::weakly_canonical(entry.path(), entryError) == skipped)
                it.disable_recursion_pending();
            continue;
        }
        if (entry.is_regular_file(entryError) && isCadDocument(entry.path())) {
            documents.push_back({entry.path(),
                                 entry.path().lexically_relative(folder).generic_string(),
                                 fileBytes(entry.path())});
        }
    }
}

std::string trimmed(const std::string& line) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto first = std::find_if_not(line.begin(), line.end(), blank);
    const auto last = std::find_if_not(line.rbegin(), line.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// The deepest folder that holds every path (all absolute and normal).
fs::path commonFolder(const std::vector<fs::path>& paths) {
    fs::path common = paths.front().parent_path();
    for (const fs::path& path : paths) {
        const fs::path folder = path.parent_path();
        fs::path shared;
        for (auto a = common.begin(), b = folder.begin();
             a != common.end() && b != folder.end() && *a == *b; ++a, ++b)
            shared /= *a;
        common = shared;
    }
    return common;
}

bool readListFile(const fs::path& list, std::vector<BatchDocument>& documents, std::string& error) {
    std::ifstream in(list);
    if (!in) {
        error = "cannot read the list " + list.string();
        return false;
    }
    const fs::path base = absoluteNormal(list).parent_path();
    std::vector<fs::path> paths;
    std::set<fs::path> seen;
    for (std::string line; std::getline(in, line);) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        const fs::path path = (base / fs::path(line)).lexically_normal();
        if (seen.insert(path).second)
            paths.push_back(path);
    }
    if (paths.empty())
        return true;
    const fs::path common = commonFolder(paths);
    for (const fs::path& path : paths)
        documents.push_back(
            {path, path.lexically_relative(common).generic_string(), fileBytes(path)});
    return true;
}

// Largest first, so that with several jobs the last documents to finish are short ones.
void sortLargestFirst(std::vector<BatchDocument>& documents) {
    std::sort(documents.begin(), documents.end(),
              [](const BatchDocument& a, const BatchDocument& b) {
                  return a.bytes != b.bytes ? a.bytes > b.bytes : a.relative < b.relative;
              });
}

}  // namespace

bool parseShard(const std::string& text, ShardSpec& shard) {
    const size_t slash = text.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == text.size())
        return false;
    const std::string index = text.substr(0, slash);
    const std::string count = text.substr(slash + 1);
    const auto digits = [](const std::string& s) {
        return s.size() <= 9 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(index) || !digits(count))
        return false;
    shard.index = static_cast<unsigned int>(std::stoul(index));
    shard.count = static_cast<unsigned int>(std::stoul(count));
    return shard.count > 0 && shard.index < shard.count;
}

bool isCadDocument(const fs::path& path) {
    static const std::set<std::string> kExtensions = {".step", ".stp", ".p21", ".igs", ".iges",
                                                      ".brep", ".rle", ".okt", ".okb"};
    return kExtensions.count(lowerExtension(path)) > 0;
}

bool listDocuments(const fs::path& sources, const fs::path& excluded,
                   std::vector<BatchDocument>& documents, std::string& error) {
    documents.clear();
    std::error_code ec;
    if (fs::is_directory(sources, ec)) {
        walkFolder(sources, excluded, documents);
    } else if (fs::is_regular_file(sources, ec)) {
        if (!readListFile(sources, documents, error))
            return false;
    } else {
        error = "no such folder or list file: " + sources.string();
        return false;
    }
    sortLargestFirst(documents);
    return true;
}

std::uint64_t fnv1a64(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::vector<BatchDocument> selectShard(const std::vector<BatchDocument>& documents,
                                       const ShardSpec& shard) {
    std::vector<BatchDocument> selected;
    for (const BatchDocument& document : documents) {
        if (fnv1a64(document.relative) % shard.count == shard.index)
            selected.push_back(document);
    }
    return selected;
}

}  // namespace tam
