// Sanitizer defaults of the test programs that link Open CASCADE. It is built without frame
// pointers, so leak reports need the slow unwinder to reach the third-party frames that
// tests/lsan.supp names. The slow unwinder runs at every allocation and costs by the frame:
// twelve frames reach every name the suppressions list; programs that allocate most define
// TAM_ALLOCATION_FRAMES to keep fewer.
#if defined(TAM_SANITIZED)
#define TAM_STRINGIZE(text) #text
#define TAM_FRAMES_OPTION(frames) ":malloc_context_size=" TAM_STRINGIZE(frames)
#if !defined(TAM_ALLOCATION_FRAMES)
#define TAM_ALLOCATION_FRAMES 12
#endif

extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0" TAM_FRAMES_OPTION(TAM_ALLOCATION_FRAMES);
}
#endif
