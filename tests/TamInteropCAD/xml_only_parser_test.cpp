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

// Replaces every `from` in text by `to`.
std::wstring With(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::wstring::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// An instance translated by (x, 0, 0), colored, with a RefLink when id is given.
std::wstring Instance(const std::wstring& tag, const std::wstring& name, const std::wstring& id,
                      const std::wstring& inner = L"", const std::wstring& x = L"1,5") {
    const std::wstring refLink = id.empty() ? L"" : L"<RefLink Id=\"" + id + L"\"/>";
    return L"<" + tag + L" Name=\"" + name +
           L"\" Color=\"#FF8000\"><Position><a>1</a><a>0</a>"
           L"<a>0</a><a>0</a><a>1</a><a>0</a><a>0</a><a>0</a><a>1</a><a>" +
           x + L"</a><a>0</a><a>0</a></Position>" + refLink + inner + L"</" + tag + L">";
}

// Parts bolt (bolt.prt, metadata for SUB) and nut (a Reference given twice, the later one
// counts), sub-assembly sub (sub.asm.3, filed by Identifier: no FilePath).
std::wstring Assembly(const std::wstring& dir, const std::wstring& instances) {
    return With(With(LR"(<Ebom><Document Type="Assembly" Name="top" FilePath="$/top.asm">
<Exposition><Structure><Root Name="TOP">%</Root>
<Reference Identifier="nut"><Rep><Shape Id="old"/></Rep></Reference>
<Reference Identifier="nut"><Rep><Shape Id="$/nut.stp"/></Rep></Reference>
</Structure></Exposition></Document>
<Document Type="mrxpart" Name="bolt" FilePath="$/bolt.prt"><UserDefinedAttributes>
<UserDefinedAttribute Name="SUB.asm"><Param Name="Part Number" Value="S-1"/>
</UserDefinedAttribute></UserDefinedAttributes></Document>
<Document Type="OKT" Name="sub" Identifier="$/sub.asm.3"/>
<Document Type="okt" Name="gone" FilePath="x"/></Ebom>)",
                     L"$", dir),
                L"%", instances);
}

// One line per CTamAssyGroup: indent, name, IsInstanceOf, NodeType, color, "L" for a location,
// "M" for metadata.
void Describe(const std::shared_ptr<CTamXmlParserNode>& node, const std::wstring& indent,
              std::vector<std::wstring>& out) {
    for (const auto& group : node->GetNodesByTag(L"CTamAssyGroup")) {
        const auto neutral = group->GetNodeByTag(L"Neutral");
        out.push_back(indent + neutral->GetNodeByTag(L"Actor.Name")->GetAttributeValue(L"Value") +
                      L"|" + group->GetAttributeValue(L"IsInstanceOf") + L"|" +
                      group->GetAttributeValue(L"NodeType") + L"|" +
                      neutral->GetNodeByTag(L"Actor.Color")->GetAttributeValue(L"Value") +
                      (neutral->GetNodeByTag(L"Actor.Location")->isEmpty() ? L"" : L"|L") +
                      (neutral->GetNodeByTag(L"Meta.Part_Number")->isEmpty() ? L"" : L"|M"));
        Describe(group, indent + L"  ", out);
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

    static std::vector<std::wstring> Groups(const std::shared_ptr<CTamXmlParserDocu>& doc) {
        std::vector<std::wstring> groups;
        for (const auto& server : doc->getDocumentElement()->GetNodesByTag(L"Server"))
            Describe(server->GetNodeByTag(L"CTamAssyRoot"), L"", groups);
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

    const std::vector<std::wstring> expected = {
        L"SUB||||L|M",
        L"  B1|bolt_prt.rvdXml|1|255 128 0 255|L",
        L"  N1|nut_stp.rvdXml||255 128 0 255",
        L"S2|sub_asm_3.rvdXml|2||L",
    };
    EXPECT_EQ(Groups(doc), expected);
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
        // A sub-assembly without RefLink keeps its name.
        const std::vector<std::wstring> expected = {
            std::wstring(c.firstName) + L"|" + c.instanceOf + L"|2||L", L"NONAME||||L"};
        EXPECT_EQ(Groups(doc), expected) << c.expected;
    }
}

TEST_F(XmlOnlyParserTest, UnwritableSaveFolderOrCancelledImportWritesNothingCopiesShareOwnership) {
    sglModelLoader::SetSaveFolder(scratch_.file("missing"));
    EXPECT_FALSE(Run(Assembly(dir_, Instance(L"I", L"B", L"bolt")), "missing/top_asm.rvdXml"));
    EXPECT_FALSE(fs::exists(scratch_.path() / "missing"));
    sglModelLoader::SetSaveFolder(scratch_.file("save"));
    sglModelLoader::m_sbCancelImport = true;
    sglModelLoader::m_sbImportMetas = true;
    WriteUtf16(L"\n" + Assembly(dir_, Instance(L"I", L"B", L"bolt")));
    CTamXmlOnlyParser parser(input_.c_str(), scratch_.file("top.asm").c_str(), nullptr);
    CTamXmlOnlyParser copy(parser);
    copy = parser;
    EXPECT_EQ(copy.Parse(), nullptr);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch_.path() / "save"), {}), 0);
}

TEST_F(XmlOnlyParserTest, MissingDamagedOrTooDeepStructureSavesAnEmptyAssemblyOrBranch) {
    const std::wstring good = Assembly(dir_, Instance(L"I", L"B", L"bolt"));
    std::wstring open, close;
    for (int i = 0; i < 100000; ++i) {
        open += L"<Child Name=\"s\">";
        close += L"</Child>";
    }
    const struct {
        const char* what;
        std::wstring body;
        std::size_t groups, messages;
    } cases[] = {
        {"no Root", L"<E><D><Exposition><Structure><Reference/></Structure></Exposition></D></E>",
         0, 0},
        {"truncated", good.substr(0, good.size() / 2), 0, 0},
        {"wrong encoding (lone surrogate)", L"<E>\xD800</E>", 0, 0},
        {"no document element", L"", 0, 0},
        {"a 61-character number",
         Assembly(dir_, Instance(L"I", L"B", L"bolt", L"", std::wstring(61, L'1'))), 0, 0},
        {"a 60-character number",
         Assembly(dir_, Instance(L"I", L"B", L"bolt", L"", std::wstring(60, L'1'))), 1, 0},
        {"nested 100,000 deep, kept down to 1000 levels",
         Assembly(dir_, L"<I Name=\"top\">" + open +
                            L"<Child Name=\"leaf\"><RefLink Id=\"bolt\"/></Child>" + close +
                            L"</I>"),
         1000, 1},
    };
    for (const auto& c : cases) {
        Messages().clear();
        const auto doc = Run(c.body, "save/top_asm.rvdXml");
        ASSERT_TRUE(doc) << c.what;
        EXPECT_EQ(Groups(doc).size(), c.groups) << c.what;
        EXPECT_EQ(doc->getDocumentElement()->GetAttributeValue(L"Version"), L"7.900000");
        ASSERT_EQ(Messages().size(), c.messages) << c.what;
    }
    EXPECT_NE(Messages()[0].text.find(L"deeper than 1000 levels"), std::wstring::npos);
}

}  // namespace
