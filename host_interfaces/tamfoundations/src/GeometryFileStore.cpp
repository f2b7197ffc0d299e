#include "GeometryFileStore.h"

#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

GeometryFileStore& GeometryFileStore::Instance() {
    static GeometryFileStore store;
    return store;
}

std::shared_ptr<CTamXmlParserNode> GeometryFileStore::RootOf(const std::wstring& fileName) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::shared_ptr<CTamXmlParserDocu>& document = m_files[fileName];
    if (!document) {
        document = std::make_shared<CTamXmlParserDocu>();
        document->initialize();
        document->setDeclarationNode();
        document->getRootNode()->AddNode(L"RvdGeometry")->AddAttribute(L"Version", L"1");
    }
    return document->getDocumentElement();
}

bool GeometryFileStore::WriteAll(const std::wstring& folder) {
    std::map<std::wstring, std::shared_ptr<CTamXmlParserDocu>> files;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        files.swap(m_files);
    }
    bool allWritten = true;
    for (const auto& [name, document] : files) {
        allWritten = document->save(JoinFolder(folder, name)) && allWritten;
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
