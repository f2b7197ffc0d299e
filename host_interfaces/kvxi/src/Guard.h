// The translator's error boundary: runs OCCT work so that no exception and no signal turned into
// an exception leaves it; failures become a result.
#pragma once

#include <kvxi/KVXIResult.h>

#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <Standard_OutOfMemory.hxx>

#include <exception>
#include <new>

namespace tam {

// Runs `work` (returning KVXIResult) and maps any escape to `failure`; memory exhaustion to
// InternalError with the reason "out of memory"; an OCCT failure keeps its message as the reason.
template <class Work>
KVXIResult RunGuarded(KVXIResult failure, Work&& work) {
    try {
        OCC_CATCH_SIGNALS
        return work();
    } catch (const Standard_OutOfMemory&) {
        return KVXIResult(KVXIResult::InternalError, "out of memory");
    } catch (const Standard_Failure& error) {
        const char* text = error.GetMessageString();
        return text != nullptr && *text != '\0' ? KVXIResult(failure.GetValue(), text) : failure;
    } catch (const std::bad_alloc&) {
        return KVXIResult(KVXIResult::InternalError, "out of memory");
    } catch (const std::exception&) {
        return failure;
    } catch (...) {
        return failure;
    }
}

}  // namespace tam
