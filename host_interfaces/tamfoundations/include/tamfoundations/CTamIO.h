// The host's file, path, identifier and metadata rules.
#pragma once

#include <platform/CString.h>

#include <map>
#include <memory>

class CTamXmlParserNode;
class sglGroup;

// Text forms of CTamIO::CreateGuid(int).
enum TamGuidFormat : int {
    TAM_GUID_DIGITS = 0,   // 32 upper-case hexadecimal digits
    TAM_GUID_HYPHENS = 4,  // XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX
    TAM_GUID_BRACES = 8,   // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}; also any unknown value
};

// What a name-based identifier stands for (part of what it is formed from).
enum GUIDtypeNode : int { GUID_TYPE_NODE = 0, GUID_TYPE_REFERENCED_NODE = 1 };

// Static helpers. Paths use '\' or '/' as separators; the "file part" is the text after the last
// separator. An extension is the text after the last '.' of the file part. With the revision
// flag set, a ProE-style numeric revision ("bolt.prt.3") belongs to the extension ("prt.3").
class CTamIO {
public:
    // File part without its extension: "C:\a\bolt.prt.3" gives "bolt.prt" (flag clear) or
    // "bolt" (flag set).
    static CString GetFileBase(const CString& path, bool withRevision);
    // The extension as written (no dot, letter case kept); "" when the file part has no '.'.
    static CString GetFileExtension(const CString& path, bool withRevision);
    // The whole path without the extension and its dot; the path itself when it has none.
    static CString GetFileBasePath(const CString& path, bool withRevision);
    // The file part.
    static CString GetFile(const CString& path);
    // Extension of the host's native documents, "rvd" (lower case, no dot).
    static CString GetRVDExtension();

    // True when path names a regular file that can be opened for reading.
    static bool IsFile(const CString& path);
    // Copies source over target (replacing it); false when source cannot be read or target
    // cannot be written.
    static bool CopyFileW(const CString& source, const CString& target);

    // ProE documents: a file part "name.prt" or "name.asm" (extension in lower case), optionally
    // followed by "." and a numeric revision. IsProe is true for both kinds.
    static bool IsProe(const CString& path);
    static bool IsProePart(const CString& path);
    static bool IsProeAssembly(const CString& path);

    // A new random identifier in the given TamGuidFormat.
    static CString CreateGuid(int format);
    // An identifier formed from `name`, `type` (GUIDtypeNode) and an occurrence number, in the
    // TAM_GUID_BRACES form; the same inputs always give the same identifier. With index < 0 the
    // occurrence number is the count of earlier calls for `name` in `mapIdent`, which is then
    // increased, so siblings of one name get distinct identifiers; otherwise it is `index`
    // (the map is not touched).
    static CString CreateGuid(const CString& name, std::map<CString, unsigned int>& mapIdent,
                              int type, int index);

    // `name` as a metadata name: every character other than a letter, a digit, '_', '-', '.'
    // and the blank becomes `replacement`; leading and trailing blanks are removed.
    static CString ValidateMetaname(const CString& name, wchar_t replacement);

    // Writes the definitions of the group's metadata names into `metaProperties`: one
    // <MetaProperty Name="..." Type="String"/> per name not defined there yet. Returns how
    // many were added; 0 for a null group or an empty element.
    static unsigned int AddMetaPropertiesToXml(
        const sglGroup* group, const std::shared_ptr<CTamXmlParserNode>& metaProperties);
};
