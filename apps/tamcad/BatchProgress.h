// The batch's progress line on stderr: documents done of the total, failures, documents running
// and an estimate of the time left. On a terminal one line is redrawn; otherwise one line is
// printed per finished document. Quiet prints nothing.
#pragma once

#include "BatchReport.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace tam {

class BatchProgress {
public:
    BatchProgress(std::size_t total, bool quiet);

    // Counts a finished document and shows the line.
    void finished(const DocumentResult& result, std::size_t running);
    // Redraws the terminal line (the clock moves while documents run).
    void refresh(std::size_t running);
    // Ends the terminal line and prints the totals.
    void end();

    std::size_t failures() const { return m_failed; }

private:
    std::string text(std::size_t running) const;
    // Seconds left at the pace of the documents converted so far; negative before the first.
    double secondsLeft() const;

    std::size_t m_total;
    bool m_quiet;
    bool m_terminal;
    std::size_t m_done = 0;
    std::size_t m_failed = 0;
    std::size_t m_skipped = 0;
    std::chrono::steady_clock::time_point m_start;
    bool m_lineOpen = false;
};

}  // namespace tam
