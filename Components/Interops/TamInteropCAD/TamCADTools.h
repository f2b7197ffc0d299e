// The library's toolbox: kernel start and stop, outcome reporting, translation and
// attribute extraction, all as static operations.
#pragma once

#include <kvxi/KVXIResult.h>
#include <orik/ENTITY.h>
#include <orik/ENTITY_LIST.h>
#include <orik/outcome.h>
#include <platform/CString.h>

#include <string>

#include "TamInteropCADExport.h"

// Toolbox class of the library. It holds no data; objects exist only because the class is
// exported whole. Every operation runs on the caller's thread and throws nothing.
class TAMINTEROPCAD_API CTamCADTools {
public:
    CTamCADTools();
    CTamCADTools(const CTamCADTools& other);
    // Copies nothing (there is nothing to copy) and returns this object.
    CTamCADTools& operator=(const CTamCADTools& other);
    virtual ~CTamCADTools();

    // A new empty entity list from the kernel's allocator; the caller owns it.
    static ENTITY_LIST* GetNewENTITY_LIST();
    // Has the kernel delete every entity of the list; the list object stays the caller's.
    // A null list is ignored.
    static void DeleteENTITY_LIST(ENTITY_LIST* list);

    // Starts the translator and the kernel and sets the kernel up (faceter, attributes,
    // default colour, file information). Failing steps are reported; start-up always completes.
    static void InitializeImport();
    // Stops the kernel and then the translator.
    static void TerminateImport();

    // Turns a kernel outcome into a host message (warnings and errors) and a verdict:
    // 1 to go on, 0 on failure.
    static int check_api_outcome(outcome result);
    // Turns a translator result into a host message (warnings and errors) and a verdict:
    // 1 to go on, 0 on failure.
    static int check_api_result(KVXIResult result);
    // 1 exactly when the outcome says "no entities" (error number 2); reports nothing.
    static int IsErrorNoEntities(outcome result);

    // Writes the text of the entity's named attribute into text (null-terminated, at most 511
    // characters) and returns true; false, text untouched, for a missing or valueless attribute.
    static bool Extract_named_attrib_from_entity(ENTITY* entity, const char* name, wchar_t* text);
    // Writes the entity's colour (0..1 per channel, inherited from its owners) into rgb;
    // always writes three values.
    static void Extract_color_from_entity(ENTITY* entity, double rgb[3]);
    // Reads "#rrggbb" or "#rgb" (text before the "#" ignored) into 0..255 components;
    // false, nothing written, for any other form.
    static bool LoadColor(CString text, int& red, int& green, int& blue);

    // Converts the CAD document at path, of translator type tag type (not null), into kernel
    // entities. Returns a new list owned by the caller, or null when cancelled or when the
    // translator hands out none. Failures are reported to the host once.
    static ENTITY_LIST* InitializeConnectEntityList(const wchar_t* path, const wchar_t* type);
    // Has the translator write the assembly at path as EBOM XML ("assembly.xml" in the host's
    // work folder) with its part files, and sets xmlPath to it. mirexV4 forces the MIREXV4
    // options. Does nothing, xmlPath untouched, when cancelled.
    static void InitializeConnectXml(const wchar_t* path, std::wstring& xmlPath,
                                     const wchar_t* type, bool mirexV4);
    // Writes the entities (read, not changed) to the file at targetPath, in the format the
    // path implies. The result is returned, not reported.
    static KVXIResult WriteFile(const wchar_t* targetPath, ENTITY_LIST* entities);
    // Converts the file at sourcePath into the file at targetPath; visualization asks for a
    // visualization representation. The result is returned, not reported.
    static KVXIResult WriteFile(const wchar_t* sourcePath, const wchar_t* targetPath,
                                bool visualization);

private:
    // Translator progress hook: forwards the fraction to the host and hands back its cancel flag.
    static void ProgressCallBack(double fraction, bool& cancel);
};
