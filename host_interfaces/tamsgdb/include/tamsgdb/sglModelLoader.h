// Host loader registry: import settings, callbacks, folders and handlers by file extension.
#pragma once

#include <tamsg/sglBoxBound.h>

#include <functional>
#include <string>

// Static registry of the host. Settings are plain statics read by importers at the moment of use;
// ResetSettings() restores every documented default. Handlers are registered under lower-case
// extension keys (the key given is lower-cased). Nothing here throws: a handler that throws is
// treated as a failure and reported once through s_callbackLoadingError.
class sglModelLoader {
public:
    // Loads a model: (path, flags) -> a new CTamDBRoot* owned by the caller, or null.
    using ModelLoadHandler = std::function<void*(const std::wstring& path, unsigned int flags)>;
    // Loads kernel entities: (path, flags) -> a new ENTITY_LIST* owned by the caller, or null.
    using EntitiesLoadHandler = std::function<void*(const std::wstring& path, unsigned int flags)>;
    // Writes kernel entities (an ENTITY_LIST*, read only) to path; true on success.
    using WriteHandler = std::function<bool(const std::wstring& path, void* entities)>;

    // --- Import settings (defaults in brackets) ---
    static bool m_sbCancelImport;                  // [false] cancel long operations
    static bool m_sbShowMessageNoEntities;         // [false] report "no entities" as an error
    static bool m_sbHealing;                       // [true] translator healing
    static bool m_sbImportPoints;                  // [true] import free points
    static bool m_sbImportCurves;                  // [true] import free curves
    static bool m_sbImportFreeFaces;               // [true] import free faces
    static bool m_sbImportNoShow;                  // [false] import hidden entities
    static bool m_sbImportNoPick;                  // [false] import unpickable entities
    static bool m_sbMV4TranslateOnlyRootEntities;  // [false] translate root entities only
    static bool m_sbImportAsBodies;                // [false] one geode per body
    static bool m_sbImportMetas;                   // [false] collection and document metadata
    static bool m_sbImportMassProperties;          // [false] areas, volumes, inertia
    static bool m_sbMergeFileInOneActor;           // [false] merge a part into one actor
    static bool m_sbNodeFeatureName;               // [false] keep names after the first '|'
    static bool m_sbIsAssembly;                    // [false] assembly import in progress
    static bool m_sbSaveInSameFolder;              // [false] product XML beside the source
    static bool m_sbFennelUseORIKmodeler;          // [false] facet with version-pinned options
    static unsigned int m_suiNbLOD;                // [1] level-of-detail passes
    static float m_fRefinement;                    // [0.5] quality slider, 0 coarse .. 1 fine
    static float m_fChordalErrorValue;             // [0] explicit chordal error
    static float m_fNormalDeviationValue;          // [0] explicit normal deviation, degrees
    static float m_fEdgeLengthValue;               // [0] explicit maximum edge length
    static bool m_sbSetChordalError;               // [false] use m_fChordalErrorValue
    static bool m_sbSetNormalDeviation;            // [false] use m_fNormalDeviationValue
    static bool m_sbSetEdgeLength;                 // [false] use m_fEdgeLengthValue
    static unsigned int m_suiRefinementType;       // [0] 0 relative to model size, else explicit
    static unsigned int m_suiRelativeRefinementFunction;  // [0] 0 size-based, else angle-based
    static unsigned int m_suiIdentType;  // [0] 0 random identifiers, else from names

    // --- Callbacks (null: skipped) ---
    // Receives warning and error messages with a code (0, or 8 for the assembly fallback).
    static void (*s_callbackLoadingError)(const wchar_t* text, unsigned int code);
    // Receives progress as a fraction and an optional text (may be null).
    static void (*s_callbackProgress)(float fraction, const wchar_t* text);

    // Restores every setting above to its default and clears both callbacks; also restores the
    // scene box and the folder and path settings. Registered handlers stay.
    static void ResetSettings();

    // --- Host state ---
    // Bounds of the host's current scene; min == max == 0 until set.
    static sglBoxBound GetBBox();
    static void SetBBox(const sglBoxBound& box);
    // The host's work folder: by default a private temporary folder made on first use (and
    // removed at exit); empty if it cannot be made. SetPathFolderWork with "" restores the default.
    static std::wstring GetPathFolderWork();
    static void SetPathFolderWork(const std::wstring& folder);
    // Folder where documents are saved; defaults to the work folder.
    static std::wstring GetSaveFolder();
    static void SetSaveFolder(const std::wstring& folder);
    // Path of the host's output native document; defaults to "<work folder>/output.rvdXml".
    static std::wstring GetOutputRVDFilePath();
    static void SetOutputRVDFilePath(const std::wstring& path);
    // Path of the host's application settings file; empty (no file) by default.
    static std::wstring GetIOSettingsPath();
    static void SetIOSettingsPath(const std::wstring& path);

    // --- Registry ---
    // Registers (or replaces) the handler under the lower-cased key; an empty handler unregisters.
    static void registerModelLoader(const std::wstring& extension, ModelLoadHandler handler);
    static void registerEntitiesLoader(const std::wstring& extension, EntitiesLoadHandler handler);
    static void registerModelWriter(const std::wstring& extension, WriteHandler handler);
    // Removes every handler registered under the key; false when there was none.
    static bool unregisterExtension(const std::wstring& extension);
    // Removes every handler of every key.
    static void unregisterAll();
    // True when a handler of that kind is registered under the lower-cased key.
    static bool hasModelLoader(const std::wstring& extension);
    static bool hasEntitiesLoader(const std::wstring& extension);
    static bool hasModelWriter(const std::wstring& extension);

    // The registry key of a path: lower-cased text after its last '.', or the whole lower-cased
    // path when it has no '.'.
    static std::wstring extensionKey(const std::wstring& path);
    // Load with the handler of the path's key; null (and one message, code 0) when none.
    static void* loadModel(const std::wstring& path, unsigned int flags);
    static void* loadEntities(const std::wstring& path, unsigned int flags);
    // Load with the handler of the given key; null (and one message, code 0) when none.
    static void* loadModelFromExtension(const std::wstring& path, const std::wstring& extension,
                                        unsigned int flags);
    static void* loadEntitiesFromExtension(const std::wstring& path, const std::wstring& extension,
                                           unsigned int flags);
    // Write with the handler of the target's key; false (and one message, code 0) when none.
    static bool writeModel(const std::wstring& path, void* entities);

    // Sends text to s_callbackLoadingError when set.
    static void reportError(const std::wstring& text, unsigned int code = 0);
    // Sends progress to s_callbackProgress when set (text may be null).
    static void reportProgress(float fraction, const wchar_t* text);
};
