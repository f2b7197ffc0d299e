// Helpers shared by the two assembly parsers: first-line stripping, Position reading and the
// part maps of References and Documents.
#include "AssemblyXmlPrivate.h"

#include "io_tools.h"
#include "meta_collector.h"

#include <platform/WideFile.h>
#include <tamfoundations/CTamIO.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserNode.h>

#include <array>
#include <cstdio>

namespace tam_assembly {

namespace {

constexpr std::size_t kCopyBlockBytes = 1024;

// Closes the stream on every path out of a function.
struct FileCloser {
    FILE* file;
    ~FileCloser() {
        if (file != nullptr)
            std::fclose(file);
    }
};

// Reads from `in` up to and including the first little-endian 0x000A code unit and writes what
// follows it in that block to `out`. False when the file ends before such a code unit.
bool SkipFirstLine(FILE* in, FILE* out) {
    std::array<unsigned char, kCopyBlockBytes> block{};
    while (true) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), in);
        // Blocks hold an even number of bytes except the last, so code units stay aligned.
        for (std::size_t i = 0; i + 1 < got; i += 2) {
            if (block[i] == 0x0A && block[i + 1] == 0x00) {
                const std::size_t rest = got - (i + 2);
                return rest == 0 || std::fwrite(block.data() + i + 2, 1, rest, out) == rest;
            }
        }
        if (got < block.size())
            return false;
    }
}

// Copies the rest of `in` to `out` in blocks; false on a write error.
bool CopyRest(FILE* in, FILE* out) {
    std::array<unsigned char, kCopyBlockBytes> block{};
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), in)) > 0) {
        if (std::fwrite(block.data(), 1, got, out) != got)
            return false;
    }
    return std::ferror(in) == 0;
}

}  // namespace

void DeleteFirstLine(const std::wstring& path) {
    const std::wstring workFolder = sglModelLoader::GetPathFolderWork();
    if (workFolder.empty())
        return;
    const std::wstring scratch = workFolder + L"\\tmp.xml";
    bool copied = false;
    {
        FileCloser in{_wfopen(path.c_str(), L"rb")};
        if (in.file == nullptr)
            return;
        FileCloser out{_wfopen(scratch.c_str(), L"wb")};
        if (out.file == nullptr)
            return;
        copied = SkipFirstLine(in.file, out.file) && CopyRest(in.file, out.file);
        copied = std::fclose(out.file) == 0 && copied;
        out.file = nullptr;
    }
    if (copied)
        CTamIO::CopyFileW(CString(scratch), CString(path));
}

bool ReadPosition(const std::shared_ptr<CTamXmlParserNode>& position, sglMat4<float>& out) {
    // c1..c12 as the identity has them: unit axes, no translation.
    std::array<float, 12> c{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    if (position) {
        std::size_t k = 0;
        for (const auto& child : position->getChildNodes()) {
            if (k == c.size())
                break;
            std::wstring text;
            if (!child->getTextUpTo(kMaxPositionTextLength, text))
                return false;
            c[k++] = CTamIOTools::TamAtof(text);
        }
    }
    const float m[16] = {c[0], c[1], c[2], 0.0f, c[3], c[4],  c[5],  0.0f,
                         c[6], c[7], c[8], 0.0f, c[9], c[10], c[11], 1.0f};
    out = sglMat4<float>(m);
    return true;
}

std::shared_ptr<CTamXmlParserNode> FindStructure(
    const std::shared_ptr<CTamXmlParserNode>& documentElement, std::wstring* assemblyPath) {
    if (!documentElement || documentElement->isEmpty())
        return nullptr;
    const auto entries = documentElement->getChildNodes();
    if (entries.empty())
        return nullptr;
    const auto structure = entries.front()->GetNodeByTag(L"Exposition")->GetNodeByTag(L"Structure");
    if (structure->isEmpty())
        return nullptr;
    if (assemblyPath != nullptr)
        *assemblyPath = entries.front()->GetAttributeValue(L"FilePath");
    return structure;
}

bool ReadStructure(const std::shared_ptr<CTamXmlParserNode>& documentElement,
                   std::wstring& assemblyPath, XmlNodes& references, XmlNodes& instances) {
    const auto structure = FindStructure(documentElement, &assemblyPath);
    if (structure == nullptr)
        return false;
    const auto root = structure->GetNodeByTag(L"Root");
    if (root->isEmpty())
        return false;
    references = structure->GetNodesByTag(L"Reference");
    if (references.empty())
        return false;
    instances = root->getChildNodes();
    return !instances.empty();
}

std::map<std::wstring, std::wstring> ReferenceShapes(const XmlNodes& references) {
    std::map<std::wstring, std::wstring> shapes;
    for (const auto& reference : references) {
        const auto shape = reference->GetNodeByTag(L"Rep")->GetNodeByTag(L"Shape");
        if (!shape->isEmpty())
            shapes[reference->GetAttributeValue(L"Identifier")] = shape->GetAttributeValue(L"Id");
    }
    return shapes;
}

std::map<std::wstring, std::wstring> DocumentPaths(const XmlNodes& documents,
                                                   const std::wstring& assemblyPath,
                                                   CTamMetaCollector* meta) {
    std::map<std::wstring, std::wstring> paths;
    for (const auto& document : documents) {
        if (sglModelLoader::m_sbImportMetas && meta != nullptr) {
            const auto attribute = document->GetNodeByTag(L"UserDefinedAttributes")
                                       ->GetNodeByTag(L"UserDefinedAttribute");
            if (!attribute->isEmpty())
                meta->AddUserDefinedAttribute(attribute);
        }
        if (document->GetAttributeValue(L"Type") == L"okt")
            continue;
        std::wstring path = document->GetAttributeValue(L"FilePath");
        if (path.empty())
            path = document->GetAttributeValue(L"Identifier");
        if (!path.empty() && path != assemblyPath)
            paths[document->GetAttributeValue(L"Name")] = path;
    }
    return paths;
}

}  // namespace tam_assembly
