// The host log: indented lines in memory, optionally appended to a UTF-8 file.
#include <platform/CodePage.h>
#include <platform/WideFile.h>
#include <tamsgdb/CTamLog.h>

#include <cstdio>
#include <ctime>

CTamLog gTamLog;

namespace {

// Lines kept in memory; older ones are dropped so a long-running host does not grow forever.
constexpr size_t kMaxLines = 10000;

std::wstring TimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    wchar_t text[16];
    std::swprintf(text, 16, L"%02d:%02d:%02d ", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

}  // namespace

void CTamLog::BeginBlock(const std::wstring& function, const std::wstring& source, int line,
                         const std::wstring& kind) {
    std::lock_guard<std::mutex> lock(m_mutex);
    AddLine(L"> " + function + L" [" + source + L":" + std::to_wstring(line) + L"] " + kind, false);
    ++m_depth;
}

void CTamLog::WriteInfos(const std::wstring& text, bool withTime, bool isError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    AddLine(isError ? L"ERROR: " + text : text, withTime);
}

void CTamLog::EndBlock(const std::wstring& function, const std::wstring& source, int line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_depth > 0)
        --m_depth;
    AddLine(L"< " + function + L" [" + source + L":" + std::to_wstring(line) + L"]", false);
}

std::vector<std::wstring> CTamLog::GetLines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<std::wstring>(m_lines.begin(), m_lines.end());
}

void CTamLog::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
    m_depth = 0;
}

unsigned int CTamLog::GetDepth() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_depth;
}

bool CTamLog::SetFile(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_filePath.clear();
    if (path.empty())
        return true;
    FILE* file = _wfopen(path.c_str(), L"ab");
    if (file == nullptr)
        return false;
    std::fclose(file);
    m_filePath = path;
    return true;
}

void CTamLog::AddLine(const std::wstring& text, bool withTime) {
    const std::wstring line = std::wstring(2 * m_depth, L' ') + text;
    if (m_lines.size() >= kMaxLines)
        m_lines.pop_front();
    m_lines.push_back(line);
    if (m_filePath.empty())
        return;
    std::string utf8;
    // A line that cannot be encoded is left out of the file rather than written half.
    if (!tam::WideToUtf8((withTime ? TimeOfDay() : std::wstring()) + line + L"\n", utf8))
        return;
    if (FILE* file = _wfopen(m_filePath.c_str(), L"ab")) {
        std::fwrite(utf8.data(), 1, utf8.size(), file);
        std::fclose(file);
    }
}
