// Sanitizer defaults of the loader test programs: six frames per allocation reach every frame
// the leak suppressions name and keep the corpus walks affordable.
#define TAM_ALLOCATION_FRAMES 6
#include "occt_sanitizer_defaults.cpp"
