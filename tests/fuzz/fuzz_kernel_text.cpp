// The kernel's text file reader. The input is the payload; the header with its checksum is
// added here, so that mutations reach the reader instead of failing the checksum.
#include <orik/orik.h>

#include <cinttypes>
#include <cstdio>

#include "fuzz_kernel_files.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return tamfuzz::StartKernel();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string payload(reinterpret_cast<const char*>(data), size);
    char header[64];
    std::snprintf(header, sizeof header, "ORIK-TEXT 1\nchecksum %016" PRIx64 " %zu\n",
                  tamfuzz::Checksum(payload), size);
    tamfuzz::RestoreAndRoundTrip(header + payload);
    return 0;
}
