// Process-wide start and stop of the translator.
#pragma once

#include <kvxi/KVXIResult.h>

class KVXISystem {
public:
    // Receives the console messages of the readers and writers the translator drives (one line,
    // without colour codes; isFailure for fail and alarm messages). Never printed otherwise.
    using MessageHandler = void (*)(const char* text, bool isFailure);

    // Starts the translator (data-exchange settings, millimetre units). Call before any
    // conversion; a second call is harmless and returns Success.
    static KVXIResult Initialize();
    // Stops the translator; conversions then return NotInitialized. Harmless when stopped.
    static KVXIResult Shutdown();
    // True between Initialize and Shutdown.
    static bool IsInitialized();
    // Installs the handler of the readers' messages (null drops them); kept across restarts.
    static void SetMessageHandler(MessageHandler handler);
    // A host-wide cancel request, asked at every progress step of every conversion besides the
    // converter's own progress hook: true stops the conversion (result Interrupted). Null
    // removes it.
    using CancelCheck = bool (*)();
    static void SetCancelCheck(CancelCheck check);
    static CancelCheck GetCancelCheck();
};
