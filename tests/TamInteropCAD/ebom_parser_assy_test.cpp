// CTamEBOMParser's tree and product XML: parts meshed once and cloned per instance, naming
// rules, user data, servers, nodes, properties, identifiers, node types, geometry entries, and
// the metadata collector.
#include "ebom_parser_test_support.h"

#include <TamInteropCAD/meta_collector.h>
#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamfoundations/CTamXMLToSG.h>

namespace {

using namespace tamtest;
using Node = std::shared_ptr<CTamXmlParserNode>;

class EbomAssyTest : public EbomTest {
protected:
    void TearDown() override {
        CTamSGToXML::DiscardGeometryFiles();
        EbomTest::TearDown();
    }
    // The CTamAssyRoot element of the product XML.
    static Node AssyRoot(const RootPtr& root) {
        for (const Node& server :
             root->GetXMLDoc()->getDocumentElement()->GetNodesByTag(L"Server")) {
            if (server->GetAttributeValue(L"Type") == L"CTamServerModifiable")
                return server->GetNodeByTag(L"CTamAssyRoot");
        }
        return std::make_shared<CTamXmlParserNode>();
    }
    static std::vector<Node> Groups(const Node& parent) {
        const auto list = parent->GetNodesByTag(L"CTamAssyGroup");
        return {list.begin(), list.end()};
    }
    // The attribute of the element at the tag path below node ("" when absent).
    static std::wstring At(Node node, std::initializer_list<const wchar_t*> path,
                           const wchar_t* attribute) {
        for (const wchar_t* tag : path)
            node = node->GetNodeByTag(tag);
        return node->GetAttributeValue(attribute);
    }
    // The Value of a property under an assembly node's Neutral element ("" when absent).
    static std::wstring Property(const Node& node, const wchar_t* name) {
        return At(node, {L"Neutral", name}, L"Value");
    }
};

TEST_F(EbomAssyTest, ProductXmlHoldsTheServersTheNodeTreeAndTheNodeProperties) {
    sglModelLoader::m_sbImportMetas = true;
    const std::wstring bolt = WritePart("bolt.okt", 1.0), nut = WritePart("nut.okt", 1.0);
    const RootPtr root = ParseEbom(WriteEbom(Ebom(
        Top(L"Bolt", L"bolt", Position(0, 0, 0), L"", L" Color=\"#FF8000\"") +
            Top(L"Sub", L"sub", Position(0, 0, 0),
                Child(L"Nut", L"nut", Position(1, 2, 3), L"", L" Color=\"orange\"")),
        Reference(L"bolt", bolt) + Reference(L"nut", nut),
        Document(
            L"okt", L"bolt", bolt,
            L"<UserDefinedAttributes><UserDefinedAttribute Name=\"Bolt.prt\"><Param Name="
            L"\"Part Number\" Value=\"B-1\"/></UserDefinedAttribute></UserDefinedAttributes>") +
            Document(L"okt", L"nut", nut))));
    ASSERT_NE(root, nullptr);
    const auto servers = root->GetXMLDoc()->getDocumentElement()->GetNodesByTag(L"Server");
    Texts types;
    for (const Node& server : servers)
        types.push_back(server->GetAttributeValue(L"Type"));
    EXPECT_EQ(types,
              (Texts{L"PropertyDefinitions", L"CTamServerModifiable", L"CTamList", L"CTamList"}));
    EXPECT_EQ(At(servers.front(), {L"MetaProperties", L"MetaProperty"}, L"Name"), L"Part Number");
    EXPECT_EQ(At(servers.back(), {L"Selection", L"Node"}, L"Name"), L"Asm");

    const Node rootNode = AssyRoot(root);
    EXPECT_EQ(Property(rootNode, L"Actor.Name"), L"Asm");
    EXPECT_EQ(rootNode->GetAttributeValue(L"Ident").size(), 38u) << "a braced GUID";
    const auto groups = Groups(rootNode);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(Property(groups[0], L"Actor.Color"), L"255 128 0 255");
    EXPECT_EQ(Property(groups[0], L"Meta.Part_Number"), L"B-1");
    EXPECT_FALSE(groups[0]->GetNodeByTag(L"Geometry")->isEmpty());
    const Node nut0 = groups[1]->GetNodeByTag(L"CTamAssyGroup");
    EXPECT_EQ(Property(nut0, L"Actor.Name"), L"Nut");
    EXPECT_EQ(Property(nut0, L"Actor.Color"), L"") << "a color text that does not read";
    // Identity placements (the root has none) write no location.
    for (const Node& node : {rootNode, groups[0], groups[1]})
        EXPECT_TRUE(node->GetNodeByTag(L"Neutral")->GetNodeByTag(L"Actor.Location")->isEmpty());
    EXPECT_EQ(At(nut0, {L"Neutral", L"Actor.Location", L"Frame"}, L"Matrix"),
              L"1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1");
}

TEST_F(EbomAssyTest, GeometryGoesInlineForANativeOutputElseToASideFileNamesFollowTheirRules) {
    for (const auto& [output, file] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"/out/model.RVD", L""},
             {L"/out/model.rvdXml", L"model.rvdGeom"},
             {L"C:\\out\\scene.glb", L"scene.rvdGeom"}}) {
        sglModelLoader::SetOutputRVDFilePath(output);
        const RootPtr root =
            ParseEbom(PartEbom(Top(L"A", L"p", Position(0, 0, 0)), WritePart("p.okt", 1.0)));
        ASSERT_NE(root, nullptr);
        const Node geometry = Groups(AssyRoot(root))[0]->GetNodeByTag(L"Geometry");
        EXPECT_EQ(geometry->GetAttributeValue(L"File"), file);
        if (!file.empty())
            continue;
        // Inline geometry reads back with the placed part's triangles.
        GroupPtr read(CTamXMLToSG::ReadGeometry(geometry, CString()));
        ASSERT_NE(read, nullptr);
        unsigned int triangles = 0;
        for (sglGeode* geode : Geodes(read.get()))
            triangles += TriangleCount(geode);
        EXPECT_EQ(triangles, 12u);
    }
    struct Row {
        std::function<void(CTamEBOMParser&)> configure;
        bool featureNames;
        std::wstring name, id, transformName, xmlName;
    };
    auto none = [](CTamEBOMParser&) {};
    auto mirex = [](CTamEBOMParser& p) { p.SetIsMirexV4(true); };
    for (const Row& row :
         std::vector<Row>{{none, false, L"Pin|Extrude1", L"p", L"Pin", L"Pin|Extrude1"},
                          {none, true, L"Pin|Extrude1", L"p", L"Pin|Extrude1", L"Pin|Extrude1"},
                          {none, false, L"|x", L"p", L"", L"|x"},
                          {[](CTamEBOMParser& p) { p.SetUseRefLinkIdAsName(true); }, false, L"Bolt",
                           L"p", L"p", L"p"},
                          {mirex, false, L"Gear_xSET_1", L"p", L"Gear", L"Gear"},
                          {mirex, false, L"Bolt*DIT3", L"p_xSET_2", L"p", L"Bolt*DIT3"}}) {
        sglModelLoader::m_sbNodeFeatureName = row.featureNames;
        const std::wstring part = WritePart("p.okt", 1.0);
        const RootPtr root =
            ParseEbom(WriteEbom(Ebom(Top(row.name, row.id, Position(0, 0, 0)),
                                     Reference(row.id, part), Document(L"okt", row.id, part))),
                      row.configure);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(dynamic_cast<sglGroup*>(root->GetSglRoot())->getChild(0)->getName(),
                  row.transformName);
        EXPECT_EQ(Property(Groups(AssyRoot(root))[0], L"Actor.Name"), row.xmlName);
    }
}

TEST_F(EbomAssyTest, IdentifiersFromNamesRestartWithEachSiblingListAndNodeTypesMarkProeDocuments) {
    sglModelLoader::m_suiIdentType = 1;
    const std::wstring part = WritePart("p.okt", 1.0);
    // p's document is also a ProE part, s a ProE assembly, t the same document as p.
    const RootPtr root = ParseEbom(WriteEbom(Ebom(
        Top(L"X", L"p", Position(0, 0, 0)) + Top(L"X", L"p", Position(1, 0, 0)) +
            Top(L"S", L"s", Position(0, 0, 0), Child(L"X", L"p", Position(0, 0, 0))) +
            Top(L"T", L"t", Position(0, 0, 0), Child(L"X", L"p", Position(0, 0, 0))),
        Reference(L"p", part),
        Document(L"okt", L"p", part) + Document(L"proe", L"p", L"/x/bolt.prt.3") +
            Document(L"proe", L"s", L"/x/sub.asm") + Document(L"proe", L"t", L"/x/bolt.prt.3"))));
    ASSERT_NE(root, nullptr);
    std::map<CString, unsigned int> fresh;
    EXPECT_EQ(AssyRoot(root)->GetAttributeValue(L"Ident"),
              CTamIO::CreateGuid(L"Asm", fresh, GUID_TYPE_NODE, -1).str());
    const auto top = Groups(AssyRoot(root));
    ASSERT_EQ(top.size(), 4u);
    EXPECT_NE(top[0]->GetAttributeValue(L"Ident"), top[1]->GetAttributeValue(L"Ident"));
    const Node inS = top[2]->GetNodeByTag(L"CTamAssyGroup");
    EXPECT_EQ(inS->GetAttributeValue(L"Ident"), top[0]->GetAttributeValue(L"Ident"));
    EXPECT_EQ(top[0]->GetAttributeValue(L"NodeType"), L"1");
    EXPECT_EQ(top[2]->GetAttributeValue(L"NodeType"), L"2");
    EXPECT_EQ(inS->GetAttributeValue(L"NodeType"), L"1");
    EXPECT_FALSE(top[3]->GetNodeByTag(L"CTamAssyGroup")->HasAttribute(L"NodeType"))
        << "the same document as its parent";
}

TEST_F(EbomAssyTest, FiveDistinctPartsPlacedEighteenTimesAreFacetedOnce) {
    std::wstring references, documents, instances;
    for (int i = 0; i < 5; ++i) {
        const std::wstring id = L"p" + std::to_wstring(i);
        const std::wstring path = WritePart("part" + std::to_string(i) + ".okt", 1.0 + i);
        references += Reference(id, path);
        documents += Document(L"okt", id, path);
    }
    // Six at the top, twelve in three sub-assemblies of four.
    for (int i = 0; i < 6; ++i)
        instances += Top(L"I", L"p" + std::to_wstring(i % 5), Position(10.f * i, 0, 0));
    for (int s = 0; s < 3; ++s) {
        std::wstring children;
        for (int i = 0; i < 4; ++i)
            children += Child(L"C", L"p" + std::to_wstring((s + i) % 5), Position(0, 10.f * i, 0));
        instances += Top(L"S", L"sub", Position(0, 0, 10.f * s), children);
    }
    const RootPtr root = ParseEbom(WriteEbom(Ebom(instances, references, documents)));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(LeafTransforms(root->GetSglRoot()), 18u);
    EXPECT_EQ(LoadedPaths().size(), 5u);
    // The geodes of a placed part carry its instance name.
    EXPECT_EQ(Record(Geodes(dynamic_cast<sglGroup*>(root->GetSglRoot())->getChild(0))[0])
                  .GetAssemblyName(),
              L"I");
    // Every face faceting makes its own strip set, and clones share them: 5 boxes of 6 faces.
    EXPECT_EQ(DistinctStripSets(root->GetSglRoot()), 30u);
}

TEST(MetaCollectorTest, FilesParamsByDocumentAndWritesThemForNodesNotNamedAfterPartFiles) {
    const std::string xml =
        "<U><UserDefinedAttribute Name=\"Bolt.prt\"><Param Name=\"\" Value=\"x\"/>"
        "</UserDefinedAttribute><UserDefinedAttribute Name=\"Bolt\"><Param Name=\"Part Number\""
        " Value=\"1\"/><Param Name=\"Mass\" Value=\"2\"/></UserDefinedAttribute>"
        "<UserDefinedAttribute Name=\"Nut.prt\"><Param Name=\"Old\" Value=\"0\"/>"
        "</UserDefinedAttribute><UserDefinedAttribute Name=\"Nut\"><Param Name=\"New\" "
        "Value=\"1\"/></UserDefinedAttribute></U>";
    CTamXmlParserDocu source, out;
    ASSERT_TRUE(source.loadFromMemory(xml.data(), xml.size()));
    CTamMetaCollector collector;
    for (const Node& attribute : source.getDocumentElement()->getChildNodes())
        collector.AddUserDefinedAttribute(attribute);
    const Node top = out.initialize()->AddNode(L"Out");
    auto written = [&](const std::wstring& name) {
        const Node neutral = top->AddNode(L"Neutral");
        collector.WriteMetaProperties(name, neutral);
        Texts elements;
        for (const Node& element : neutral->getChildNodes())
            elements.push_back(element->getName() + L"=" + element->GetAttributeValue(L"Value"));
        return elements;
    };
    EXPECT_EQ(written(L"Bolt.asm"), (Texts{L"Meta.Mass=2", L"Meta.Part_Number=1"}));
    EXPECT_EQ(written(L"Bolt"), written(L"Bolt.asm"));
    EXPECT_TRUE(written(L"Bolt.prt").empty() && written(L"Washer").empty());
    EXPECT_EQ(written(L"Nut"), (Texts{L"Meta.New=1"})) << "the later one";
    const Node definitions = top->AddNode(L"MetaProperties");
    collector.WriteMetaDefinitions(definitions);
    EXPECT_EQ(definitions->getChildNodes().size(), 3u);
}

}  // namespace
