// The translator's IGES reader: the input is the file.
#include "fuzz_translate.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return tamfuzz::StartTranslator();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tamfuzz::Translate(data, size, "IGES", "in.igs");
    return 0;
}
