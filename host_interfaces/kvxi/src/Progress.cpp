#include "Progress.h"

#include <kvxi/KVXISystem.h>

namespace tam {

ConversionProgress::ConversionProgress(KVXIConverter::ProgressCallback hook, int timeLimitSeconds)
    : m_hook(hook),
      m_hasDeadline(timeLimitSeconds > 0),
      m_deadline(Clock::now() + std::chrono::seconds(timeLimitSeconds > 0 ? timeLimitSeconds : 0)) {
}

bool ConversionProgress::CheckInterrupt() {
    if (m_interrupted)
        return true;
    if (m_hasDeadline && Clock::now() > m_deadline)
        m_interrupted = true;
    const KVXISystem::CancelCheck hostCancel = KVXISystem::GetCancelCheck();
    if (hostCancel != nullptr && hostCancel())
        m_interrupted = true;
    if (m_hook) {
        bool cancel = false;
        m_hook(GetPosition(), cancel);
        if (cancel)
            m_interrupted = true;
    }
    return m_interrupted;
}

Standard_Boolean ConversionProgress::UserBreak() {
    return CheckInterrupt();
}

void ConversionProgress::Show(const Message_ProgressScope&, const Standard_Boolean) {
    // Fractions reach the hook from UserBreak, which OCCT calls at every step.
}

}  // namespace tam
