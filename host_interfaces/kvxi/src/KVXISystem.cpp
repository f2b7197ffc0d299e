#include <kvxi/KVXISystem.h>

#include "Guard.h"
#include "ReaderMessages.h"

#include <IGESControl_Controller.hxx>
#include <Interface_Static.hxx>
#include <STEPControl_Controller.hxx>

namespace {

bool g_initialized = false;
KVXISystem::CancelCheck g_cancelCheck = nullptr;

// Data-exchange settings: millimetres, AP214 STEP, solids as B-rep entities in IGES.
void ConfigureDataExchange() {
    STEPControl_Controller::Init();
    IGESControl_Controller::Init();
    Interface_Static::SetCVal("xstep.cascade.unit", "MM");
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.step.unit", "MM");
    Interface_Static::SetIVal("write.iges.brep.mode", 1);
    Interface_Static::SetCVal("write.iges.unit", "MM");
}

}  // namespace

KVXIResult KVXISystem::Initialize() {
    if (g_initialized)
        return KVXIResult();
    const KVXIResult result = tam::RunGuarded(KVXIResult(KVXIResult::InternalError), []() {
        ConfigureDataExchange();
        tam::CaptureReaderMessages();
        return KVXIResult();
    });
    g_initialized = result.IsSuccess();
    return result;
}

KVXIResult KVXISystem::Shutdown() {
    if (g_initialized)
        tam::ReleaseReaderMessages();
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
