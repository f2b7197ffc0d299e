// Test support for CTamEBOMParser: EBOM texts written by hand (UTF-16 with the declaration
// alone on the first line, as the translator writes them), kernel part files written at test
// time, and a fixture with a running kernel, a private work folder and the kernel-file loaders
// registered in the host registry.
#pragma once

#include <gtest/gtest.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/ebom_parser.h>
#include <TamInteropCAD/exports.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "loader_test_support.h"
#include "scratch_folder.h"

namespace tamtest {

namespace fs = std::filesystem;

using RootPtr = std::unique_ptr<CTamDBRoot>;

// A Position element: the identity's axes and the translation (x, y, z).
inline std::wstring Position(float x, float y, float z) {
    std::wstring text = L"<Position>";
    for (float c : {1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, x, y, z})
        text += L"<C>" + std::to_wstring(c) + L"</C>";
    return text + L"</Position>";
}

// A Position element from its number texts as written.
inline std::wstring PositionOf(const std::vector<std::wstring>& numbers) {
    std::wstring text = L"<Position>";
    for (const auto& number : numbers)
        text += L"<C>" + number + L"</C>";
    return text + L"</Position>";
}

// An instance element (tag "Instance" under Root, "Child" below) with its RefLink and children.
inline std::wstring Instance(const std::wstring& tag, const std::wstring& name,
                             const std::wstring& refLink, const std::wstring& position,
                             const std::wstring& children = L"",
                             const std::wstring& extraAttributes = L"") {
    return L"<" + tag + L" Name=\"" + name + L"\"" + extraAttributes + L">" + position +
           L"<RefLink Id=\"" + refLink + L"\"/>" + children + L"</" + tag + L">";
}
inline std::wstring Top(const std::wstring& name, const std::wstring& refLink,
                        const std::wstring& position, const std::wstring& children = L"",
                        const std::wstring& extra = L"") {
    return Instance(L"Instance", name, refLink, position, children, extra);
}
inline std::wstring Child(const std::wstring& name, const std::wstring& refLink,
                          const std::wstring& position, const std::wstring& children = L"",
                          const std::wstring& extra = L"") {
    return Instance(L"Child", name, refLink, position, children, extra);
}

inline std::wstring Reference(const std::wstring& identifier, const std::wstring& shapeId) {
    return L"<Reference Identifier=\"" + identifier + L"\"><Rep><Shape Id=\"" + shapeId +
           L"\"/></Rep></Reference>";
}

// A Document entry; `inner` holds IssuedFrom or UserDefinedAttributes elements.
inline std::wstring Document(const std::wstring& type, const std::wstring& name,
                             const std::wstring& filePath, const std::wstring& inner = L"") {
    return L"<Document Type=\"" + type + L"\" Name=\"" + name + L"\" FilePath=\"" + filePath +
           L"\">" + inner + L"</Document>";
}

// The whole EBOM: the assembly entry (its Root with the instances, then the References),
// followed by the part documents.
inline std::wstring Ebom(const std::wstring& instances, const std::wstring& references,
                         const std::wstring& documents, const std::wstring& rootName = L"Asm") {
    return L"<EBOM><Document Type=\"Assembly\" Name=\"asm\" FilePath=\"/src/asm.stp\">"
           L"<Exposition><Structure><Root Name=\"" +
           rootName + L"\">" + instances + L"</Root>" + references +
           L"</Structure></Exposition></Document>" + documents + L"</EBOM>";
}

// Writes text as UTF-16 LE with byte-order mark, the XML declaration alone on the first line.
inline void WriteUtf16(const std::wstring& path, const std::wstring& body,
                       bool withDeclaration = true) {
    const std::wstring text =
        (withDeclaration ? L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" : L"") + body;
    std::ofstream out(fs::path(path), std::ios::binary);
    out.put(static_cast<char>(0xFF));
    out.put(static_cast<char>(0xFE));
    for (wchar_t ch : text) {
        out.put(static_cast<char>(ch & 0xFF));
        out.put(static_cast<char>((ch >> 8) & 0xFF));
    }
}

// Every node below (and including) node of the given kind, depth first.
template <class T>
void Collect(sglNode* node, std::vector<T*>& found) {
    if (auto* hit = dynamic_cast<T*>(node))
        found.push_back(hit);
    if (auto* group = dynamic_cast<sglGroup*>(node)) {
        for (unsigned int i = 0; i < group->getNumChildren(); ++i)
            Collect(group->getChild(i), found);
    }
}

// Transforms below node that hold a placed part (a first child that is no transform).
inline size_t LeafTransforms(sglNode* node) {
    std::vector<sglTransform<float>*> transforms;
    Collect(node, transforms);
    size_t leaves = 0;
    for (const auto* transform : transforms) {
        if (transform->getNumChildren() > 0 &&
            dynamic_cast<sglTransform<float>*>(transform->getChild(0)) == nullptr)
            ++leaves;
    }
    return leaves;
}

// Distinct triangle strip sets below node: every face faceting makes its own, and clones share
// them, so this counts the faces the kernel was asked to facet.
inline size_t DistinctStripSets(sglNode* node) {
    std::vector<sglGeode*> geodes;
    Collect(node, geodes);
    std::set<const sglGeoSet*> sets;
    for (sglGeode* geode : geodes) {
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i)
            sets.insert(geode->getGeometry(i));
    }
    return sets.size();
}

// The child elements of element named tag, in order.
inline std::vector<std::shared_ptr<CTamXmlParserNode>> Elements(
    const std::shared_ptr<CTamXmlParserNode>& element, const std::wstring& tag) {
    const auto list = element->GetNodesByTag(tag);
    return {list.begin(), list.end()};
}

// Assembly-import tests: a running kernel, default host settings with recording callbacks,
// the host's work folder in a private scratch folder, and the kernel-file entity loaders
// registered as a host application registers them.
class EbomTest : public RunningKernelTest {
protected:
    void SetUp() override {
        RunningKernelTest::SetUp();
        sglModelLoader::SetPathFolderWork(m_scratch.folder());
        for (const wchar_t* key : {L"okt", L"okb"}) {
            sglModelLoader::registerEntitiesLoader(
                key, [](const std::wstring& path, unsigned int) -> void* {
                    LoadedPaths().push_back(path);
                    return loadEntitiesOKT(path);
                });
        }
        LoadedPaths().clear();
    }
    void TearDown() override {
        sglModelLoader::unregisterAll();
        sglModelLoader::SetPathFolderWork(L"");
        RunningKernelTest::TearDown();
    }

    // Paths the registry's kernel-file entity loaders were called with, in order.
    static std::vector<std::wstring>& LoadedPaths() {
        static std::vector<std::wstring> paths;
        return paths;
    }

    std::wstring File(const std::string& name) const { return m_scratch.file(name); }

    // Writes a part file holding one box body of the given size, named name.
    std::wstring WritePart(const std::string& fileName, double size,
                           const wchar_t* name = L"Part") const {
        BODY* body = BoxBody(size, size, size);
        Name(body, name);
        ENTITY_LIST list;
        list.add(body);
        const std::wstring path = File(fileName);
        EXPECT_TRUE(writeModelOKT(path, &list));
        api_del_entity_list(list).ignore();
        return path;
    }

    // Writes the EBOM text as "assembly.xml" and returns its path.
    std::wstring WriteEbom(const std::wstring& body) const {
        const std::wstring path = File("assembly.xml");
        WriteUtf16(path, body);
        return path;
    }

    // Parses the EBOM with the test's loader and the given settings.
    template <class Configure>
    RootPtr ParseEbom(const std::wstring& ebomPath, Configure configure) {
        CTamEBOMParser parser(ebomPath.c_str(), L"/src/asm.stp", &loader);
        configure(parser);
        return RootPtr(parser.Parse());
    }
    RootPtr ParseEbom(const std::wstring& ebomPath) {
        return ParseEbom(ebomPath, [](CTamEBOMParser&) {});
    }

    ScratchFolder m_scratch;
    CTamCADLoader loader;
};

}  // namespace tamtest
