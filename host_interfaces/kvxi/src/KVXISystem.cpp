#include <kvxi/KVXISystem.h>

#include "DataExchange.h"
#include "Guard.h"
#include "ReaderMessages.h"

#include <string>

namespace {

bool g_initialized = false;
KVXISystem::CancelCheck g_cancelCheck = nullptr;

}  // namespace

KVXIResult KVXISystem::Initialize() {
    if (g_initialized)
        return KVXIResult();
    std::string error;
    const tam::DataExchange* exchange = tam::LoadDataExchange(error);
    if (exchange == nullptr)
        return KVXIResult(KVXIResult::InternalError, error);
    const KVXIResult result = tam::RunGuarded(KVXIResult(KVXIResult::InternalError), [exchange]() {
        exchange->configure();
        tam::CaptureReaderMessages();
        return KVXIResult();
    });
    g_initialized = result.IsSuccess();
    return result;
}

KVXIResult KVXISystem::Shutdown() {
    if (g_initialized) {
        std::string error;
        const tam::DataExchange* exchange = tam::LoadDataExchange(error);
        tam::RunGuarded(KVXIResult(), [exchange]() {
            exchange->restore();
            return KVXIResult();
        });
        tam::ReleaseReaderMessages();
    }
    g_initialized = false;
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
