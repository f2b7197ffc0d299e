// Process-wide state of the running modeller: components, options, default color, file
// information, the installed mesh manager, the refinements it owns, open API brackets and the
// signal handlers it replaced.
#pragma once

#include <orik/FileInfo.h>
#include <orik/MESH_MANAGER.h>
#include <orik/OrikTypes.h>
#include <orik/REFINEMENT.h>
#include <orik/outcome.h>

#include <csignal>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orik {

class Kernel {
public:
    // The one kernel of the process.
    static Kernel& instance();

    bool running() const { return running_; }
    // Starts: installs OCCT's signal handling (remembering the previous handlers) and resets
    // the settings to their defaults.
    void start();
    // Stops: deletes entities and refinements, restores the signal handlers.
    void stop();

    // Component counts by name ("kernel", "faceter", ...); null for an unknown name.
    int* componentCount(const std::string& name);

    std::map<std::string, int> intOptions;
    bool logging = false;
    rgb_color defaultColor;
    FileInfo fileInfo;
    MESH_MANAGER* meshManager = nullptr;

    // A new refinement owned by the kernel.
    REFINEMENT* createRefinement();
    // True for a refinement made by createRefinement and not yet deleted.
    bool ownsRefinement(const REFINEMENT* refinement) const;

    // API brackets: the first failure of each open bracket, innermost last.
    std::vector<outcome> brackets;
    // Records a call's result in the innermost open bracket (first failure wins).
    void recordInBracket(const outcome& result);

private:
    Kernel() = default;
    void installSignals();
    void restoreSignals();
    void resetSettings();

    bool running_ = false;
    std::map<std::string, int> components_;
    std::vector<std::unique_ptr<REFINEMENT>> refinements_;
    std::vector<std::pair<int, struct sigaction>> savedHandlers_;
};

}  // namespace orik
