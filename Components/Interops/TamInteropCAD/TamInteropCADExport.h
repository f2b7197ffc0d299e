// Symbol visibility of the library: it is built with hidden visibility, and only what is
// marked TAMINTEROPCAD_API (its exported classes and plain functions) is visible to the host.
#pragma once

#define TAMINTEROPCAD_API __attribute__((visibility("default")))
