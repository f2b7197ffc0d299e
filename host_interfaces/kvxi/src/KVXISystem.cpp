#include <kvxi/KVXISystem.h>

#include "DataExchange.h"
#include "Guard.h"
#include "ReaderMessages.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool g_initialized = false;
// The modules configured in the running session, in the order they were.
std::vector<tam::ExchangeModule> g_configured;
KVXISystem::CancelCheck g_cancelCheck = nullptr;

bool IsConfigured(tam::ExchangeModule module) {
    return std::find(g_configured.begin(), g_configured.end(), module) != g_configured.end();
}

}  // namespace

namespace tam {

const DataExchange* SessionDataExchange(ExchangeModule module, std::string& error) {
    if (module != ExchangeModule::General &&
        SessionDataExchange(ExchangeModule::General, error) == nullptr)
        return nullptr;
    const DataExchange* exchange = LoadDataExchange(module, error);
    if (exchange == nullptr || !g_initialized || IsConfigured(module))
        return exchange;
    const KVXIResult configured = RunGuarded(KVXIResult(KVXIResult::InternalError), [exchange]() {
        exchange->configure();
        return KVXIResult();
    });
    if (configured.IsFailure()) {
        error = configured.GetReason();
        return nullptr;
    }
    g_configured.push_back(module);
    return exchange;
}

}  // namespace tam

// The data-exchange modules are not loaded here: a session that only reads kernel files never
// needs them, and loading them costs more than the rest of the start together.
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

// Each configured module puts back its settings, the last configured first.
KVXIResult KVXISystem::Shutdown() {
    if (g_initialized) {
        for (auto module = g_configured.rbegin(); module != g_configured.rend(); ++module) {
            std::string error;
            const tam::DataExchange* exchange = tam::LoadDataExchange(*module, error);
            tam::RunGuarded(KVXIResult(), [exchange]() {
                exchange->restore();
                return KVXIResult();
            });
        }
        tam::ReleaseReaderMessages();
    }
    g_initialized = false;
    g_configured.clear();
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
