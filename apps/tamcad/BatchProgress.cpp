#include "BatchProgress.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

namespace tam {
namespace {

std::string duration(double seconds) {
    const long total = std::lround(seconds);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld h %02ld min", total / 3600, total % 3600 / 60);
    else if (total >= 60)
        std::snprintf(text, sizeof text, "%ld min %02ld s", total / 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld s", total);
    return text;
}

}  // namespace

BatchProgress::BatchProgress(std::size_t total, bool quiet)
    : m_total(total),
      m_quiet(quiet),
      m_terminal(isatty(STDERR_FILENO) != 0),
      m_start(std::chrono::steady_clock::now()) {}

void BatchProgress::finished(const DocumentResult& result, std::size_t running) {
    ++m_done;
    if (result.status == DocumentStatus::Skipped)
        ++m_skipped;
    else if (!result.succeeded())
        ++m_failed;
    if (m_quiet)
        return;
    if (m_terminal) {
        refresh(running);
        return;
    }
    if (result.status == DocumentStatus::Skipped) {
        std::fprintf(stderr, "batch: skipped %s; %s\n", result.path.c_str(), text(running).c_str());
    } else {
        std::fprintf(stderr, "batch: %s %s (%.1f s); %s\n", statusName(result.status),
                     result.path.c_str(), result.seconds, text(running).c_str());
    }
}

void BatchProgress::refresh(std::size_t running) {
    if (m_quiet || !m_terminal)
        return;
    std::fprintf(stderr, "\r\033[Kbatch: %s", text(running).c_str());
    std::fflush(stderr);
    m_lineOpen = true;
}

void BatchProgress::end() {
    if (m_quiet)
        return;
    if (m_lineOpen)
        std::fputc('\n', stderr);
    m_lineOpen = false;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    std::fprintf(stderr, "batch: %zu documents, %zu converted, %zu skipped, %zu failed in %s\n",
                 m_total, m_done - m_skipped - m_failed, m_skipped, m_failed,
                 duration(seconds).c_str());
}

std::string BatchProgress::text(std::size_t running) const {
    char counts[96];
    std::snprintf(counts, sizeof counts, "%zu/%zu done, %zu failed, %zu running", m_done, m_total,
                  m_failed, running);
    const double left = secondsLeft();
    return left < 0.0 ? std::string(counts)
                      : std::string(counts) + ", about " + duration(left) + " left";
}

double BatchProgress::secondsLeft() const {
    const std::size_t run = m_done - m_skipped;
    if (run == 0)
        return -1.0;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    return elapsed / static_cast<double>(run) * static_cast<double>(m_total - m_done);
}

}  // namespace tam
