#include "BatchReport.h"

#include <fcntl.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>

namespace tam {

const char* statusName(DocumentStatus status) {
    switch (status) {
        case DocumentStatus::Converted:
            return "converted";
        case DocumentStatus::Skipped:
            return "skipped";
        case DocumentStatus::Failed:
            return "failed";
        case DocumentStatus::Crashed:
            return "crashed";
        case DocumentStatus::TimedOut:
            return "timeout";
    }
    return "failed";
}

BatchReport::~BatchReport() {
    if (m_fd >= 0)
        close(m_fd);
}

bool BatchReport::open(const std::filesystem::path& path, std::string& error) {
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (m_fd < 0)
        error = "cannot open the report " + path.string() + ": " + std::strerror(errno);
    return m_fd >= 0;
}

bool BatchReport::append(const DocumentResult& result) {
    const std::string text = line(result) + "\n";
    ssize_t written = -1;
    do {
        written = write(m_fd, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(text.size());
}

std::string BatchReport::line(const DocumentResult& result) {
    nlohmann::ordered_json outputs = nlohmann::ordered_json::array();
    for (const std::filesystem::path& output : result.outputs)
        outputs.push_back(output.string());
    const nlohmann::ordered_json json = {
        {"path", result.path},
        {"status", statusName(result.status)},
        {"exit_code",
         result.exitCode >= 0 ? nlohmann::ordered_json(result.exitCode) : nlohmann::ordered_json()},
        {"signal",
         result.signal > 0 ? nlohmann::ordered_json(result.signal) : nlohmann::ordered_json()},
        {"message", result.message},
        {"seconds", result.seconds},
        {"triangles", result.triangles},
        {"outputs", outputs}};
    // Paths and messages are not always valid UTF-8; replace what is not rather than throw.
    return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace tam
