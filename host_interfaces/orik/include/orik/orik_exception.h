// The kernel's own exception type. Kernel code raises it to abandon a call; each api_* call's
// error frame catches it and returns it as an outcome, so it never leaves the kernel.
#pragma once

#include <exception>

// A kernel failure with its error number (see OrikErrorNumber in <orik/outcome.h>).
class orik_exception : public std::exception {
public:
    explicit orik_exception(int error_number) : number_(error_number) {}
    int error_number() const { return number_; }
    // The kernel's message for the number (find_err_mess), never null.
    const char* what() const noexcept override;

private:
    int number_;
};
