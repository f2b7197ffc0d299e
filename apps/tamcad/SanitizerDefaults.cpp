// Sanitizer defaults of tamcad and its tests. Open CASCADE is built without frame pointers, so
// leak reports need the slow unwinder to reach the third-party frames that tests/lsan.supp names;
// it costs by the frame, and twelve reach every name listed there.
#if defined(TAM_SANITIZED)
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0:malloc_context_size=12";
}
#endif
