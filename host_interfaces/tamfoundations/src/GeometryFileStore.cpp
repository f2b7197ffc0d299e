#include "GeometryFileStore.h"

#include "DrawableSharing.h"

#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

GeometryFileStore& GeometryFileStore::Instance() {
    static GeometryFileStore store;
    return store;
}

GeometryFileStore::SideDocument GeometryFileStore::Open(const std::wstring& fileName) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Pending& pending = m_files[fileName];
    if (!pending.document) {
        pending.document = std::make_shared<CTamXmlParserDocu>();
        pending.document->initialize();
        pending.document->setDeclarationNode();
        pending.document->getRootNode()->AddNode(L"RvdGeometry")->AddAttribute(L"Version", L"1");
        pending.drawables = std::make_shared<WrittenDrawables>();
    }
    return {pending.document->getDocumentElement(), pending.drawables.get()};
}

bool GeometryFileStore::WriteAll(const std::wstring& folder) {
    std::map<std::wstring, Pending> files;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        files.swap(m_files);
    }
    bool allWritten = true;
    for (const auto& [name, pending] : files) {
        allWritten = pending.document->save(JoinFolder(folder, name)) && allWritten;
    }
    return allWritten;
}

std::vector<std::wstring> GeometryFileStore::Names() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::wstring> names;
    for (const auto& entry : m_files) {
        names.push_back(entry.first);
    }
    return names;
}

void GeometryFileStore::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_files.clear();
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || name.find_first_of(L"\\/") != std::wstring::npos) {
        return name;
    }
    const wchar_t last = folder.back();
    return last == L'\\' || last == L'/' ? folder + name : folder + L"\\" + name;
}
