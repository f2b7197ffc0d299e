#include "BatchRunner.h"

#include "BatchProgress.h"
#include "ChildProcess.h"
#include "ExitCodes.h"

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <deque>
#include <memory>
#include <sstream>
#include <system_error>

namespace tam {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The exit code a child gives when it could not be executed.
constexpr int kExecFailed = 127;

// One document being imported.
struct Conversion {
    BatchDocument document;
    DocumentOutputs outputs;
    std::vector<fs::path> partials;  // what the child writes, renamed to outputs on success
    ChildProcess child;
    Clock::time_point started;
    bool timedOut = false;
};

// An import's exit code as one of tamcad's; a crash, a timeout (-1) or any other code counts as
// nothing loaded.
ExitCode importExit(int code) {
    for (const ExitCode known : {kExitDone, kExitNothingLoaded, kExitUsage, kExitNotWritten,
                                 kExitPartial, kExitInterrupted}) {
        if (code == known)
            return known;
    }
    return kExitNothingLoaded;
}

// ".name.partial.ext" beside "name.ext": hidden, and with the extension that picks the format.
fs::path partialPath(const fs::path& output) {
    return output.parent_path() /
           ("." + output.stem().string() + ".partial" + output.extension().string());
}

void removeFiles(const std::vector<fs::path>& files) {
    std::error_code ec;
    for (const fs::path& file : files)
        fs::remove(file, ec);
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The triangle count of the import summary ("  triangles   N"), 0 without one.
std::uint64_t summaryTriangles(const std::string& output) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string label;
        std::uint64_t count = 0;
        if (words >> label && label == "triangles" && words >> count)
            return count;
    }
    return 0;
}

// The import's last message ("tamcad: ..." on stderr, without the prefix), or "".
std::string lastMessage(const std::string& errors) {
    static const std::string kPrefix = "tamcad: ";
    std::string message;
    std::istringstream lines(errors);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, kPrefix.size(), kPrefix) == 0 && line.size() > kPrefix.size())
            message = line.substr(kPrefix.size());
    }
    return message;
}

std::vector<std::string> childArguments(const Conversion& conversion,
                                        const BatchSettings& settings) {
    std::vector<std::string> arguments = {"import", "-q"};
    arguments.insert(arguments.end(), settings.options.begin(), settings.options.end());
    arguments.insert(arguments.end(), settings.unrecordedOptions.begin(),
                     settings.unrecordedOptions.end());
    for (const fs::path& partial : conversion.partials)
        arguments.push_back("--output=" + partial.string());
    // After "--" a source whose name starts with '-' is still taken as the file.
    arguments.push_back("--");
    arguments.push_back(conversion.document.source.string());
    return arguments;
}

// Renames the partial files onto the outputs; false with message when one is missing.
bool publishOutputs(const Conversion& conversion, std::string& message) {
    for (size_t i = 0; i < conversion.partials.size(); ++i) {
        std::error_code ec;
        fs::rename(conversion.partials[i], conversion.outputs.files[i], ec);
        if (ec) {
            message = "cannot place " + conversion.outputs.files[i].string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

// The signals that stop the batch, and SIGCHLD, which wakes it when an import ends.
sigset_t batchSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGCHLD, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    return signals;
}

// The run of one batch: a queue of documents, the conversions running, and their results.
class BatchRun {
public:
    BatchRun(const BatchSettings& settings, BatchReport& report,
             const std::vector<BatchDocument>& documents)
        : m_settings(settings),
          m_report(report),
          m_pending(documents.begin(), documents.end()),
          m_progress(documents.size(), settings.quiet) {}

    BatchOutcome run();

private:
    using Running = std::vector<std::unique_ptr<Conversion>>;

    void startNext();
    // Waits for an import to end, a deadline or a stop signal; false on a stop signal.
    bool waitForEvent();
    void collectEnded();
    void killOverdue();
    void stopAll();
    // Records an ended conversion and takes it off the running list; the next one's position.
    Running::iterator complete(Running::iterator ended);
    DocumentResult finish(Conversion& conversion);
    void record(const DocumentResult& result);
    std::chrono::nanoseconds timeToNextDeadline() const;

    const BatchSettings& m_settings;
    BatchReport& m_report;
    std::deque<BatchDocument> m_pending;
    Running m_running;
    BatchProgress m_progress;
    BatchOutcome m_outcome;
};

BatchOutcome BatchRun::run() {
    const sigset_t signals = batchSignals();
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &signals, &previous);
    while (!m_pending.empty() || !m_running.empty()) {
        while (m_running.size() < std::max(1u, m_settings.jobs) && !m_pending.empty())
            startNext();
        if (m_running.empty())
            continue;
        if (!waitForEvent()) {
            stopAll();
            m_outcome.interrupted = true;
            break;
        }
        collectEnded();
        killOverdue();
        m_progress.refresh(m_running.size());
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    m_progress.end();
    return m_outcome;
}

void BatchRun::startNext() {
    auto conversion = std::make_unique<Conversion>();
    conversion->document = m_pending.front();
    m_pending.pop_front();
    conversion->outputs =
        outputsOf(conversion->document, m_settings.outputFolder, m_settings.formats);
    ConversionRecord previous;
    if (isUpToDate(conversion->document, conversion->outputs, m_settings.options, previous)) {
        DocumentResult result;
        result.path = conversion->document.source.string();
        result.status = DocumentStatus::Skipped;
        result.triangles = previous.triangles;
        result.outputs = conversion->outputs.files;
        record(result);
        return;
    }
    for (const fs::path& output : conversion->outputs.files)
        conversion->partials.push_back(partialPath(output));
    std::error_code ec;
    fs::create_directories(conversion->outputs.record.parent_path(), ec);
    conversion->started = Clock::now();
    std::string error;
    if (ec || !conversion->child.start(m_settings.program, childArguments(*conversion, m_settings),
                                       error)) {
        DocumentResult result;
        result.path = conversion->document.source.string();
        result.message = ec ? "cannot create the output folder: " + ec.message() : error;
        record(result);
        return;
    }
    m_running.push_back(std::move(conversion));
}

std::chrono::nanoseconds BatchRun::timeToNextDeadline() const {
    // Wake at least once a second to redraw the progress line.
    std::chrono::nanoseconds wait = std::chrono::seconds(1);
    if (m_settings.timeoutSeconds <= 0.0)
        return wait;
    const auto limit = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::duration<double>(m_settings.timeoutSeconds));
    for (const auto& conversion : m_running)
        wait = std::min(wait, conversion->started + limit - Clock::now());
    return std::max(wait, std::chrono::nanoseconds(0));
}

bool BatchRun::waitForEvent() {
    const sigset_t signals = batchSignals();
    const std::chrono::nanoseconds wait = timeToNextDeadline();
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(wait.count() / 1000000000);
    timeout.tv_nsec = static_cast<long>(wait.count() % 1000000000);
    const int signal = sigtimedwait(&signals, nullptr, &timeout);
    return signal != SIGINT && signal != SIGTERM && signal != SIGHUP;
}

void BatchRun::collectEnded() {
    for (auto it = m_running.begin(); it != m_running.end();) {
        if ((*it)->child.poll())
            it = complete(it);
        else
            ++it;
    }
}

void BatchRun::killOverdue() {
    if (m_settings.timeoutSeconds <= 0.0)
        return;
    for (auto it = m_running.begin(); it != m_running.end();) {
        if (secondsSince((*it)->started) < m_settings.timeoutSeconds) {
            ++it;
            continue;
        }
        (*it)->child.kill();
        (*it)->timedOut = true;
        it = complete(it);
    }
}

BatchRun::Running::iterator BatchRun::complete(Running::iterator ended) {
    const std::unique_ptr<Conversion> conversion = std::move(*ended);
    const Running::iterator next = m_running.erase(ended);
    record(finish(*conversion));
    return next;
}

void BatchRun::stopAll() {
    for (const auto& conversion : m_running) {
        conversion->child.kill();
        removeFiles(conversion->partials);
    }
    m_running.clear();
}

DocumentResult BatchRun::finish(Conversion& conversion) {
    DocumentResult result;
    result.path = conversion.document.source.string();
    result.seconds = secondsSince(conversion.started);
    const int status = conversion.child.waitStatus();
    if (conversion.timedOut) {
        result.status = DocumentStatus::TimedOut;
        std::ostringstream message;
        message << "no result within the time limit of " << m_settings.timeoutSeconds << " s";
        result.message = message.str();
    } else if (WIFSIGNALED(status)) {
        result.status = DocumentStatus::Crashed;
        result.signal = WTERMSIG(status);
        result.message = std::string("killed by signal ") + std::to_string(result.signal) + " (" +
                         strsignal(result.signal) + ")";
    } else {
        result.exitCode = WEXITSTATUS(status);
        result.triangles = summaryTriangles(conversion.child.output());
        result.message = lastMessage(conversion.child.errors());
        // A partial import (faces given up, records repaired) still gave its outputs.
        const bool imported = result.exitCode == kExitDone || result.exitCode == kExitPartial;
        // The old record goes first: outputs half replaced must not pass for up to date.
        std::error_code ec;
        if (imported)
            fs::remove(conversion.outputs.record, ec);
        if (imported && publishOutputs(conversion, result.message)) {
            result.status = DocumentStatus::Converted;
            result.outputs = conversion.outputs.files;
            writeRecord(conversion.outputs.record,
                        {m_settings.options, result.triangles, result.seconds});
        } else if (result.exitCode == kExecFailed && result.message.empty()) {
            result.message = "cannot run " + m_settings.program;
        } else if (result.message.empty()) {
            result.message = "exit code " + std::to_string(result.exitCode);
        }
    }
    removeFiles(conversion.partials);
    return result;
}

void BatchRun::record(const DocumentResult& result) {
    if (!result.succeeded())
        ++m_outcome.failed;
    if (result.status != DocumentStatus::Skipped)
        m_outcome.worstExitCode = worseExit(m_outcome.worstExitCode, importExit(result.exitCode));
    m_report.append(result);
    m_progress.finished(result, m_running.size());
}

}  // namespace

BatchOutcome convertDocuments(const std::vector<BatchDocument>& documents,
                              const BatchSettings& settings, BatchReport& report) {
    return BatchRun(settings, report, documents).run();
}

}  // namespace tam
