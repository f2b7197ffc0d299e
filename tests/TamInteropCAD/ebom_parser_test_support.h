// Test support for CTamEBOMParser: EBOM texts written by hand (UTF-16, the declaration alone on
// the first line, as the translator writes them), kernel part files written at test time, and a
// fixture with a running kernel, a private work folder and the kernel-file loaders registered.
#pragma once

#include <tamsgdb/CTamDBRoot.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <TamInteropCAD/ebom_parser.h>
#include <TamInteropCAD/exports.h>

#include <fstream>
#include <set>

#include "loader_test_support.h"
#include "scratch_folder.h"

namespace tamtest {

namespace fs = std::filesystem;
using RootPtr = std::unique_ptr<CTamDBRoot>;
using Texts = std::vector<std::wstring>;

// A Position element from its number texts, or with the identity's axes and a translation.
inline std::wstring PositionOf(const Texts& numbers) {
    std::wstring text = L"<Position>";
    for (const auto& number : numbers)
        text += L"<C>" + number + L"</C>";
    return text + L"</Position>";
}
inline std::wstring Position(float x, float y, float z) {
    return PositionOf({L"1", L"0", L"0", L"0", L"1", L"0", L"0", L"0", L"1", std::to_wstring(x),
                       std::to_wstring(y), std::to_wstring(z)});
}

// An instance under Root (Top) or below another instance (Child).
inline std::wstring Instance(const wchar_t* tag, const std::wstring& name, const std::wstring& id,
                             const std::wstring& position, const std::wstring& children,
                             const std::wstring& extra) {
    return std::wstring(L"<") + tag + L" Name=\"" + name + L"\"" + extra + L">" + position +
           L"<RefLink Id=\"" + id + L"\"/>" + children + L"</" + tag + L">";
}
inline std::wstring Top(const std::wstring& name, const std::wstring& id, const std::wstring& pos,
                        const std::wstring& children = L"", const std::wstring& extra = L"") {
    return Instance(L"Instance", name, id, pos, children, extra);
}
inline std::wstring Child(const std::wstring& name, const std::wstring& id, const std::wstring& pos,
                          const std::wstring& children = L"", const std::wstring& extra = L"") {
    return Instance(L"Child", name, id, pos, children, extra);
}
inline std::wstring Reference(const std::wstring& identifier, const std::wstring& shapeId) {
    return L"<Reference Identifier=\"" + identifier + L"\"><Rep><Shape Id=\"" + shapeId +
           L"\"/></Rep></Reference>";
}
inline std::wstring Document(const std::wstring& type, const std::wstring& name,
                             const std::wstring& filePath, const std::wstring& inner = L"") {
    return L"<Document Type=\"" + type + L"\" Name=\"" + name + L"\" FilePath=\"" + filePath +
           L"\">" + inner + L"</Document>";
}
// The assembly entry (Root with the instances, then the References), then the part documents.
inline std::wstring Ebom(const std::wstring& instances, const std::wstring& references,
                         const std::wstring& documents) {
    return L"<EBOM><Document Type=\"Assembly\" Name=\"asm\" FilePath=\"/src/asm.stp\"><Exposition>"
           L"<Structure><Root Name=\"Asm\">" +
           instances + L"</Root>" + references + L"</Structure></Exposition></Document>" +
           documents + L"</EBOM>";
}

// Writes UTF-16 LE with byte-order mark, the XML declaration alone on the first line.
inline void WriteUtf16(const std::wstring& path, const std::wstring& body, bool declared = true) {
    const std::wstring text =
        (declared ? L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" : L"") + body;
    std::ofstream out(fs::path(path), std::ios::binary);
    out.write("\xFF\xFE", 2);
    for (wchar_t ch : text)
        out.put(static_cast<char>(ch & 0xFF)).put(static_cast<char>((ch >> 8) & 0xFF));
}

// Transforms below node that place a part (a first child that is no transform).
inline size_t LeafTransforms(sglNode* node) {
    std::vector<sglTransform<float>*> transforms;
    Collect(node, transforms);
    size_t leaves = 0;
    for (const auto* transform : transforms)
        leaves += transform->getNumChildren() > 0 &&
                  dynamic_cast<sglTransform<float>*>(transform->getChild(0)) == nullptr;
    return leaves;
}

// Distinct triangle strip sets below node: each face faceting makes one and clones share them.
inline size_t DistinctStripSets(sglNode* node) {
    std::set<const sglGeoSet*> sets;
    for (sglGeode* geode : Geodes(node)) {
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i)
            sets.insert(geode->getGeometry(i));
    }
    return sets.size();
}

// A running kernel, default host settings with recording callbacks, the host's work folder in a
// scratch folder, and the kernel-file entity loaders registered (recording the paths asked for).
class EbomTest : public RunningKernelTest {
protected:
    void SetUp() override {
        RunningKernelTest::SetUp();
        sglModelLoader::SetPathFolderWork(m_scratch.folder());
        for (const wchar_t* key : {L"okt", L"okb"}) {
            sglModelLoader::registerEntitiesLoader(key, [](const std::wstring& path, unsigned int) {
                LoadedPaths().push_back(path);
                return static_cast<void*>(loadEntitiesOKT(path));
            });
        }
        LoadedPaths().clear();
    }
    void TearDown() override {
        sglModelLoader::unregisterAll();
        sglModelLoader::SetPathFolderWork(L"");
        RunningKernelTest::TearDown();
    }
    static Texts& LoadedPaths() {
        static Texts paths;
        return paths;
    }
    std::wstring File(const std::string& name) const { return m_scratch.file(name); }

    // A part file holding one named cube of the given size.
    std::wstring WritePart(const std::string& fileName, double size) const {
        ENTITY_LIST list;
        list.add(BoxBody(size, size, size));
        Name(list[0], L"Part");
        const std::wstring path = File(fileName);
        EXPECT_TRUE(writeModelOKT(path, &list));
        api_del_entity_list(list).ignore();
        return path;
    }
    std::wstring WriteEbom(const std::wstring& body) const {
        WriteUtf16(File("assembly.xml"), body);
        return File("assembly.xml");
    }
    RootPtr ParseEbom(const std::wstring& ebom,
                      const std::function<void(CTamEBOMParser&)>& configure = nullptr) {
        CTamEBOMParser parser(ebom.c_str(), L"/src/asm.stp", &loader);
        if (configure)
            configure(parser);
        return RootPtr(parser.Parse());
    }
    // The EBOM placing the part file `part` (document and reference p) by the instances.
    std::wstring PartEbom(const std::wstring& instances, const std::wstring& part) {
        return WriteEbom(Ebom(instances, Reference(L"p", part), Document(L"okt", L"p", part)));
    }

    ScratchFolder m_scratch;
    CTamCADLoader loader;
};

}  // namespace tamtest
