// A document taking part in a conversion: a file on disk, with an optional type tag and unit.
#pragma once

#include <kvxi/KVXIFile.h>
#include <kvxi/KVXIResult.h>

#include <string>

class KVXIDocument {
public:
    // Unit values for SetUnit; geometry reaches the target in this unit.
    enum Unit : int { Inch = 1, Foot = 2, Centimetre = 3, Millimetre = 4, Metre = 5 };

    // A file document for `file`; no type (found from content, then extension), millimetres.
    explicit KVXIDocument(const KVXIFile& file);
    // A file document for a UTF-8 narrow path.
    explicit KVXIDocument(const std::string& path);
    // A file document for a wide path (stored as UTF-8, back-slashes read as separators, see
    // KVXIFile).
    explicit KVXIDocument(const std::wstring& path);
    virtual ~KVXIDocument();

    KVXIDocument(const KVXIDocument&) = default;
    KVXIDocument& operator=(const KVXIDocument&) = default;

    // Sets the type tag ("Orik", "STEP", "IGES", "BREP", "EBOM" ...); null or "" clears it.
    // Any tag is stored; an unreadable or unwritable one fails later, in Convert.
    KVXIResult SetType(const char* type);
    // Sets the unit (see Unit); other values give InvalidArgument and keep the old unit.
    KVXIResult SetUnit(int unit);

    // The path as UTF-8 bytes; empty for in-memory documents.
    const std::string& GetPath() const { return m_path; }
    // The type tag, or "" when none was set.
    const std::string& GetType() const { return m_type; }
    // The unit value (Millimetre unless set).
    int GetUnit() const { return m_unit; }
    // True for kernel-entity documents (KVXIOrikDocument).
    virtual bool IsOrikDocument() const { return false; }

protected:
    // An in-memory document without a path.
    KVXIDocument();

private:
    std::string m_path;
    std::string m_type;
    int m_unit = Millimetre;
};
