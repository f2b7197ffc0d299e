// Product XML read back: instances that refer to another product XML ("IsInstanceOf") get that
// document's assembly as content; missing or damaged files and cycles leave a branch empty.
#include <tamfoundations/CTamProductXmlReader.h>

#include "ProductXmlReferencedDocument.h"

#include <platform/WideFile.h>
#include <tamsg/sglGroup.h>
#include <tamtools/CTamURI.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <filesystem>
#include <system_error>

namespace {

bool IsAbsolute(const std::wstring& path) {
    return (!path.empty() && (path[0] == L'/' || path[0] == L'\\')) ||
           (path.size() > 1 && path[1] == L':');
}

// The referenced file: relative to the referring file's folder unless absolute.
std::wstring ResolveReference(const std::wstring& folder, const std::wstring& reference) {
    if (folder.empty() || IsAbsolute(reference))
        return reference;
    return folder + L"\\" + reference;
}

}  // namespace

std::wstring CTamProductXmlReader::DocumentKey(const std::wstring& path) {
    const std::filesystem::path native(tam::NativePath(path));
    std::error_code error;
    std::filesystem::path key = std::filesystem::weakly_canonical(native, error);
    if (error)
        key = native.lexically_normal();
    // A key only has to tell files apart: keep its bytes, one per character.
    const std::string bytes = key.string();
    std::wstring wide;
    for (const char c : bytes)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

void CTamProductXmlReader::ReadReferencedDocument(const CTamXmlParserNode& element,
                                                  sglGroup& instance, unsigned int depth) {
    const std::wstring reference = element.GetAttributeValue(L"IsInstanceOf");
    const std::wstring path = ResolveReference(m_folder, reference);
    const std::wstring key = DocumentKey(path);
    for (const std::wstring& open : m_openDocuments) {
        if (open != key)
            continue;
        ++m_unfollowedReferences;
        m_warnings.push_back(L"reference cycle: instance '" + instance.getName() +
                             L"' refers to '" + reference +
                             L"', which is already being read; not followed");
        return;
    }
    std::unique_ptr<ReferencedDocument>& document = m_referencedDocuments[key];
    if (!document) {
        document = std::make_unique<ReferencedDocument>();
        std::wstring reason;
        m_openDocuments.push_back(key);
        document->root = ReadReferencedRoot(path, depth, reason);
        m_openDocuments.pop_back();
        if (document->root != nullptr)
            document->root->ref();
        else
            m_warnings.push_back(L"referenced product XML '" + path + L"' (instance '" +
                                 instance.getName() + L"'): " + reason +
                                 L"; its instances stay empty");
    }
    if (document->root == nullptr) {
        ++m_unfollowedReferences;
        return;
    }
    // The referenced tree is shared by every instance of the file.
    for (unsigned int i = 0; i < document->root->getNumChildren(); ++i)
        instance.addChild(document->root->getChild(i), true);
    ++m_followedReferences;
}

sglGroup* CTamProductXmlReader::ReadReferencedRoot(const std::wstring& path, unsigned int depth,
                                                   std::wstring& reason) {
    // The referring file's error state and folder come back once this file is read.
    const std::wstring referringFolder = m_folder;
    const std::wstring referringError = m_error;
    m_error.clear();
    sglGroup* root = nullptr;
    CTamXmlParserDocu document;
    if (!document.load(path)) {
        Fail(L"cannot be read: " + document.getLastError());
    } else {
        m_folder = CTamURI(path).GetFolder(false);
        const NodePtr rootElement = FindAssemblyRoot(document);
        if (rootElement)
            root = ReadRoot(*rootElement, depth);
    }
    reason = m_error;
    m_error = referringError;
    m_folder = referringFolder;
    return root;
}
