// Host preferences read by importers at each use.
#pragma once

#include <string>

// Process-wide preferences of the host. Defaults: tessellation check off, ProE revision numbers
// kept, install folder = the folder holding the running program.
class CTamPreferences {
public:
    CTamPreferences() = default;

    // Remove tessellated triangles that lie outside their face's box.
    bool GetIOCheckTesselation() const { return m_checkTesselation; }
    void SetIOCheckTesselation(bool on) { m_checkTesselation = on; }
    // Strip revision numbers (".3") from ProE file names.
    bool GetIOProERemoveRevisionNumber() const { return m_removeRevisionNumber; }
    void SetIOProERemoveRevisionNumber(bool on) { m_removeRevisionNumber = on; }
    // Installation folder of the host; an empty setting restores the default.
    std::wstring GetPathFolderInstall() const;
    void SetPathFolderInstall(const std::wstring& folder) { m_installFolder = folder; }

    // Restores every default.
    void Reset();

private:
    bool m_checkTesselation = false;
    bool m_removeRevisionNumber = false;
    std::wstring m_installFolder;
};

// The host's preferences; never null, lives for the whole process.
CTamPreferences* GetTamPreferences();
