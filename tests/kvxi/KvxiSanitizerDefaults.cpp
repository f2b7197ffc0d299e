// Sanitizer defaults of the translator tests. Open CASCADE is built without frame pointers, so
// leak reports need the slow unwinder to reach the third-party frames that tests/lsan.supp names.
// The slow unwinder runs at every allocation; the corpus test, which allocates most, keeps eight
// frames per allocation (enough for those names) to stay fast.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options() {
#if defined(KVXI_SHORT_ALLOCATION_STACKS)
    return "fast_unwind_on_malloc=0:malloc_context_size=8";
#else
    return "fast_unwind_on_malloc=0";
#endif
}
#endif
