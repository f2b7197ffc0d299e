// Sanitizer defaults of the loader test programs. Open CASCADE is built without frame pointers,
// so the fast unwinder stops inside it and the third-party suppressions of tests/lsan.supp never
// see the frames they name; the full unwinder lets them match. Six frames reach every frame the
// suppressions name and keep the corpus walks affordable. Unused without ASan.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0:malloc_context_size=6";
}
