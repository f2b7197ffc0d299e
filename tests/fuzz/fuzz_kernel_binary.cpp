// The kernel's binary file reader. The first input byte picks the format version (1, or 2 with
// meshes), the rest is the payload; the header with its checksum is added here.
#include <orik/orik.h>

#include "fuzz_kernel_files.h"

namespace {

void AppendLittleEndian(std::string& bytes, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return tamfuzz::StartKernel();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string payload(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string file("ORIKBIN\x1a", 8);
    AppendLittleEndian(file, 1 + (data[0] & 1), 4);
    AppendLittleEndian(file, payload.size(), 8);
    AppendLittleEndian(file, tamfuzz::Checksum(payload), 8);
    tamfuzz::RestoreAndRoundTrip(file + payload);
    return 0;
}
