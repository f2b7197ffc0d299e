// The error frame around every API call: the one place where OCCT failures, signals turned into
// exceptions, kernel errors and anything else thrown become an outcome.
#pragma once

#include "EntityStore.h"
#include "Kernel.h"

#include <orik/orik_exception.h>
#include <orik/outcome.h>

#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>

#include <new>

namespace orik {

// Outcome for an OCCT failure (signals and memory exhaustion told apart).
outcome failureOutcome(const Standard_Failure& failure);
// Records the call's result in the open bracket and writes the journal line when logging.
outcome finishCall(const char* name, const outcome& result);

// Throws orik_exception(number) when the condition does not hold.
inline void require(bool condition, int errorNumber) {
    if (!condition)
        throw orik_exception(errorNumber);
}
// Throws ORIK_NULL_ENTITY unless the entity is alive.
inline void requireAlive(const ENTITY* entity) {
    require(EntityStore::instance().alive(entity), ORIK_NULL_ENTITY);
}

// Runs body() (returning outcome) as the API call `name`: refuses when the modeller is stopped
// (unless mayRunStopped), and converts whatever body raises into an outcome.
template <class Body>
outcome runApi(const char* name, Body&& body, bool mayRunStopped = false) {
    if (!mayRunStopped && !Kernel::instance().running()) {
        return finishCall(name, outcome(ORIK_NOT_RUNNING));
    }
    outcome result;
    try {
        OCC_CATCH_SIGNALS
        result = body();
    } catch (const orik_exception& error) {
        result = outcome(error.error_number());
    } catch (const Standard_Failure& failure) {
        result = failureOutcome(failure);
    } catch (const std::bad_alloc&) {
        result = outcome(ORIK_OUT_OF_MEMORY);
    } catch (...) {
        result = outcome(ORIK_UNEXPECTED);
    }
    return finishCall(name, result);
}

// Runs a non-API operation of an entity (an accessor) so that nothing escapes it: returns
// body()'s value, or fallback when it raises.
template <class T, class Body>
T guarded(T fallback, Body&& body) {
    try {
        OCC_CATCH_SIGNALS
        return body();
    } catch (...) {
        return fallback;
    }
}

}  // namespace orik
