// Results of kernel calls: every api_* function returns an outcome carrying an error number.
#pragma once

#include <orik/OrikTypes.h>

// Error numbers the kernel returns. 0 is success, 1 a warning, 2 "no entities"; every other
// number is an error. find_err_mess() has a text for each of them.
enum OrikErrorNumber {
    ORIK_OK = 0,
    ORIK_WARNING = 1,
    ORIK_NO_ENTITIES = 2,
    ORIK_NOT_RUNNING = 3,        // the modeller is stopped
    ORIK_NULL_ENTITY = 4,        // a required entity or object is null
    ORIK_WRONG_ENTITY_TYPE = 5,  // the entity is of a type the call does not accept
    ORIK_ONE_SIDED_SHEETS = 6,   // open body in mass properties
    ORIK_MODELLING_FAILURE = 7,  // the geometry engine raised a failure
    ORIK_SIGNAL_CAUGHT = 8,      // a fatal signal was caught inside a call
    ORIK_OUT_OF_MEMORY = 9,
    ORIK_BAD_ARGUMENT = 10,   // a value out of range
    ORIK_NOT_TOP_LEVEL = 11,  // the entity belongs to another entity
    ORIK_UNKNOWN_OPTION = 12,
    ORIK_NO_GEOMETRY = 13,  // the entity has no geometry to work on
    ORIK_MESH_FAILED = 14,
    ORIK_MASS_PROPS_FAILED = 15,
    ORIK_UNEXPECTED = 16,         // any other failure trapped by a call's error frame
    ORIK_FILE_OPEN_FAILED = 17,   // kernel files: the file cannot be opened or created
    ORIK_FILE_DAMAGED = 18,       // kernel files: content is not a valid kernel file
    ORIK_FILE_WRITE_FAILED = 19,  // kernel files: writing failed
    ORIK_FILE_VERSION = 20,       // kernel files: written by a newer, unknown format version
    ORIK_NOT_INITIALIZED = 21,    // a terminate call without its initialize
    ORIK_FILE_NESTING = 22,       // kernel files: collections own themselves or nest too deep
};

// The result of a kernel call: its error number (0 = success). A plain value; copying and
// dropping an outcome has no effect on the kernel.
class outcome {
public:
    // A successful outcome, or one with the given error number.
    explicit outcome(int error_number = ORIK_OK) : number_(error_number) {}
    int error_number() const { return number_; }
    // True for success and warnings (numbers 0 and 1).
    logical ok() const { return number_ == ORIK_OK || number_ == ORIK_WARNING; }
    // Disposes of the outcome without looking at it (documents intent at the call site).
    void ignore() const {}

private:
    int number_;
};

// The kernel's narrow text for an error number: never null; "" for numbers the kernel never
// returns. The text of ORIK_ONE_SIDED_SHEETS is "body has 1-sided sheets; volume not calculated".
const char* find_err_mess(int error_number);
