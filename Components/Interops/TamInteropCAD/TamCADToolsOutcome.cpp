// Kernel outcomes and translator results turned into host messages and verdicts; progress.
#include "TamCADTools.h"

#include <platform/CodePage.h>
#include <tamsgdb/sglModelLoader.h>

#include <string>

namespace {

// Numbers the kernel and the translator use alike.
constexpr int kSuccess = 0;
constexpr int kWarning = 1;
constexpr int kNoEntities = 2;
constexpr int kSuccessWithRemark1 = 0x1000011;
constexpr int kSuccessWithRemark2 = 0x1000012;
constexpr int kWarningEntitiesSkipped = 0x2000003;

// The verdicts handed back to callers.
constexpr int kGoOn = 1;
constexpr int kFailed = 0;

bool IsSuccessNumber(int number) {
    return number == kSuccess || number == kSuccessWithRemark1 || number == kSuccessWithRemark2;
}

void SendMessage(const std::wstring& message) {
    if (sglModelLoader::s_callbackLoadingError != nullptr)
        sglModelLoader::s_callbackLoadingError(message.c_str(), 0);
}

// Classifies a number that is not a success: warnings go on, everything else fails; the
// no-entities case is shown only when the host asks for it.
int ReportNonSuccess(int number, const std::wstring& text) {
    if (number == kWarning || number == kWarningEntitiesSkipped) {
        SendMessage(L"*** WARNING ***  " + text);
        return kGoOn;
    }
    if (number == kNoEntities && !sglModelLoader::m_sbShowMessageNoEntities)
        return kFailed;
    SendMessage(L"*** ERROR ***  " + text);
    return kFailed;
}

// The kernel's text for an error number in wide characters; empty when there is none or it
// cannot be converted.
std::wstring KernelText(int number) {
    std::wstring text;
    const char* narrow = find_err_mess(number);
    if (narrow != nullptr)
        tam::NarrowToWide(narrow, text);
    return text;
}

}  // namespace

int CTamCADTools::check_api_outcome(outcome result) {
    const int number = result.error_number();
    if (IsSuccessNumber(number))
        return kGoOn;
    return ReportNonSuccess(number, KernelText(number));
}

int CTamCADTools::check_api_result(KVXIResult result) {
    if (result.IsSuccess() || IsSuccessNumber(result.GetValue()))
        return kGoOn;
    // The translator's reason (file and cause) follows the prefix; without one the prefix
    // stands alone.
    std::wstring reason;
    if (!result.GetReason().empty() && !tam::Utf8ToWide(result.GetReason(), reason))
        reason.clear();
    return ReportNonSuccess(result.GetValue(), reason);
}

int CTamCADTools::IsErrorNoEntities(outcome result) {
    return result.error_number() == kNoEntities ? 1 : 0;
}

void CTamCADTools::ProgressCallBack(double fraction, bool& cancel) {
    if (sglModelLoader::s_callbackProgress != nullptr)
        sglModelLoader::s_callbackProgress(static_cast<float>(fraction), nullptr);
    cancel = sglModelLoader::m_sbCancelImport;
}
