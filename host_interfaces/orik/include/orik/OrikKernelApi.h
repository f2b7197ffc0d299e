// Starting and stopping the kernel, its components and options, and the API bracket.
//
// Every api_* function runs in its own error frame: failures of the geometry engine, kernel
// errors and fatal signals inside the call become the returned outcome; no exception and no
// crash leaves a call. While the modeller is stopped every call except api_start_modeller
// returns ORIK_NOT_RUNNING.
#pragma once

#include <orik/FileInfo.h>
#include <orik/outcome.h>

// Starts the modeller (the size hint is ignored; pass 0). Installs the geometry engine's signal
// handling for the kernel's calls and remembers the process's previous handlers. Starting a
// running modeller succeeds and changes nothing.
outcome api_start_modeller(int memory_size);
// Stops the modeller: deletes every entity, refinement and attribute still alive, uninstalls
// the mesh manager and restores the signal handlers found at start. Stopping a stopped modeller
// returns ORIK_NOT_RUNNING.
outcome api_stop_modeller();
// TRUE while the modeller runs.
logical api_modeller_running();

// Component start and end. Each initialize counts up and each terminate counts down (a
// terminate without initialize returns ORIK_NOT_INITIALIZED). The kernel's services work
// whether or not the components were initialised; the counts are kept for callers to query.
outcome api_initialize_kernel();
outcome api_initialize_spline();
outcome api_initialize_intersectors();
outcome api_initialize_euler_ops();
outcome api_initialize_faceter();
outcome api_initialize_constructors();
outcome api_initialize_generic_attributes();
outcome api_terminate_kernel();
outcome api_terminate_spline();
outcome api_terminate_intersectors();
outcome api_terminate_euler_ops();
outcome api_terminate_faceter();
outcome api_terminate_constructors();
outcome api_terminate_generic_attributes();
// How many times a component ("kernel", "spline", "intersectors", "euler_ops", "faceter",
// "constructors", "generic_attributes") is initialised now; -1 for an unknown name.
int api_component_init_count(const char* component);

// Integer options. Known: "adaptive_grid" (0 or 1, default 0; recorded). Unknown names give
// ORIK_UNKNOWN_OPTION; a null name ORIK_BAD_ARGUMENT.
outcome api_set_int_option(const char* name, int value);
outcome api_get_int_option(const char* name, int& value);

// Journalling: when on, each API call writes its name and error number to stderr.
outcome api_logging(logical on);

// Sets the parts of the kernel's file information selected by mask (FileInfoField bits).
outcome api_set_file_info(unsigned long mask, const FileInfo& info);
// The current file information.
outcome api_get_file_info(FileInfo& info);

// The API bracket. api_bb_begin opens it; the API calls made until api_bb_end record their
// failures in it; api_bb_end closes it and returns the first failure recorded (success when
// there was none). Brackets nest; each api_bb_end closes the innermost one.
void api_bb_begin();
outcome api_bb_end();
