// Sanitizer defaults of the test programs that link Open CASCADE. It is built without frame
// pointers, so leak reports need the slow unwinder to reach the third-party frames that
// tests/lsan.supp names. The slow unwinder runs at every allocation: programs that allocate
// most define TAM_ALLOCATION_FRAMES to keep only that many frames per allocation (enough to
// reach the names the suppressions list).
#if defined(__SANITIZE_ADDRESS__)
#define TAM_STRINGIZE(text) #text
#define TAM_FRAMES_OPTION(frames) ":malloc_context_size=" TAM_STRINGIZE(frames)

extern "C" const char* __asan_default_options() {
#if defined(TAM_ALLOCATION_FRAMES)
    return "fast_unwind_on_malloc=0" TAM_FRAMES_OPTION(TAM_ALLOCATION_FRAMES);
#else
    return "fast_unwind_on_malloc=0";
#endif
}
#endif
