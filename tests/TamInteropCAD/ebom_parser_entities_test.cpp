// CTamEBOMParser's part entities: which document entries load which file under the settings,
// path resolution, the part key, and the kernel part files deleted after loading.
#include "ebom_parser_test_support.h"

#include <TamInteropCAD/io_tools.h>

#include <functional>

namespace {

using namespace tamtest;

std::wstring IssuedFrom(const std::wstring& linkPath, const std::wstring& linkType) {
    return L"<IssuedFrom><DocLink Id=\"" + linkPath + L"\" Type=\"" + linkType +
           L"\"/></IssuedFrom>";
}

struct EntitiesCase {
    const char* what;
    // The part documents, given the scratch paths of own.okt and link.okt.
    std::function<std::wstring(const std::wstring& own, const std::wstring& link)> documents;
    // Settings; null sets the current folder to the scratch folder instead.
    std::function<void(CTamEBOMParser&)> configure;
    std::vector<std::wstring> loaded;   // file names the registry was asked for, in order
    std::vector<std::wstring> deleted;  // of own.okt and link.okt
};

void Defaults(CTamEBOMParser&) {}

const std::vector<EntitiesCase>& Cases() {
    using P = CTamEBOMParser;
    static const std::vector<EntitiesCase> cases = {
        {"own file with the defaults",
         [](auto& own, auto&) { return Document(L"okt", L"p", own); },
         Defaults,
         {L"own.okt"},
         {L"own.okt"}},
        {"a document no instance places",
         [](auto& own, auto&) { return Document(L"okt", L"unused", own); },
         Defaults,
         {},
         {}},
        {"a document no instance places, without the use check",
         [](auto& own, auto&) { return Document(L"okt", L"unused", own); },
         [](P& p) { p.SetCheckIfFileIsUsed(false); },
         {L"own.okt"},
         {L"own.okt"}},
        {"own files switched off",
         [](auto& own, auto&) { return Document(L"okt", L"p", own); },
         [](P& p) { p.SetReadNotIssuedFromFile(false); },
         {},
         {}},
        {"own files off, the free parts still on",
         [](auto& own, auto& link) {
             return Document(L"okt", L"p", link) + Document(L"okt", L"assembly-FreeParts", own);
         },
         [](P& p) {
             p.SetReadNotIssuedFromFile(false);
             p.SetReadAssemblyFreeParts(true);
             p.SetCheckIfFileIsUsed(false);
         },
         {L"own.okt"},
         {L"own.okt"}},
        {"a part document of the CAD family on its own",
         [](auto& own, auto&) { return Document(L"MrxPart", L"p", own); },
         Defaults,
         {},
         {}},
        {"assembly and tessellated entries",
         [](auto& own, auto&) {
             return Document(L"Assembly", L"p", own) + Document(L"vqg", L"p", own);
         },
         Defaults,
         {},
         {}},
        {"issued from a kernel file",
         [](auto& own, auto& link) {
             return Document(L"step", L"p", own, IssuedFrom(link, L"okt"));
         },
         Defaults,
         {L"link.okt"},
         {L"own.okt"}},
        {"issued from a CAD-family part: the own file",
         [](auto& own, auto& link) {
             return Document(L"step", L"p", own, IssuedFrom(link, L"mrxpart"));
         },
         Defaults,
         {L"own.okt"},
         {}},
        {"issued-from files switched off",
         [](auto& own, auto& link) {
             return Document(L"step", L"p", own, IssuedFrom(link, L"okt"));
         },
         [](P& p) { p.SetReadIssuedFromFile(false); },
         {L"own.okt"},
         {L"own.okt"}},
        {"issued from a missing file: the own file after it",
         [](auto& own, auto& link) {
             return Document(L"step", L"p", own, IssuedFrom(link + L".gone.okt", L"step"));
         },
         Defaults,
         {L"link.okt.gone.okt", L"own.okt"},
         {}},
        {"a tessellated source is not loaded",
         [](auto& own, auto& link) {
             return Document(L"step", L"p", own, IssuedFrom(link, L"vqg"));
         },
         Defaults,
         {},
         {}},
        {"every document of the older family takes the issued-from road",
         [](auto& own, auto& link) {
             return Document(L"okt", L"p", own, IssuedFrom(link, L"okt"));
         },
         [](P& p) { p.SetIsMirexV4(true); },
         {L"own.okt"},
         {L"own.okt"}},
        {"a relative path under the current folder",
         [](auto&, auto&) { return Document(L"okt", L"p", L"own.okt"); },
         nullptr,
         {L"own.okt"},
         {L"own.okt"}},
        {"a relative path without current folder",
         [](auto&, auto&) { return Document(L"okt", L"p", L"own.okt"); },
         Defaults,
         {},
         {}},
        {"one name twice, keyed by path: both loaded",
         [](auto& own, auto& link) {
             return Document(L"step", L"p", own, IssuedFrom(link, L"mrxpart")) +
                    Document(L"step", L"p", own, IssuedFrom(link, L"mrxpart"));
         },
         Defaults,
         {L"own.okt", L"own.okt"},
         {}},
        {"one name twice, keyed by name: the first only",
         [](auto& own, auto& link) {
             return Document(L"step", L"p", own, IssuedFrom(link, L"mrxpart")) +
                    Document(L"step", L"p", own, IssuedFrom(link, L"mrxpart"));
         },
         [](P& p) { p.SetUsePathOktAsMapEntitiesKey(false); },
         {L"own.okt"},
         {}},
    };
    return cases;
}

class EbomEntitiesTest : public EbomTest {};

TEST_F(EbomEntitiesTest, SettingsChooseTheFileLoadedAndKernelFilesGoAfterLoading) {
    for (const EntitiesCase& row : Cases()) {
        SCOPED_TRACE(row.what);
        const std::wstring own = WritePart("own.okt", 1.0);
        const std::wstring link = WritePart("link.okt", 2.0);
        LoadedPaths().clear();
        const std::wstring ebom = WriteEbom(Ebom(Top(L"A", L"p", Position(0, 0, 0)),
                                                 Reference(L"p", own), row.documents(own, link)));
        CTamEBOMParser parser(ebom.c_str(), L"/src/asm.stp", &loader);
        if (row.configure != nullptr)
            row.configure(parser);
        else
            parser.SetCurrentPath(m_scratch.folder());
        parser.LoadXML();
        parser.GetListOkt();
        parser.BuildEntities();
        parser.BuildMesh();

        std::vector<std::wstring> loaded;
        for (const std::wstring& path : LoadedPaths())
            loaded.push_back(CTamIOTools::GetFileName(path.c_str()));
        EXPECT_EQ(loaded, row.loaded);
        std::vector<std::wstring> deleted;
        for (const std::wstring& path : {own, link}) {
            if (!fs::exists(path))
                deleted.push_back(CTamIOTools::GetFileName(path.c_str()));
        }
        EXPECT_EQ(deleted, row.deleted);
    }
}

TEST_F(EbomEntitiesTest, KernelFileWithCapitalExtensionIsDeletedToo) {
    const std::wstring own = WritePart("OWN.OKT", 1.0);
    const RootPtr root = ParseEbom(WriteEbom(Ebom(
        Top(L"A", L"p", Position(0, 0, 0)), Reference(L"p", own), Document(L"okt", L"p", own))));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(LoadedPaths().size(), 1u);
    EXPECT_FALSE(fs::exists(own));
}

// The number of part instances the parser's whole import places.
size_t LeavesPlaced(CTamEBOMParser& parser) {
    const RootPtr root(parser.Parse());
    return root != nullptr ? LeafTransforms(root->GetSglRoot()) : 0;
}

TEST_F(EbomEntitiesTest, PartKeyIsTheShapePathOrTheRefLinkId) {
    for (const bool pathAsKey : {true, false}) {
        for (const bool shapeIsPath : {true, false}) {
            SCOPED_TRACE(std::to_string(pathAsKey) + std::to_string(shapeIsPath));
            const std::wstring own = WritePart("own.okt", 1.0);
            const std::wstring ebom = WriteEbom(Ebom(
                Top(L"A", L"p", Position(0, 0, 0)),
                Reference(L"p", shapeIsPath ? own : L"elsewhere"), Document(L"okt", L"p", own)));
            CTamEBOMParser parser(ebom.c_str(), L"/src/asm.stp", &loader);
            parser.SetUsePathOktAsMapEntitiesKey(pathAsKey);
            // Keyed by path, the Shape must name the document's file; keyed by name it is not read.
            EXPECT_EQ(LeavesPlaced(parser), pathAsKey && !shapeIsPath ? 0u : 1u);
        }
    }
}

}  // namespace
