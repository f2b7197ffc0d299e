// Native documents that refer to a 2D drawing file.
#include <platform/CodePage.h>
#include <platform/WideFile.h>
#include <tamkernel/CTam2DManager.h>
#include <tamkernel/CTamProduct.h>

#include <string>

namespace {

// Text escaped for an XML attribute value.
std::wstring EscapeXml(const std::wstring& text) {
    std::wstring out;
    for (wchar_t ch : text) {
        const wchar_t* entity = ch == L'&'   ? L"&amp;"
                                : ch == L'<' ? L"&lt;"
                                : ch == L'>' ? L"&gt;"
                                : ch == L'"' ? L"&quot;"
                                             : nullptr;
        if (entity != nullptr)
            out += entity;
        else
            out.push_back(ch);
    }
    return out;
}

// The file name after the last '/' or '\'.
std::wstring FileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool CTam2DManager::WriteRVD(const CString& source, const CString& target, const CString& title) {
    const std::wstring sourcePath = source.str();
    if (target.IsEmpty() || !tam::IsRegularFile(sourcePath))
        return false;
    const std::wstring name = title.IsEmpty() ? FileName(sourcePath) : title.str();
    const std::wstring xml =
        L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        L"<DocumentRVD Version=\"7.900000\" VersionVeltrix=\"" +
        EscapeXml(GetTamProduct()->GetVersion()) + L"\">\n  <Document2D Name=\"" + EscapeXml(name) +
        L"\" File=\"" + EscapeXml(sourcePath) + L"\"/>\n</DocumentRVD>\n";
    std::string utf8;
    return tam::WideToUtf8(xml, utf8) && tam::WriteFileBytes(target.str(), utf8);
}
