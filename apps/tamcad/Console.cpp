#include "Console.h"

#include "ExitCodes.h"
#include "SceneWalk.h"

#include <kvxi/KVXISystem.h>
#include <platform/CodePage.h>
#include <tamsgdb/CTamLog.h>
#include <tamsgdb/sglModelLoader.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace tam {
namespace {

constexpr int kBarWidth = 30;

struct ProgressState {
    bool quiet = false;
    bool terminal = false;
    bool barOpen = false;
    int lastTenth = -1;
    unsigned int messages = 0;
    std::string step;
};

ProgressState g_state;

// The walk reports the fraction of all its passes; anything outside 0..1 is clamped.
float overallFraction(float fraction) {
    return std::clamp(fraction, 0.0f, 1.0f);
}

void drawBar(float fraction) {
    const int filled = static_cast<int>(std::lround(fraction * kBarWidth));
    std::fprintf(stderr, "\r[%s%s] %3d%%  %s", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, '.').c_str(),
                 static_cast<int>(std::lround(fraction * 100.0f)), g_state.step.c_str());
    std::fflush(stderr);
    g_state.barOpen = true;
}

void printLine(float fraction) {
    const int tenth = static_cast<int>(fraction * 10.0f);
    if (tenth == g_state.lastTenth)
        return;
    g_state.lastTenth = tenth;
    std::fprintf(stderr, "progress %3d%%\n", tenth * 10);
}

void onProgress(float fraction, const wchar_t* text) {
    if (g_state.quiet)
        return;
    if (text != nullptr) {
        ConsoleReporter::finishProgress();
        g_state.step = WideToUtf8Replacing(text);
        g_state.lastTenth = -1;
        if (!g_state.terminal)
            std::fprintf(stderr, "%s\n", g_state.step.c_str());
    }
    const float overall = overallFraction(fraction);
    if (g_state.terminal)
        drawBar(overall);
    else if (text == nullptr)
        printLine(overall);
}

void onMessage(const wchar_t* text, unsigned int /*code*/) {
    ConsoleReporter::finishProgress();
    ++g_state.messages;
    std::fprintf(stderr, "tamcad: %s\n", text != nullptr ? WideToUtf8Replacing(text).c_str() : "");
}

// The readers' own console text belongs in the host log, not on stdout or stderr.
void onReaderMessage(const char* text, bool isFailure) {
    std::wstring wide;
    if (text != nullptr && Utf8ToWide(text, wide))
        gTamLog.WriteInfos(wide, false, isFailure);
}

bool cancelRequested() {
    return sglModelLoader::m_sbCancelImport;
}

volatile std::sig_atomic_t g_interrupts = 0;

// Some steps cannot be stopped midway (OCCT's STEP parser has no progress): when the import
// has not come back a second after the cancel request, the program ends without it.
void onCancelDeadline(int) {
    static const char notice[] = "tamcad: stopped (a step did not end within a second)\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, notice, sizeof notice - 1);
    _exit(kExitInterrupted);
}

void onInterrupt(int) {
    if (++g_interrupts > 1)
        _exit(kExitInterrupted);
    sglModelLoader::m_sbCancelImport = true;
    alarm(1);
    static const char notice[] = "\ntamcad: cancelling (Ctrl-C again to quit at once)\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, notice, sizeof notice - 1);
}

}  // namespace

ConsoleReporter::ConsoleReporter(bool quiet) {
    g_state = ProgressState();
    g_state.quiet = quiet;
    g_state.terminal = isatty(STDERR_FILENO) != 0;
    sglModelLoader::s_callbackLoadingError = onMessage;
    sglModelLoader::s_callbackProgress = onProgress;
    KVXISystem::SetMessageHandler(onReaderMessage);
}

ConsoleReporter::~ConsoleReporter() {
    finishProgress();
    sglModelLoader::s_callbackLoadingError = nullptr;
    sglModelLoader::s_callbackProgress = nullptr;
    KVXISystem::SetMessageHandler(nullptr);
}

unsigned int ConsoleReporter::messageCount() {
    return g_state.messages;
}

void ConsoleReporter::finishProgress() {
    if (!g_state.barOpen)
        return;
    std::fputc('\n', stderr);
    g_state.barOpen = false;
}

CancelOnInterrupt::CancelOnInterrupt() {
    g_interrupts = 0;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_previousInterrupt);
    sigaction(SIGTERM, &action, &m_previousTerminate);
    struct sigaction deadline {};
    deadline.sa_handler = onCancelDeadline;
    sigemptyset(&deadline.sa_mask);
    sigaction(SIGALRM, &deadline, &m_previousAlarm);
    KVXISystem::SetCancelCheck(cancelRequested);
}

CancelOnInterrupt::~CancelOnInterrupt() {
    sigaction(SIGINT, &m_previousInterrupt, nullptr);
    alarm(0);
    sigaction(SIGTERM, &m_previousTerminate, nullptr);
    sigaction(SIGALRM, &m_previousAlarm, nullptr);
    KVXISystem::SetCancelCheck(nullptr);
}

}  // namespace tam
