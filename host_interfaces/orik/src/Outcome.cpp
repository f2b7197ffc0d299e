// Texts of the kernel's error numbers.
#include <orik/orik_exception.h>
#include <orik/outcome.h>

namespace {

struct ErrorText {
    int number;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {ORIK_OK, "success"},
    {ORIK_WARNING, "warning"},
    {ORIK_NO_ENTITIES, "no entities"},
    {ORIK_NOT_RUNNING, "modeller not started"},
    {ORIK_NULL_ENTITY, "null entity or object given"},
    {ORIK_WRONG_ENTITY_TYPE, "entity of the wrong type for this operation"},
    {ORIK_ONE_SIDED_SHEETS, "body has 1-sided sheets; volume not calculated"},
    {ORIK_MODELLING_FAILURE, "geometry engine failure"},
    {ORIK_SIGNAL_CAUGHT, "fatal signal caught inside the modeller"},
    {ORIK_OUT_OF_MEMORY, "out of memory"},
    {ORIK_BAD_ARGUMENT, "argument out of range"},
    {ORIK_NOT_TOP_LEVEL, "entity belongs to another entity"},
    {ORIK_UNKNOWN_OPTION, "unknown option"},
    {ORIK_NO_GEOMETRY, "entity has no geometry"},
    {ORIK_MESH_FAILED, "faceting failed"},
    {ORIK_MASS_PROPS_FAILED, "mass properties could not be calculated"},
    {ORIK_UNEXPECTED, "unexpected failure inside the modeller"},
    {ORIK_FILE_OPEN_FAILED, "cannot open file"},
    {ORIK_FILE_DAMAGED, "file is damaged or not a modeller file"},
    {ORIK_FILE_WRITE_FAILED, "cannot write file"},
    {ORIK_FILE_VERSION, "file written by a newer modeller version"},
    {ORIK_NOT_INITIALIZED, "component not initialized"},
    {ORIK_FILE_NESTING, "collections in the file own themselves or nest deeper than 1000 levels"},
};

}  // namespace

const char* find_err_mess(int error_number) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.number == error_number)
            return entry.text;
    }
    return "";
}

const char* orik_exception::what() const noexcept {
    return find_err_mess(number_);
}
