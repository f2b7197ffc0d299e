#include <kvxi/KVXISystem.h>

#include "DataExchange.h"
#include "Guard.h"
#include "ReaderMessages.h"

#include <string>

namespace {

bool g_initialized = false;
// Set once the data-exchange module has been configured in the running session.
bool g_exchangeConfigured = false;
KVXISystem::CancelCheck g_cancelCheck = nullptr;

}  // namespace

namespace tam {

const DataExchange* SessionDataExchange(std::string& error) {
    const DataExchange* exchange = LoadDataExchange(error);
    if (exchange == nullptr || g_exchangeConfigured || !g_initialized)
        return exchange;
    const KVXIResult configured = RunGuarded(KVXIResult(KVXIResult::InternalError), [exchange]() {
        exchange->configure();
        return KVXIResult();
    });
    if (configured.IsFailure()) {
        error = configured.GetReason();
        return nullptr;
    }
    g_exchangeConfigured = true;
    return exchange;
}

}  // namespace tam

// The data-exchange module is not loaded here: a session that only reads kernel files never
// needs it, and loading it costs more than the rest of the start together.
KVXIResult KVXISystem::Initialize() {
    if (g_initialized)
        return KVXIResult();
    std::string error;
    if (!tam::DataExchangeInstalled(error))
        return KVXIResult(KVXIResult::InternalError, error);
    const KVXIResult result = tam::RunGuarded(KVXIResult(KVXIResult::InternalError), []() {
        tam::CaptureReaderMessages();
        return KVXIResult();
    });
    g_initialized = result.IsSuccess();
    return result;
}

KVXIResult KVXISystem::Shutdown() {
    if (g_initialized) {
        std::string error;
        const tam::DataExchange* exchange =
            g_exchangeConfigured ? tam::LoadDataExchange(error) : nullptr;
        tam::RunGuarded(KVXIResult(), [exchange]() {
            if (exchange != nullptr)
                exchange->restore();
            return KVXIResult();
        });
        tam::ReleaseReaderMessages();
    }
    g_initialized = false;
    g_exchangeConfigured = false;
    return KVXIResult();
}

bool KVXISystem::IsInitialized() {
    return g_initialized;
}

void KVXISystem::SetMessageHandler(MessageHandler handler) {
    tam::SetReaderMessageHandler(handler);
}

void KVXISystem::SetCancelCheck(CancelCheck check) {
    g_cancelCheck = check;
}

KVXISystem::CancelCheck KVXISystem::GetCancelCheck() {
    return g_cancelCheck;
}
