// Sanitizer defaults of the corpus tests. Open CASCADE is built without frame pointers, so leak
// reports need the slow unwinder to reach the third-party frames that tests/lsan.supp names.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
#endif
