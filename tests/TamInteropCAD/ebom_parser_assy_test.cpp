// CTamEBOMParser's assembly tree and product XML: each part meshed once and cloned per
// instance, naming rules, user data, the product XML's servers, nodes, properties, node types,
// identifiers and geometry entries, and the metadata collector.
#include "ebom_parser_test_support.h"

#include <TamInteropCAD/meta_collector.h>
#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamfoundations/CTamXMLToSG.h>

#include <functional>

namespace {

using namespace tamtest;

class EbomAssyTest : public EbomTest {
protected:
    void TearDown() override {
        CTamSGToXML::DiscardGeometryFiles();
        EbomTest::TearDown();
    }

    // The Neutral property `name`'s Value of an assembly node element ("" when absent).
    static std::wstring Property(const std::shared_ptr<CTamXmlParserNode>& node,
                                 const std::wstring& name) {
        return node->GetNodeByTag(L"Neutral")->GetNodeByTag(name)->GetAttributeValue(L"Value");
    }
};

// Bolt (orange, with metadata) at the top, Nut (a color that does not read) inside Sub.
std::wstring ProductEbom(const std::wstring& bolt, const std::wstring& nut) {
    return Ebom(Top(L"Bolt", L"bolt", Position(0, 0, 0), L"", L" Color=\"#FF8000\"") +
                    Top(L"Sub", L"sub", Position(0, 0, 0),
                        Child(L"Nut", L"nut", Position(1, 2, 3), L"", L" Color=\"orange\"")),
                Reference(L"bolt", bolt) + Reference(L"nut", nut),
                Document(L"okt", L"bolt", bolt,
                         L"<UserDefinedAttributes><UserDefinedAttribute Name=\"Bolt.prt\">"
                         L"<Param Name=\"Part Number\" Value=\"B-1\"/>"
                         L"</UserDefinedAttribute></UserDefinedAttributes>") +
                    Document(L"okt", L"nut", nut));
}

TEST_F(EbomAssyTest, ProductXmlHoldsTheServersTheNodeTreeAndTheNodeProperties) {
    sglModelLoader::m_sbImportMetas = true;
    const RootPtr root =
        ParseEbom(WriteEbom(ProductEbom(WritePart("bolt.okt", 1.0), WritePart("nut.okt", 1.0))));
    ASSERT_NE(root, nullptr);
    ASSERT_NE(root->GetXMLDoc(), nullptr);
    const auto document = root->GetXMLDoc()->getDocumentElement();
    EXPECT_EQ(document->getName(), L"DocumentRVD");
    const auto servers = Elements(document, L"Server");
    std::vector<std::wstring> types;
    for (const auto& server : servers)
        types.push_back(server->GetAttributeValue(L"Type"));
    EXPECT_EQ(types, (std::vector<std::wstring>{L"PropertyDefinitions", L"CTamServerModifiable",
                                                L"CTamList", L"CTamList"}));
    ASSERT_EQ(servers.size(), 4u);
    EXPECT_EQ(servers[0]
                  ->GetNodeByTag(L"MetaProperties")
                  ->GetNodeByTag(L"MetaProperty")
                  ->GetAttributeValue(L"Name"),
              L"Part Number");
    EXPECT_TRUE(servers[2]->getChildNodes().empty());
    EXPECT_EQ(
        servers[3]->GetNodeByTag(L"Selection")->GetNodeByTag(L"Node")->GetAttributeValue(L"Name"),
        L"Asm");

    const auto assyRoot = servers[1]->GetNodeByTag(L"CTamAssyRoot");
    EXPECT_EQ(Property(assyRoot, L"Actor.Name"), L"Asm");
    EXPECT_TRUE(assyRoot->GetNodeByTag(L"Neutral")->GetNodeByTag(L"Actor.Location")->isEmpty());
    EXPECT_EQ(assyRoot->GetAttributeValue(L"Ident").size(), 38u) << "a braced GUID";
    const auto groups = Elements(assyRoot, L"CTamAssyGroup");
    ASSERT_EQ(groups.size(), 2u);

    const auto& bolt = groups[0];
    EXPECT_EQ(Property(bolt, L"Actor.Name"), L"Bolt");
    EXPECT_EQ(Property(bolt, L"Actor.Color"), L"255 128 0 255");
    EXPECT_EQ(Property(bolt, L"Meta.Part_Number"), L"B-1");
    EXPECT_TRUE(bolt->GetNodeByTag(L"Neutral")->GetNodeByTag(L"Actor.Location")->isEmpty())
        << "an identity placement has no location";
    EXPECT_FALSE(bolt->GetNodeByTag(L"Geometry")->isEmpty());
    EXPECT_FALSE(bolt->HasAttribute(L"NodeType"));

    const auto nut = groups[1]->GetNodeByTag(L"CTamAssyGroup");
    EXPECT_EQ(Property(groups[1], L"Actor.Name"), L"Sub");
    EXPECT_EQ(Property(nut, L"Actor.Name"), L"Nut");
    EXPECT_EQ(Property(nut, L"Actor.Color"), L"") << "a color text that does not read";
    EXPECT_EQ(nut->GetNodeByTag(L"Neutral")
                  ->GetNodeByTag(L"Actor.Location")
                  ->GetNodeByTag(L"Frame")
                  ->GetAttributeValue(L"Matrix"),
              L"1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1");
}

TEST_F(EbomAssyTest, GeometryOfEachInstanceReadsBackWithItsTriangles) {
    sglModelLoader::SetOutputRVDFilePath(L"/out/model.rvd");
    const RootPtr root =
        ParseEbom(WriteEbom(ProductEbom(WritePart("bolt.okt", 1.0), WritePart("nut.okt", 2.0))));
    ASSERT_NE(root, nullptr);
    const auto geometry = root->GetXMLDoc()
                              ->getDocumentElement()
                              ->GetNodesByTag(L"Server")
                              .front()
                              ->GetNodeByTag(L"CTamAssyRoot")
                              ->GetNodeByTag(L"CTamAssyGroup")
                              ->GetNodeByTag(L"Geometry");
    EXPECT_FALSE(geometry->HasAttribute(L"File")) << "a native output: inline";
    GroupPtr read(CTamXMLToSG::ReadGeometry(geometry, CString()));
    ASSERT_NE(read, nullptr);
    auto* leaf = dynamic_cast<sglGroup*>(root->GetSglRoot())->getChild(0);
    unsigned int expected = 0, got = 0;
    for (sglGeode* geode : Geodes(leaf))
        expected += TriangleCount(geode);
    for (sglGeode* geode : Geodes(read.get()))
        got += TriangleCount(geode);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(expected, 12u);
}

TEST_F(EbomAssyTest, GeometryGoesInlineForANativeOutputAndToASideFileOtherwise) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"/out/model.RVD", L""},
        {L"/out/model.rvd", L""},
        {L"/out/model.rvdXml", L"model.rvdGeom"},
        {L"C:\\out\\scene.glb", L"scene.rvdGeom"},
    };
    for (const auto& [output, file] : cases) {
        sglModelLoader::SetOutputRVDFilePath(output);
        const RootPtr root = ParseEbom(
            WriteEbom(ProductEbom(WritePart("bolt.okt", 1.0), WritePart("nut.okt", 1.0))));
        ASSERT_NE(root, nullptr);
        const auto geometry = root->GetXMLDoc()
                                  ->getDocumentElement()
                                  ->GetNodesByTag(L"Server")
                                  .front()
                                  ->GetNodeByTag(L"CTamAssyRoot")
                                  ->GetNodeByTag(L"CTamAssyGroup")
                                  ->GetNodeByTag(L"Geometry");
        EXPECT_EQ(geometry->GetAttributeValue(L"File"), file) << output;
        CTamSGToXML::DiscardGeometryFiles();
    }
}

TEST_F(EbomAssyTest, NameBasedIdentifiersRestartWithEachSiblingList) {
    sglModelLoader::m_suiIdentType = 1;
    const std::wstring part = WritePart("p.okt", 1.0);
    const RootPtr root = ParseEbom(
        WriteEbom(Ebom(Top(L"X", L"p", Position(0, 0, 0)) + Top(L"X", L"p", Position(1, 0, 0)) +
                           Top(L"S", L"s", Position(0, 0, 0), Child(L"X", L"p", Position(0, 0, 0))),
                       Reference(L"p", part), Document(L"okt", L"p", part))));
    ASSERT_NE(root, nullptr);
    const auto assyRoot =
        root->GetXMLDoc()->getDocumentElement()->GetNodesByTag(L"Server").front()->GetNodeByTag(
            L"CTamAssyRoot");
    std::map<CString, unsigned int> fresh;
    EXPECT_EQ(assyRoot->GetAttributeValue(L"Ident"),
              CTamIO::CreateGuid(L"Asm", fresh, GUID_TYPE_NODE, -1).str());
    const auto top = Elements(assyRoot, L"CTamAssyGroup");
    ASSERT_EQ(top.size(), 3u);
    EXPECT_NE(top[0]->GetAttributeValue(L"Ident"), top[1]->GetAttributeValue(L"Ident"));
    EXPECT_EQ(top[2]->GetNodeByTag(L"CTamAssyGroup")->GetAttributeValue(L"Ident"),
              top[0]->GetAttributeValue(L"Ident"));
}

TEST_F(EbomAssyTest, NodeTypeMarksProeDocumentsThatDifferFromTheirParents) {
    const std::wstring part = WritePart("p.okt", 1.0);
    const std::wstring other = WritePart("q.okt", 1.0);
    // p's document is also a ProE part, s a ProE assembly; q has its kernel file only.
    const std::wstring documents = Document(L"okt", L"p", part) + Document(L"okt", L"q", other) +
                                   Document(L"proe", L"p", L"/x/bolt.prt.3") +
                                   Document(L"proe", L"s", L"/x/sub.asm") +
                                   Document(L"proe", L"t", L"/x/bolt.prt.3");
    const RootPtr root = ParseEbom(
        WriteEbom(Ebom(Top(L"S", L"s", Position(0, 0, 0), Child(L"P", L"p", Position(0, 0, 0))) +
                           Top(L"Q", L"q", Position(0, 0, 0)) +
                           Top(L"T", L"t", Position(0, 0, 0), Child(L"P", L"p", Position(0, 0, 0))),
                       Reference(L"p", part) + Reference(L"q", other), documents)));
    ASSERT_NE(root, nullptr);
    const auto top = Elements(
        root->GetXMLDoc()->getDocumentElement()->GetNodesByTag(L"Server").front()->GetNodeByTag(
            L"CTamAssyRoot"),
        L"CTamAssyGroup");
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0]->GetAttributeValue(L"NodeType"), L"2");
    EXPECT_EQ(top[0]->GetNodeByTag(L"CTamAssyGroup")->GetAttributeValue(L"NodeType"), L"1");
    EXPECT_FALSE(top[1]->HasAttribute(L"NodeType")) << "no document path, as its parent";
    EXPECT_FALSE(top[2]->GetNodeByTag(L"CTamAssyGroup")->HasAttribute(L"NodeType"))
        << "the same document as its parent";
}

// (setting, instance Name, RefLink Id) -> (transform name, XML name)
struct NamingCase {
    const char* what;
    std::function<void(CTamEBOMParser&)> configure;
    bool featureNames;
    std::wstring name, refLink, transformName, xmlName;
};

TEST_F(EbomAssyTest, NamingRules) {
    using P = CTamEBOMParser;
    const std::vector<NamingCase> cases = {
        {"plain", [](P&) {}, false, L"Bolt", L"p", L"Bolt", L"Bolt"},
        {"feature part cut from the node only", [](P&) {}, false, L"Pin|Extrude1", L"p", L"Pin",
         L"Pin|Extrude1"},
        {"feature part kept", [](P&) {}, true, L"Pin|Extrude1", L"p", L"Pin|Extrude1",
         L"Pin|Extrude1"},
        {"a leading bar empties the node name", [](P&) {}, false, L"|x", L"p", L"", L"|x"},
        {"RefLink id as name", [](P& p) { p.SetUseRefLinkIdAsName(true); }, false, L"Bolt", L"p",
         L"p", L"p"},
        {"older family: xSET cut", [](P& p) { p.SetIsMirexV4(true); }, false, L"Gear_xSET_1", L"p",
         L"Gear", L"Gear"},
        {"older family: a *DIT name takes the RefLink id", [](P& p) { p.SetIsMirexV4(true); },
         false, L"Bolt*DIT3", L"p_xSET_2", L"p", L"Bolt*DIT3"},
    };
    for (const NamingCase& row : cases) {
        SCOPED_TRACE(row.what);
        sglModelLoader::m_sbNodeFeatureName = row.featureNames;
        const std::wstring part = WritePart("p.okt", 1.0);
        const RootPtr root = ParseEbom(
            WriteEbom(Ebom(Top(row.name, row.refLink, Position(0, 0, 0)),
                           Reference(row.refLink, part), Document(L"okt", row.refLink, part))),
            row.configure);
        ASSERT_NE(root, nullptr);
        auto* assembly = dynamic_cast<sglGroup*>(root->GetSglRoot());
        ASSERT_EQ(assembly->getNumChildren(), 1u);
        EXPECT_EQ(assembly->getChild(0)->getName(), row.transformName);
        const auto group = root->GetXMLDoc()
                               ->getDocumentElement()
                               ->GetNodesByTag(L"Server")
                               .front()
                               ->GetNodeByTag(L"CTamAssyRoot")
                               ->GetNodeByTag(L"CTamAssyGroup");
        EXPECT_EQ(Property(group, L"Actor.Name"), row.xmlName);
    }
}

TEST_F(EbomAssyTest, LeafGeodesCarryTheInstanceNameOrTheOlderFamilysLabel) {
    for (const bool levelOneIsDit : {false, true}) {
        const std::wstring part = WritePart("p.okt", 1.0);
        const std::wstring b = levelOneIsDit ? L"B*DIT" : L"B";
        const RootPtr mirex = ParseEbom(
            WriteEbom(Ebom(Top(L"A", L"a", Position(0, 0, 0),
                               Child(b, L"b", Position(0, 0, 0),
                                     Child(L"Bolt*DIT3", L"p_xSET_1", Position(0, 0, 0)))),
                           Reference(L"p_xSET_1", part), Document(L"okt", L"p_xSET_1", part))),
            [](CTamEBOMParser& parser) { parser.SetIsMirexV4(true); });
        ASSERT_NE(mirex, nullptr);
        for (sglGeode* geode : Geodes(mirex->GetSglRoot())) {
            EXPECT_EQ(Record(geode).GetLabel(), levelOneIsDit ? L"p" : L"B");
            EXPECT_EQ(Record(geode).GetAssemblyName(), L"");
        }
    }
    const std::wstring part = WritePart("p.okt", 1.0);
    const RootPtr plain =
        ParseEbom(WriteEbom(Ebom(Top(L"Bolt.1", L"p", Position(0, 0, 0)), Reference(L"p", part),
                                 Document(L"okt", L"p", part))));
    ASSERT_NE(plain, nullptr);
    const std::vector<sglGeode*> geodes = Geodes(plain->GetSglRoot());
    ASSERT_FALSE(geodes.empty());
    for (sglGeode* geode : geodes)
        EXPECT_EQ(Record(geode).GetAssemblyName(), L"Bolt.1");
}

TEST_F(EbomAssyTest, FiveDistinctPartsPlacedEighteenTimesAreFacetedOnce) {
    std::wstring references, documents;
    std::vector<std::wstring> parts;
    for (int i = 0; i < 5; ++i) {
        const std::wstring id = L"p" + std::to_wstring(i);
        const std::wstring path = WritePart("part" + std::to_string(i) + ".okt", 1.0 + i);
        references += Reference(id, path);
        documents += Document(L"okt", id, path);
        parts.push_back(id);
    }
    // Six at the top, twelve in three sub-assemblies of four.
    std::wstring instances;
    for (int i = 0; i < 6; ++i)
        instances += Top(L"I" + std::to_wstring(i), parts[i % 5], Position(10.f * i, 0, 0));
    for (int s = 0; s < 3; ++s) {
        std::wstring children;
        for (int i = 0; i < 4; ++i)
            children +=
                Child(L"C" + std::to_wstring(i), parts[(s + i) % 5], Position(0, 10.f * i, 0));
        instances += Top(L"S" + std::to_wstring(s), L"sub", Position(0, 0, 10.f * s), children);
    }
    int meshed = 0;
    static int* counter = nullptr;
    counter = &meshed;
    sglModelLoader::s_callbackProgress = [](float, const wchar_t* text) {
        if (text != nullptr && std::wstring(text).rfind(L"Mesh ", 0) == 0)
            ++*counter;
    };
    const RootPtr root = ParseEbom(WriteEbom(Ebom(instances, references, documents)));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(LeafTransforms(root->GetSglRoot()), 18u);
    EXPECT_EQ(LoadedPaths().size(), 5u);
    EXPECT_EQ(meshed, 5);
    // Every face faceting makes its own strip set and clones share them: 5 boxes of 6 faces.
    EXPECT_EQ(DistinctStripSets(root->GetSglRoot()), 30u);
}

TEST_F(EbomAssyTest, AssemblyOwnEntitiesJoinTheRootOnlyWithTheProductXml) {
    for (const bool productXml : {true, false}) {
        const std::wstring part = WritePart("p.okt", 1.0);
        ENTITY_LIST own;
        own.add(BoxBody(50, 1, 1));
        const RootPtr root =
            ParseEbom(WriteEbom(Ebom(Top(L"A", L"p", Position(0, 0, 0)), Reference(L"p", part),
                                     Document(L"okt", L"p", part))),
                      [&](CTamEBOMParser& parser) {
                          parser.SetEntityListAssembly(&own);
                          parser.SetCreateRVD(productXml);
                      });
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(dynamic_cast<sglGroup*>(root->GetSglRoot())->getNumChildren(),
                  productXml ? 2u : 1u);
        EXPECT_EQ(own.count(), 0) << "meshed, then deleted";
        // The assembly's own entities widened the box that set the refinement.
        EXPECT_FLOAT_EQ(loader.GetBBoxAssembly().getMax()[0], 50.0f);
    }
}

TEST(MetaCollectorTest, FilesParamsByDocumentAndWritesThemForNodesNotNamedAfterPartFiles) {
    const std::string xml =
        "<U>"
        "<UserDefinedAttribute Name=\"Bolt.prt\"><Param Name=\"\" "
        "Value=\"x\"/></UserDefinedAttribute>"
        "<UserDefinedAttribute Name=\"Bolt\"><Param Name=\"Part Number\" Value=\"1\"/>"
        "<Param Name=\"Mass\" Value=\"2\"/></UserDefinedAttribute>"
        "<UserDefinedAttribute Name=\"Nut.prt\"><Param Name=\"Old\" "
        "Value=\"0\"/></UserDefinedAttribute>"
        "<UserDefinedAttribute Name=\"Nut\"><Param Name=\"New\" "
        "Value=\"1\"/></UserDefinedAttribute>"
        "</U>";
    CTamXmlParserDocu source;
    ASSERT_TRUE(source.loadFromMemory(xml.data(), xml.size()));
    CTamMetaCollector collector;
    for (const auto& attribute : source.getDocumentElement()->getChildNodes())
        collector.AddUserDefinedAttribute(attribute);

    CTamXmlParserDocu out;
    const auto top = out.initialize()->AddNode(L"Out");
    auto written = [&](const std::wstring& name) {
        const auto neutral = top->AddNode(L"Neutral");
        collector.WriteMetaProperties(name, neutral);
        std::vector<std::wstring> elements;
        for (const auto& element : neutral->getChildNodes())
            elements.push_back(element->getName() + L"=" + element->GetAttributeValue(L"Value"));
        return elements;
    };
    EXPECT_EQ(written(L"Bolt.asm"),
              (std::vector<std::wstring>{L"Meta.Mass=2", L"Meta.Part_Number=1"}));
    EXPECT_EQ(written(L"Bolt"), written(L"Bolt.asm"));
    EXPECT_TRUE(written(L"Bolt.prt").empty());
    EXPECT_EQ(written(L"Nut"), (std::vector<std::wstring>{L"Meta.New=1"})) << "the later one";
    EXPECT_TRUE(written(L"Washer").empty());

    const auto definitions = top->AddNode(L"MetaProperties");
    collector.WriteMetaDefinitions(definitions);
    EXPECT_EQ(definitions->getChildNodes().size(), 3u);
}

}  // namespace
