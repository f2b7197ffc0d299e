// What `tamcad batch` converts: the CAD documents under a folder or named by a list file, the
// stable share of them that one shard takes, where each document's results go, and whether a
// document is already converted with the same options (so that a stopped batch resumes).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tam {

// One document of a batch: its path and its path relative to the batch's base folder, with '/'
// separators. The relative path names its outputs and picks its shard.
struct BatchDocument {
    std::filesystem::path source;
    std::string relative;
    std::uintmax_t bytes = 0;
};

// Shard `index` of `count` (0 <= index < count).
struct ShardSpec {
    unsigned int index = 0;
    unsigned int count = 1;
};

// Parses "I/N" with 0 <= I < N; false for anything else.
bool parseShard(const std::string& text, ShardSpec& shard);

// True when the path's extension is one of the CAD documents tamcad imports (step, stp, p21,
// igs, iges, brep, rle, okt, okb; any case).
bool isCadDocument(const std::filesystem::path& path);

// The documents of `sources`, largest first (ties by relative path), each listed once.
// A folder is walked recursively for CAD documents; directory links are not followed and the
// folder `excluded` (the batch's output folder) is left out. Any other file is a list of paths,
// one per line (blank lines and lines starting with '#' skipped, relative ones taken from the
// list's folder); relative paths then start at the listed documents' common folder. False with
// `error` when `sources` cannot be read.
bool listDocuments(const std::filesystem::path& sources, const std::filesystem::path& excluded,
                   std::vector<BatchDocument>& documents, std::string& error);

// FNV-1a, 64 bits, of the bytes of text.
std::uint64_t fnv1a64(const std::string& text);

// The documents whose relative path hashes into the shard (hash mod count == index), in their
// order. Every document lands in exactly one of the `count` shards, whatever the list order.
std::vector<BatchDocument> selectShard(const std::vector<BatchDocument>& documents,
                                       const ShardSpec& shard);

// Where one document's results go: OUTDIR/<relative>.<format> for each format, and beside them
// OUTDIR/<relative>.batch.json, the record of the conversion that wrote them.
struct DocumentOutputs {
    std::vector<std::filesystem::path> files;
    std::filesystem::path record;
};
DocumentOutputs outputsOf(const BatchDocument& document, const std::filesystem::path& outputFolder,
                          const std::vector<std::string>& formats);

// What a conversion record holds: the options the document was converted with and its figures.
struct ConversionRecord {
    std::vector<std::string> options;
    std::uint64_t triangles = 0;
    double seconds = 0.0;
};

// Writes the record as JSON, whole or not at all; false when it cannot be written.
bool writeRecord(const std::filesystem::path& path, const ConversionRecord& record);

// True when every output exists and is newer than the source, and the record beside them was
// written with the same options; `record` then receives it.
bool isUpToDate(const BatchDocument& document, const DocumentOutputs& outputs,
                const std::vector<std::string>& options, ConversionRecord& record);

}  // namespace tam
