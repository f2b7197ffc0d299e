#include <kvxi/KVXISystem.h>

#include "Guard.h"

#include <IGESControl_Controller.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <STEPControl_Controller.hxx>

#include <vector>

namespace {

bool g_initialized = false;
// Trace levels of OCCT's message printers before Initialize, restored by Shutdown.
std::vector<std::pair<Handle(Message_Printer), Message_Gravity>> g_savedTraceLevels;

// The readers print progress and statistics to standard output; a library keeps quiet.
void SilenceMessagePrinters() {
    g_savedTraceLevels.clear();
    const Handle(Message_Messenger)& messenger = Message::DefaultMessenger();
    for (const Handle(Message_Printer) & printer : messenger->Printers()) {
        g_savedTraceLevels.emplace_back(printer, printer->GetTraceLevel());
        printer->SetTraceLevel(Message_Alarm);
    }
}

void RestoreMessagePrinters() {
    for (auto& saved : g_savedTraceLevels)
        saved.first->SetTraceLevel(saved.second);
    g_savedTraceLevels.clear();
}

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
        SilenceMessagePrinters();
        return KVXIResult();
    });
    g_initialized = result.IsSuccess();
    return result;
}

KVXIResult KVXISystem::Shutdown() {
    if (g_initialized)
        RestoreMessagePrinters();
    g_initialized = false;
    return KVXIResult();
}

bool KVXISystem::IsInitialized() {
    return g_initialized;
}
