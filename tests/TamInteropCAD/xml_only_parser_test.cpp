// CTamXmlOnlyParser: assembly XML in, a saved product XML that refers to part documents out.
#include <TamInteropCAD/xml_only_parser.h>
#include <tamkernel/CTamPreferences.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include "scratch_folder.h"
#include "tools_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A Position element translating by (x, 0, 0).
std::wstring Position(const std::wstring& x) {
    return L"<Position><a>1</a><a>0</a><a>0</a><a>0</a><a>1</a><a>0</a><a>0</a><a>0</a><a>1</a>"
           L"<a>" +
           x + L"</a><a>0</a><a>0</a></Position>";
}

std::wstring Instance(const std::wstring& tag, const std::wstring& name, const std::wstring& id,
                      const std::wstring& inner = L"", const std::wstring& x = L"1,5") {
    const std::wstring refLink = id.empty() ? L"" : L"<RefLink Id=\"" + id + L"\"/>";
    return L"<" + tag + L" Name=\"" + name + L"\" Color=\"#FF8000\">" + Position(x) + refLink +
           inner + L"</" + tag + L">";
}

// Parts bolt (bolt.prt) and nut (only a Reference), sub-assembly sub (sub.asm.3).
std::wstring Assembly(const std::wstring& dir, const std::wstring& instances) {
    return L"<Ebom><Document Type=\"Assembly\" Name=\"top\" FilePath=\"" + dir +
           L"/top.asm\"><Exposition><Structure><Root Name=\"TOP\">" + instances +
           L"</Root><Reference Identifier=\"nut\"><Rep><Shape Id=\"old\"/></Rep></Reference>"
           L"<Reference Identifier=\"nut\"><Rep><Shape Id=\"" +
           dir +
           L"/nut.stp\"/></Rep></Reference></Structure></Exposition></Document>"
           L"<Document Type=\"mrxpart\" Name=\"bolt\" FilePath=\"" +
           dir +
           L"/bolt.prt\"><UserDefinedAttributes><UserDefinedAttribute Name=\"SUB.asm\">"
           L"<Param Name=\"Part Number\" Value=\"S-1\"/></UserDefinedAttribute>"
           L"</UserDefinedAttributes></Document><Document Type=\"OKT\" Name=\"sub\" "
           L"Identifier=\"" +
           dir +
           L"/sub.asm.3\"/><Document Type=\"okt\" Name=\"gone\" "
           L"FilePath=\"x\"/></Ebom>";
}

// One CTamAssyGroup as the tests read it back.
struct Group {
    int depth;
    std::wstring name, instanceOf, nodeType, color;
    bool located, meta;
};

void CollectGroups(const std::shared_ptr<CTamXmlParserNode>& node, int depth,
                   std::vector<Group>& out) {
    for (const auto& child : node->GetNodesByTag(L"CTamAssyGroup")) {
        const auto neutral = child->GetNodeByTag(L"Neutral");
        out.push_back({depth, neutral->GetNodeByTag(L"Actor.Name")->GetAttributeValue(L"Value"),
                       child->GetAttributeValue(L"IsInstanceOf"),
                       child->GetAttributeValue(L"NodeType"),
                       neutral->GetNodeByTag(L"Actor.Color")->GetAttributeValue(L"Value"),
                       !neutral->GetNodeByTag(L"Actor.Location")->isEmpty(),
                       !neutral->GetNodeByTag(L"Meta.Part_Number")->isEmpty()});
        CollectGroups(child, depth + 1, out);
    }
}

class XmlOnlyParserTest : public tamtest::HostCallbackTest {
protected:
    void SetUp() override {
        HostCallbackTest::SetUp();
        fs::create_directories(scratch_.path() / "save");
        fs::create_directories(scratch_.path() / "work");
        sglModelLoader::SetSaveFolder(scratch_.file("save"));
        sglModelLoader::SetPathFolderWork(scratch_.file("work"));
        GetTamPreferences()->Reset();
    }
    void TearDown() override {
        GetTamPreferences()->Reset();
        HostCallbackTest::TearDown();
    }

    // Writes the XML as the translator does (UTF-16 LE, declaration alone on the first line)
    // and runs a parser over it; returns the product XML saved at `expected` (null if none).
    std::shared_ptr<CTamXmlParserDocu> Run(const std::wstring& body, const std::string& expected,
                                           bool refLinkNames = false,
                                           const std::string& source = "top.asm") {
        WriteUtf16(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + body);
        {
            CTamXmlOnlyParser parser(input_.c_str(), scratch_.file(source).c_str(), nullptr);
            parser.SetUseRefLinkIdAsName(refLinkNames);
            EXPECT_TRUE(sglModelLoader::m_sbIsAssembly);
            EXPECT_EQ(parser.Parse(), nullptr);
        }
        EXPECT_FALSE(sglModelLoader::m_sbIsAssembly);
        EXPECT_FALSE(fs::exists(input_)) << "the input XML is deleted with its parser";
        auto doc = std::make_shared<CTamXmlParserDocu>();
        return doc->load((scratch_.path() / expected).wstring()) ? doc : nullptr;
    }

    void WriteUtf16(const std::wstring& text) {
        std::string bytes = "\xFF\xFE";
        for (wchar_t c : text)
            bytes += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
        std::ofstream(fs::path(input_), std::ios::binary) << bytes;
    }

    static std::vector<Group> Groups(const std::shared_ptr<CTamXmlParserDocu>& doc) {
        std::vector<Group> groups;
        for (const auto& server : doc->getDocumentElement()->GetNodesByTag(L"Server"))
            CollectGroups(server->GetNodeByTag(L"CTamAssyRoot"), 0, groups);
        return groups;
    }

    tamtest::ScratchFolder scratch_;
    std::wstring dir_ = scratch_.folder();
    std::wstring input_ = scratch_.file("assembly.xml");
};

TEST_F(XmlOnlyParserTest, PartsAndDocumentedSubAssembliesBecomeReferences) {
    sglModelLoader::m_sbImportMetas = true;
    const std::wstring parts = Instance(L"Child", L"B1", L"bolt") +
                               Instance(L"Child", L"N1", L"nut", L"", L"0") +
                               Instance(L"Child", L"X", L"unknown");
    const std::wstring instances =
        Instance(L"I", L"SUB", L"", parts) +
        Instance(L"I", L"S2", L"sub", Instance(L"Child", L"hidden", L"bolt"));
    const auto doc = Run(Assembly(dir_, instances), "save/top_asm.rvdXml");
    ASSERT_TRUE(doc);
    const auto documentRVD = doc->getDocumentElement();
    EXPECT_EQ(documentRVD->GetAttributeValue(L"Version"), L"7.900000");
    EXPECT_FALSE(documentRVD->GetAttributeValue(L"VersionVeltrix").empty());
    std::wstring servers;
    for (const auto& server : documentRVD->GetNodesByTag(L"Server"))
        servers += server->GetAttributeValue(L"Type") + L";";
    EXPECT_EQ(servers, L"PropertyDefinitions;CTamServerModifiable;CTamList;");
    EXPECT_FALSE(documentRVD->GetNodeByTag(L"ManagerProperties")->isEmpty());

    const std::vector<Group> groups = Groups(doc);
    ASSERT_EQ(groups.size(), 4u);
    const Group expected[] = {
        {0, L"SUB", L"", L"", L"", true, true},
        {1, L"B1", L"bolt_prt.rvdXml", L"1", L"255 128 0 255", true, false},
        {1, L"N1", L"nut_stp.rvdXml", L"", L"255 128 0 255", false, false},
        {0, L"S2", L"sub_asm_3.rvdXml", L"2", L"", true, false},
    };
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const Group& g = groups[i];
        const Group& e = expected[i];
        EXPECT_EQ(std::tie(g.depth, g.name, g.instanceOf, g.nodeType, g.color, g.located, g.meta),
                  std::tie(e.depth, e.name, e.instanceOf, e.nodeType, e.color, e.located, e.meta))
            << i;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(XmlOnlyParserTest, SaveRulesAndNames) {
    const struct {
        bool sameFolder, removeRevision, refLinkNames;
        const char* source;
        const char* expected;
        const wchar_t* instanceOf;
        const wchar_t* firstName;
    } cases[] = {
        {false, false, false, "top.asm.7", "save/top_asm_7.rvdXml", L"sub_asm_3.rvdXml", L"S2"},
        {true, true, true, "top.asm.7", "top_asm.rvdXml", L"sub_asm.rvdXml", L"sub"},
        {true, false, false, "in/top.asm", "in/top_asm.rvdXml", L"../sub_asm_3.rvdXml", L"S2"},
    };
    for (const auto& c : cases) {
        sglModelLoader::m_sbSaveInSameFolder = c.sameFolder;
        GetTamPreferences()->SetIOProERemoveRevisionNumber(c.removeRevision);
        fs::create_directories(scratch_.path() / "in");
        const std::wstring instances = Instance(L"I", L"S2", L"sub", L"<Child/>") +
                                       Instance(L"I", L"NONAME", L"", L"<Child/>");
        const auto doc = Run(Assembly(dir_, instances), c.expected, c.refLinkNames, c.source);
        ASSERT_TRUE(doc) << c.expected;
        const std::vector<Group> groups = Groups(doc);
        ASSERT_EQ(groups.size(), 2u) << c.expected;
        EXPECT_EQ(groups[0].instanceOf, c.instanceOf) << c.expected;
        EXPECT_EQ(groups[0].name, c.firstName) << c.expected;
        EXPECT_EQ(groups[1].name, L"NONAME") << "a group without RefLink keeps its name";
    }
}

TEST_F(XmlOnlyParserTest, UnwritableSaveFolderWritesNothing) {
    sglModelLoader::SetSaveFolder(scratch_.file("missing"));
    EXPECT_FALSE(Run(Assembly(dir_, Instance(L"I", L"B", L"bolt")), "missing/top_asm.rvdXml"));
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch_.path() / "save"), {}), 0);
    EXPECT_FALSE(fs::exists(scratch_.path() / "missing"));
}

TEST_F(XmlOnlyParserTest, MissingOrDamagedStructureSavesAnEmptyAssembly) {
    const std::wstring good = Assembly(dir_, Instance(L"I", L"B", L"bolt"));
    const std::wstring longText(61, L'1');
    const struct {
        const char* what;
        std::wstring body;
    } cases[] = {
        {"no Root",
         L"<E><D><Exposition><Structure><Reference Identifier=\"r\"/></Structure>"
         L"</Exposition></D></E>"},
        {"truncated", good.substr(0, good.size() / 2)},
        {"no document element", L""},
        {"a 61-character number", Assembly(dir_, Instance(L"I", L"B", L"bolt", L"", longText))},
    };
    for (const auto& c : cases) {
        const auto doc = Run(c.body, "save/top_asm.rvdXml");
        ASSERT_TRUE(doc) << c.what;
        EXPECT_TRUE(Groups(doc).empty()) << c.what;
        EXPECT_EQ(doc->getDocumentElement()->GetAttributeValue(L"Version"), L"7.900000");
    }
    EXPECT_TRUE(Messages().empty());
    // Sixty characters still read.
    const auto doc =
        Run(Assembly(dir_, Instance(L"I", L"B", L"bolt", L"", L"1." + std::wstring(58, L'0'))),
            "save/top_asm.rvdXml");
    ASSERT_TRUE(doc);
    EXPECT_EQ(Groups(doc).size(), 1u);
}

TEST_F(XmlOnlyParserTest, DeepNestingGivesOneMessage) {
    std::wstring nested = L"<Child Name=\"leaf\"><RefLink Id=\"bolt\"/></Child>";
    std::wstring open, close;
    for (int i = 0; i < 100000; ++i) {
        open += L"<Child Name=\"s\">";
        close += L"</Child>";
    }
    const auto doc = Run(Assembly(dir_, L"<I Name=\"top\">" + open + nested + close + L"</I>"),
                         "save/top_asm.rvdXml");
    ASSERT_TRUE(doc);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find(L"deeper than 1000 levels"), std::wstring::npos);
}

TEST_F(XmlOnlyParserTest, CancelledImportWritesNothingAndCopiesShareOwnership) {
    sglModelLoader::m_sbCancelImport = true;
    sglModelLoader::m_sbImportMetas = true;
    WriteUtf16(L"\n" + Assembly(dir_, Instance(L"I", L"B", L"bolt")));
    CTamXmlOnlyParser parser(input_.c_str(), scratch_.file("top.asm").c_str(), nullptr);
    CTamXmlOnlyParser copy(parser);
    copy = parser;
    EXPECT_EQ(copy.Parse(), nullptr);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch_.path() / "save"), {}), 0);
}

}  // namespace
