// Import settings, callbacks, scene box and folders of the host registry.
#include <platform/CodePage.h>
#include <platform/WideFile.h>
#include <tamsgdb/sglModelLoader.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

bool sglModelLoader::m_sbCancelImport = false;
bool sglModelLoader::m_sbShowMessageNoEntities = false;
bool sglModelLoader::m_sbHealing = true;
bool sglModelLoader::m_sbImportPoints = true;
bool sglModelLoader::m_sbImportCurves = true;
bool sglModelLoader::m_sbImportFreeFaces = true;
bool sglModelLoader::m_sbImportNoShow = false;
bool sglModelLoader::m_sbImportNoPick = false;
bool sglModelLoader::m_sbMV4TranslateOnlyRootEntities = false;
bool sglModelLoader::m_sbImportAsBodies = false;
bool sglModelLoader::m_sbImportMetas = false;
bool sglModelLoader::m_sbImportMassProperties = false;
bool sglModelLoader::m_sbMergeFileInOneActor = false;
bool sglModelLoader::m_sbNodeFeatureName = false;
bool sglModelLoader::m_sbIsAssembly = false;
bool sglModelLoader::m_sbSaveInSameFolder = false;
bool sglModelLoader::m_sbFennelUseORIKmodeler = false;
unsigned int sglModelLoader::m_suiNbLOD = 1;
float sglModelLoader::m_fRefinement = 0.5f;
float sglModelLoader::m_fChordalErrorValue = 0.0f;
float sglModelLoader::m_fNormalDeviationValue = 0.0f;
float sglModelLoader::m_fEdgeLengthValue = 0.0f;
bool sglModelLoader::m_sbSetChordalError = false;
bool sglModelLoader::m_sbSetNormalDeviation = false;
bool sglModelLoader::m_sbSetEdgeLength = false;
unsigned int sglModelLoader::m_suiRefinementType = 0;
unsigned int sglModelLoader::m_suiRelativeRefinementFunction = 0;
unsigned int sglModelLoader::m_suiIdentType = 0;

void (*sglModelLoader::s_callbackLoadingError)(const wchar_t*, unsigned int) = nullptr;
void (*sglModelLoader::s_callbackProgress)(float, const wchar_t*) = nullptr;

namespace {

// The temporary work folder made on first use; removed at exit by the process that made it.
class DefaultWorkFolder {
public:
    ~DefaultWorkFolder() {
        if (m_path.empty() || m_owner != ::getpid())
            return;
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }

    std::wstring get() {
        if (m_path.empty())
            create();
        std::wstring wide;
        tam::Utf8ToWide(m_path, wide);
        return wide;
    }

private:
    void create() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tamcad-work-XXXXXX";
        if (::mkdtemp(&pattern[0]) == nullptr)
            return;
        m_path = pattern;
        m_owner = ::getpid();
    }

    std::string m_path;
    pid_t m_owner = 0;
};

struct HostState {
    std::mutex mutex;
    sglBoxBound sceneBox{sglVec3<float>(0, 0, 0), sglVec3<float>(0, 0, 0)};
    std::wstring workFolder;
    std::wstring saveFolder;
    std::wstring outputPath;
    std::wstring settingsPath;
    DefaultWorkFolder defaultWorkFolder;
};

HostState& State() {
    static HostState state;
    return state;
}

std::wstring WorkFolderLocked(HostState& state) {
    return state.workFolder.empty() ? state.defaultWorkFolder.get() : state.workFolder;
}

// Runs action on the host state under its lock and returns what the action returns.
template <typename Action>
auto Locked(Action action) {
    HostState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return action(state);
}

// Stores value into one member of the host state under its lock.
template <typename T>
void Store(T HostState::*member, const T& value) {
    Locked([member, &value](HostState& state) { state.*member = value; });
}

}  // namespace

void sglModelLoader::ResetSettings() {
    m_sbCancelImport = m_sbShowMessageNoEntities = false;
    m_sbHealing = m_sbImportPoints = m_sbImportCurves = m_sbImportFreeFaces = true;
    m_sbImportNoShow = m_sbImportNoPick = m_sbMV4TranslateOnlyRootEntities = false;
    m_sbImportAsBodies = m_sbImportMetas = m_sbImportMassProperties = false;
    m_sbMergeFileInOneActor = m_sbNodeFeatureName = m_sbIsAssembly = false;
    m_sbSaveInSameFolder = m_sbFennelUseORIKmodeler = false;
    m_suiNbLOD = 1;
    m_fRefinement = 0.5f;
    m_fChordalErrorValue = m_fNormalDeviationValue = m_fEdgeLengthValue = 0.0f;
    m_sbSetChordalError = m_sbSetNormalDeviation = m_sbSetEdgeLength = false;
    m_suiRefinementType = m_suiRelativeRefinementFunction = m_suiIdentType = 0;
    s_callbackLoadingError = nullptr;
    s_callbackProgress = nullptr;

    Locked([](HostState& state) {
        state.sceneBox = sglBoxBound(sglVec3<float>(0, 0, 0), sglVec3<float>(0, 0, 0));
        state.workFolder.clear();
        state.saveFolder.clear();
        state.outputPath.clear();
        state.settingsPath.clear();
    });
}

sglBoxBound sglModelLoader::GetBBox() {
    return Locked([](HostState& state) { return state.sceneBox; });
}

void sglModelLoader::SetBBox(const sglBoxBound& box) {
    Store(&HostState::sceneBox, box);
}

std::wstring sglModelLoader::GetPathFolderWork() {
    return Locked(WorkFolderLocked);
}

void sglModelLoader::SetPathFolderWork(const std::wstring& folder) {
    Store(&HostState::workFolder, folder);
}

std::wstring sglModelLoader::GetSaveFolder() {
    return Locked([](HostState& state) {
        return state.saveFolder.empty() ? WorkFolderLocked(state) : state.saveFolder;
    });
}

void sglModelLoader::SetSaveFolder(const std::wstring& folder) {
    Store(&HostState::saveFolder, folder);
}

std::wstring sglModelLoader::GetOutputRVDFilePath() {
    return Locked([](HostState& state) {
        if (!state.outputPath.empty())
            return state.outputPath;
        const std::wstring folder = WorkFolderLocked(state);
        return folder.empty() ? std::wstring() : folder + L"/output.rvdXml";
    });
}

void sglModelLoader::SetOutputRVDFilePath(const std::wstring& path) {
    Store(&HostState::outputPath, path);
}

std::wstring sglModelLoader::GetIOSettingsPath() {
    return Locked([](HostState& state) { return state.settingsPath; });
}

void sglModelLoader::SetIOSettingsPath(const std::wstring& path) {
    Store(&HostState::settingsPath, path);
}

void sglModelLoader::reportError(const std::wstring& text, unsigned int code) {
    if (s_callbackLoadingError)
        s_callbackLoadingError(text.c_str(), code);
}

void sglModelLoader::reportProgress(float fraction, const wchar_t* text) {
    if (s_callbackProgress)
        s_callbackProgress(fraction, text);
}
