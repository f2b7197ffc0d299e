// CTamEBOMParser's part entities: which file each document entry loads under the settings, path
// resolution, the part key, and the kernel part files deleted after loading.
#include "ebom_parser_test_support.h"

#include <TamInteropCAD/io_tools.h>

#include <cwchar>

namespace {

using namespace tamtest;
using P = CTamEBOMParser;

std::wstring From(const std::wstring& type, const std::wstring& link = L"LINK") {
    return L"<IssuedFrom><DocLink Id=\"" + link + L"\" Type=\"" + type + L"\"/></IssuedFrom>";
}

class EbomEntitiesTest : public EbomTest {};

TEST_F(EbomEntitiesTest, SettingsChooseTheFileLoadedAndKernelFilesGoAfterLoading) {
    // Documents name the scratch files OWN (own.okt) and LINK (link.okt); a null setting puts
    // the current folder on the scratch folder. Loaded: the file names the registry was asked
    // for; deleted: of own.okt and link.okt.
    struct Row {
        std::wstring documents;
        std::function<void(P&)> configure;
        Texts loaded, deleted;
    };
    auto none = [](P&) {};
    auto anyFile = [](P& p) { p.SetCheckIfFileIsUsed(false); };
    auto linkedOnly = [](P& p) { p.SetReadNotIssuedFromFile(false); };
    auto freeParts = [](P& p) {
        p.SetReadNotIssuedFromFile(false);
        p.SetReadAssemblyFreeParts(true);
        p.SetCheckIfFileIsUsed(false);
    };
    auto ownFile = [](P& p) { p.SetReadIssuedFromFile(false); };
    auto mirexV4 = [](P& p) { p.SetIsMirexV4(true); };
    auto byName = [](P& p) { p.SetUsePathOktAsMapEntitiesKey(false); };
    const std::wstring twice = Document(L"step", L"p", L"OWN", From(L"mrxpart")) +
                               Document(L"step", L"p", L"OWN", From(L"mrxpart"));
    const Texts ownOkt = {L"own.okt"};
    const std::vector<Row> rows = {
        {Document(L"okt", L"p", L"OWN"), none, ownOkt, ownOkt},
        {Document(L"okt", L"x", L"OWN"), none, {}, {}},  // placed by no instance
        {Document(L"okt", L"x", L"OWN"), anyFile, ownOkt, ownOkt},
        {Document(L"okt", L"p", L"OWN"), linkedOnly, {}, {}},
        {Document(L"okt", L"p", L"LINK") + Document(L"okt", L"assembly-FreeParts", L"OWN"),
         freeParts, ownOkt, ownOkt},
        {Document(L"MrxPart", L"p", L"OWN") + Document(L"Assembly", L"p", L"OWN") +
             Document(L"vqg", L"p", L"OWN"),
         none,
         {},
         {}},
        {Document(L"step", L"p", L"OWN", From(L"okt")), none, {L"link.okt"}, ownOkt},
        {Document(L"step", L"p", L"OWN", From(L"mrxpart")), none, ownOkt, {}},
        {Document(L"step", L"p", L"OWN", From(L"okt")), ownFile, ownOkt, ownOkt},
        {Document(L"step", L"p", L"OWN", From(L"step", L"gone.okt")),
         none,
         {L"gone.okt", L"own.okt"},
         {}},
        {Document(L"step", L"p", L"OWN", From(L"vqg")), none, {}, {}},
        {Document(L"okt", L"p", L"OWN", From(L"step")), mirexV4, ownOkt, ownOkt},
        {Document(L"okt", L"p", L"own.okt"), nullptr, ownOkt, ownOkt},
        {Document(L"okt", L"p", L"own.okt"), none, {}, {}},
        {twice, none, {L"own.okt", L"own.okt"}, {}},
        {twice, byName, ownOkt, {}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const std::wstring own = WritePart("own.okt", 1.0), link = WritePart("link.okt", 2.0);
        std::wstring documents = rows[i].documents;
        for (const auto& [token, path] : {std::pair(L"OWN", own), std::pair(L"LINK", link)}) {
            for (size_t at; (at = documents.find(token)) != std::wstring::npos;)
                documents.replace(at, std::wcslen(token), path);
        }
        LoadedPaths().clear();
        CTamEBOMParser parser(
            WriteEbom(Ebom(Top(L"A", L"p", Position(0, 0, 0)), Reference(L"p", own), documents))
                .c_str(),
            L"", &loader);
        rows[i].configure ? rows[i].configure(parser) : parser.SetCurrentPath(m_scratch.folder());
        parser.LoadXML();
        parser.GetListOkt();
        parser.BuildEntities();
        parser.BuildMesh();
        Texts loaded, deleted;
        for (const std::wstring& path : LoadedPaths())
            loaded.push_back(CTamIOTools::GetFileName(path.c_str()));
        for (const std::wstring& path : {own, link}) {
            if (!fs::exists(path))
                deleted.push_back(CTamIOTools::GetFileName(path.c_str()));
        }
        EXPECT_EQ(loaded, rows[i].loaded);
        EXPECT_EQ(deleted, rows[i].deleted);
    }
}

TEST_F(EbomEntitiesTest, PartKeyIsTheShapePathOrTheRefLinkIdAndCapitalKernelFilesGoToo) {
    for (const bool pathAsKey : {true, false}) {
        for (const bool shapeIsPath : {true, false}) {
            const std::wstring own = WritePart("OWN.OKT", 1.0);
            const RootPtr root =
                ParseEbom(WriteEbom(Ebom(Top(L"A", L"p", Position(0, 0, 0)),
                                         Reference(L"p", shapeIsPath ? own : L"elsewhere"),
                                         Document(L"okt", L"p", own))),
                          [&](P& p) { p.SetUsePathOktAsMapEntitiesKey(pathAsKey); });
            // Keyed by path, the Shape must name the document's file; by name it is not read.
            EXPECT_EQ(root != nullptr ? LeafTransforms(root->GetSglRoot()) : 0,
                      pathAsKey && !shapeIsPath ? 0u : 1u);
            EXPECT_FALSE(fs::exists(own));
        }
    }
}

}  // namespace
