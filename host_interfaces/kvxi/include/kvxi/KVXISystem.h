// Process-wide start and stop of the translator.
#pragma once

#include <kvxi/KVXIResult.h>

class KVXISystem {
public:
    // Starts the translator (data-exchange settings, millimetre units). Call before any
    // conversion; a second call is harmless and returns Success.
    static KVXIResult Initialize();
    // Stops the translator; conversions then return NotInitialized. Harmless when stopped.
    static KVXIResult Shutdown();
    // True between Initialize and Shutdown.
    static bool IsInitialized();
};
