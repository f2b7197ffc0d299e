// The outcome of each document of a batch, appended to a JSON-lines report as it finishes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tam {

// How one document of a batch ended.
enum class DocumentStatus {
    Converted,  // every output written (the import may have reported losses: see exitCode)
    Skipped,    // outputs already newer than the source, written with the same options
    Failed,     // the import ended with an error exit code, or could not be started
    Crashed,    // the import was killed by a signal
    TimedOut    // the import passed the time limit and was killed
};

// The report's name of a status: "converted", "skipped", "failed", "crashed", "timeout".
const char* statusName(DocumentStatus status);

struct DocumentResult {
    std::string path;  // the source document
    DocumentStatus status = DocumentStatus::Failed;
    int exitCode = -1;  // the import's exit code; -1 when it did not exit by itself
    int signal = 0;     // the signal that ended the import, 0 for none
    std::string message;
    double seconds = 0.0;
    std::uint64_t triangles = 0;
    std::vector<std::filesystem::path> outputs;  // written (or kept, when skipped)

    bool succeeded() const {
        return status == DocumentStatus::Converted || status == DocumentStatus::Skipped;
    }
};

// A report file opened for appending. Each document is one line, a JSON object with "path",
// "status", "exit_code" (null without one), "signal" (null without one), "message", "seconds",
// "triangles" and "outputs", written with a single write() to a file opened with O_APPEND, so
// that batches appending to the same local report at once never mix their lines.
class BatchReport {
public:
    BatchReport() = default;
    ~BatchReport();
    BatchReport(const BatchReport&) = delete;
    BatchReport& operator=(const BatchReport&) = delete;

    // Opens (creating) the report; false with error when it cannot.
    bool open(const std::filesystem::path& path, std::string& error);
    // Appends the result's line; false when it could not be written whole.
    bool append(const DocumentResult& result);

    // The line for the result, without its newline.
    static std::string line(const DocumentResult& result);

private:
    int m_fd = -1;
};

}  // namespace tam
