// tamcad's program: opens the host library (libTam_tamcad.so, HostMain.cpp) and runs its command
// line. The host and the libraries it needs are opened, not linked, so that the loader's global
// search list holds only this program and the C and C++ run-times. The loader resolves each
// symbol of a library opened later by searching that list first, then the library's own
// dependencies: when the translator opens its data-exchange module, tens of thousands of lookups
// for the exchange toolkits' symbols would otherwise first miss every library loaded at start-up.
#include <dlfcn.h>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    void* host = dlopen("libTam_tamcad.so", RTLD_LAZY | RTLD_LOCAL);
    using Entry = int (*)(int, char**);
    const auto entry =
        host != nullptr ? reinterpret_cast<Entry>(dlsym(host, "tamcad_main")) : nullptr;
    if (entry == nullptr) {
        const char* reason = dlerror();
        std::cerr << "tamcad: cannot open its host library: " << (reason ? reason : "") << "\n";
        return EXIT_FAILURE;
    }
    return entry(argc, argv);
}
