// The STEP parser's module: its entry point.
#include "CodePageSetting.h"
#include "Guard.h"
#include "StepParser.h"

#include <IFSelect_ReturnStatus.hxx>
#include <STEPControl_Reader.hxx>

namespace tam {
namespace {

KVXIResult Parse(const std::string& path, const std::string& codePage,
                 Handle(XSControl_WorkSession) & session) {
    return RunGuarded(KVXIResult(KVXIResult::ReadFailed), [&]() {
        const CodePageSetting setting(codePage);
        STEPControl_Reader reader;
        if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
            return KVXIResult(KVXIResult::ReadFailed);
        session = reader.WS();
        return KVXIResult();
    });
}

}  // namespace
}  // namespace tam

extern "C" const tam::StepParser* tam_kvxi_step_parser() {
    static const tam::StepParser parser = {tam::Parse};
    return &parser;
}
