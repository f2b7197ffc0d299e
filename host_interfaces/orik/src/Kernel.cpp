#include "Kernel.h"

#include "EntityStore.h"
#include "Faceter.h"

#include <OSD.hxx>

#include <algorithm>

namespace orik {

namespace {

// Signals whose handlers OCCT's signal handling replaces on Linux.
constexpr int kHandledSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGILL, SIGTRAP,
                                   SIGBUS, SIGFPE, SIGSEGV, SIGSYS, SIGABRT};

// The crash signals the kernel's calls turn into outcomes; the others (interrupts, hang-ups)
// stay with the host, which may use them to cancel an import.
constexpr int kCrashSignals[] = {SIGILL, SIGBUS, SIGFPE, SIGSEGV};

bool isCrashSignal(int signal) {
    for (int crash : kCrashSignals) {
        if (crash == signal)
            return true;
    }
    return false;
}

const char* const kComponents[] = {"kernel",  "spline",       "intersectors",      "euler_ops",
                                   "faceter", "constructors", "generic_attributes"};

}  // namespace

Kernel& Kernel::instance() {
    // Never destroyed, like the entity store: nothing runs after OCCT's statics are gone.
    static Kernel* kernel = new Kernel;
    return *kernel;
}

void Kernel::start() {
    if (running_)
        return;
    installSignals();
    resetSettings();
    // Deleting an entity releases the facets it held on its geometry.
    EntityStore::instance().setDestroyHook([](ENTITY* root) { Faceter::instance().release(root); });
    running_ = true;
}

void Kernel::stop() {
    if (!running_)
        return;
    meshManager = nullptr;
    EntityStore::instance().destroyAll();
    Faceter::instance().reset();
    refinements_.clear();
    brackets.clear();
    restoreSignals();
    running_ = false;
}

void Kernel::resetSettings() {
    components_.clear();
    for (const char* name : kComponents)
        components_[name] = 0;
    intOptions = {{"adaptive_grid", 0}};
    logging = false;
    defaultColor = rgb_color(0.8, 0.8, 0.9);
    fileInfo = FileInfo();
    meshManager = nullptr;
}

int* Kernel::componentCount(const std::string& name) {
    const auto found = components_.find(name);
    return found == components_.end() ? nullptr : &found->second;
}

REFINEMENT* Kernel::createRefinement() {
    refinements_.push_back(std::make_unique<REFINEMENT>());
    return refinements_.back().get();
}

bool Kernel::ownsRefinement(const REFINEMENT* refinement) const {
    return std::any_of(refinements_.begin(), refinements_.end(),
                       [refinement](const auto& owned) { return owned.get() == refinement; });
}

void Kernel::recordInBracket(const outcome& result) {
    if (brackets.empty() || result.ok())
        return;
    if (brackets.back().ok())
        brackets.back() = result;
}

void Kernel::installSignals() {
    savedHandlers_.clear();
    for (int signal : kHandledSignals) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0)
            savedHandlers_.emplace_back(signal, previous);
    }
    // Floating-point traps stay off: OCCT's algorithms rely on IEEE infinities and NaNs.
    OSD::SetSignal(OSD_SignalMode_Set, Standard_False);
    for (const auto& [signal, previous] : savedHandlers_) {
        if (!isCrashSignal(signal))
            sigaction(signal, &previous, nullptr);
    }
}

void Kernel::restoreSignals() {
    for (const auto& [signal, previous] : savedHandlers_)
        sigaction(signal, &previous, nullptr);
    savedHandlers_.clear();
}

}  // namespace orik
