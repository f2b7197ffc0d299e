#include <kvxi/KVXIResult.h>

namespace {

int Severity(KVXIResultClass resultClass) {
    switch (resultClass) {
        case KVXIResultClass::Success:
            return 0;
        case KVXIResultClass::TreatedAsSuccess:
            return 1;
        case KVXIResultClass::Warning:
            return 2;
        case KVXIResultClass::NoEntities:
            return 3;
        case KVXIResultClass::Error:
            return 4;
    }
    return 4;
}

}  // namespace

bool KVXIResult::IsSuccess() const {
    const KVXIResultClass c = GetClass();
    return c == KVXIResultClass::Success || c == KVXIResultClass::TreatedAsSuccess;
}

bool KVXIResult::IsFailure() const {
    const KVXIResultClass c = GetClass();
    return c == KVXIResultClass::NoEntities || c == KVXIResultClass::Error;
}

bool KVXIResult::IsWarning() const {
    return GetClass() == KVXIResultClass::Warning;
}

KVXIResult& KVXIResult::operator&=(const KVXIResult& other) {
    if (Severity(other.GetClass()) > Severity(GetClass())) {
        m_value = other.m_value;
        m_reason = other.m_reason;
    }
    return *this;
}

KVXIResultClass KVXIResult::Classify(int value) {
    switch (value) {
        case Success:
            return KVXIResultClass::Success;
        case SuccessOptionsIgnored:
        case SuccessDataReduced:
            return KVXIResultClass::TreatedAsSuccess;
        case Warning:
        case WarningEntitiesSkipped:
            return KVXIResultClass::Warning;
        case NoEntities:
            return KVXIResultClass::NoEntities;
        default:
            return KVXIResultClass::Error;
    }
}

const char* KVXIResult::GetText(int value) {
    switch (value) {
        case Success:
            return "success";
        case Warning:
            return "the reader repaired or adjusted parts of the source";
        case NoEntities:
            return "no entities";
        case NotInitialized:
            return "translator not initialized";
        case InvalidArgument:
            return "invalid argument";
        case FileNotFound:
            return "file not found or not readable";
        case UnsupportedSourceType:
            return "unsupported source type";
        case UnsupportedTargetType:
            return "unsupported target type";
        case ReadFailed:
            return "source file damaged or unreadable";
        case TransferFailed:
            return "source could not be translated";
        case WriteFailed:
            return "target file could not be written";
        case Interrupted:
            return "conversion interrupted";
        case KernelError:
            return "kernel operation failed";
        case InternalError:
            return "internal translator error";
        case SuccessOptionsIgnored:
            return "success; some options do not apply";
        case SuccessDataReduced:
            return "success; the target format keeps only part of the data";
        case WarningEntitiesSkipped:
            return "some entities could not be translated";
        default:
            return "unknown translator result";
    }
}
