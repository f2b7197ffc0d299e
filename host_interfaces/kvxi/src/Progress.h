// Progress of one conversion: forwards fractions to the caller's hook and stops OCCT work when
// the hook asks for it or the time limit is over.
#pragma once

#include <kvxi/KVXIConverter.h>

#include <Message_ProgressIndicator.hxx>

#include <chrono>

namespace tam {

class ConversionProgress : public Message_ProgressIndicator {
public:
    // `timeLimitSeconds` <= 0 means no limit; `hook` may be null.
    ConversionProgress(KVXIConverter::ProgressCallback hook, int timeLimitSeconds);

    Standard_Boolean UserBreak() override;
    void Show(const Message_ProgressScope& scope, const Standard_Boolean force) override;

    // True once the hook or the time limit stopped the work.
    bool WasInterrupted() const { return m_interrupted; }
    // Checks the hook and the clock between steps that take no progress range.
    bool CheckInterrupt();

private:
    using Clock = std::chrono::steady_clock;

    KVXIConverter::ProgressCallback m_hook;
    bool m_hasDeadline;
    Clock::time_point m_deadline;
    bool m_interrupted = false;
};

}  // namespace tam
