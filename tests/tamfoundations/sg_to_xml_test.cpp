// Frames, selections and geometry entries written to XML and read back, drawables shared by
// cloned geodes written once and read back shared.
#include <tamfoundations/CTamSGToXML.h>
#include <tamfoundations/CTamXMLToSG.h>

#include <tamsg/sglGroup.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/CTamUserData.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include "foundations_test_support.h"

#include <gtest/gtest.h>

namespace {

using NodePtr = std::shared_ptr<CTamXmlParserNode>;

// A part: a named red quad geode with user data, a translated blue quad with two passes, a line
// geode and a clone of the first geode sharing its drawable.
sglGroup* MakePart() {
    auto* part = new sglGroup;
    sglGeode* face = tamtest::MakeGeode(L"Bolt", {tamtest::MakeQuad(0, 1, 0, 0)});
    auto* record = new CTamUserData;
    record->SetGuid(L"{G}");
    record->SetLayer(12);
    record->SetArea(2.5f);
    record->SetIssuedFrom(L"bolt.okt");
    record->SetCofG(sglVec3<float>(0.5f, 0.5f, 0));
    record->SetEntityKind(1);
    record->SetVisible(false);
    record->SetLabel(L"L\u00e4bel <&>");
    face->setUserData(record);
    part->addChild(face, true);
    auto* placed = new sglTransform<float>;
    placed->setMatrix(sglMat4<float>::translation(sglVec3<float>(0, 0, 7.25f)));
    placed->addChild(tamtest::MakeGeode(L"Bolt", {tamtest::MakeQuad(1, 0, 0, 1, 0),
                                                  tamtest::MakeQuad(1, 0, 0, 1, 1)}),
                     true);
    part->addChild(placed, true);
    part->addChild(tamtest::MakeGeode(L"edge", {tamtest::MakeLine()}), true);
    part->addChild(face->clone(3), true);
    return part;
}

std::size_t Count(const std::wstring& text, const std::wstring& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

const sglGeode* GeodeAt(const sglGroup& group, unsigned int index) {
    const sglNode* node = group.getChild(index);
    if (const auto* transform = dynamic_cast<const sglTransform<float>*>(node)) {
        node = transform->getChild(0);
    }
    return dynamic_cast<const sglGeode*>(node);
}

void ExpectSameDrawable(const sglGeoSet& a, const sglGeoSet& b) {
    ASSERT_EQ(a.getNumCoords(), b.getNumCoords());
    for (unsigned int i = 0; i < a.getNumCoords(); ++i)
        EXPECT_EQ(a.getCoord(i), b.getCoord(i));
    EXPECT_EQ(a.getNumPrims(), b.getNumPrims());
    EXPECT_EQ(a.getNumNormals(), b.getNumNormals());
    EXPECT_EQ(a.getNumColors(), b.getNumColors());
    EXPECT_EQ(a.getState(0).size(), b.getState(0).size());
}

// Checks the group read back against MakePart's content.
void ExpectPartContent(const sglGroup& back) {
    ASSERT_EQ(back.getNumChildren(), 4u);
    const sglGeode* face = GeodeAt(back, 0);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->getName(), L"Bolt");
    const auto* record = dynamic_cast<const CTamUserData*>(face->getUserData());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetGuid(), L"{G}");
    EXPECT_EQ(record->GetLayer(), 12);
    EXPECT_FLOAT_EQ(record->GetArea(), 2.5f);
    EXPECT_EQ(record->GetIssuedFrom(), L"bolt.okt");
    EXPECT_EQ(record->GetCofG(), sglVec3<float>(0.5f, 0.5f, 0));
    EXPECT_FALSE(record->GetVisible());
    EXPECT_EQ(record->GetLabel(), L"L\u00e4bel <&>");
    sglGroup* expected = MakePart();
    expected->ref();
    ExpectSameDrawable(*face->getGeometry(0), *GeodeAt(*expected, 0)->getGeometry(0));

    const auto* placed = dynamic_cast<const sglTransform<float>*>(back.getChild(1));
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->getMatrix().getTranslation(), sglVec3<float>(0, 0, 7.25f));
    const auto* lod = dynamic_cast<const sglLOD*>(placed->getChild(0));
    ASSERT_NE(lod, nullptr);
    EXPECT_EQ(lod->getNumChildren(), 2u);
    const sglGeode* edge = GeodeAt(back, 2);
    ASSERT_NE(edge, nullptr);
    ExpectSameDrawable(*edge->getGeometry(0), *GeodeAt(*expected, 2)->getGeometry(0));
    ASSERT_NE(GeodeAt(back, 3), nullptr);
    EXPECT_EQ(GeodeAt(back, 3)->getGeometry(0), face->getGeometry(0));
    expected->unref();
}

}  // namespace

TEST(SGToXMLFrame, FrameReadsBackExactlySelectionNamesTheSelectedNode) {
    CTamXmlParserDocu doc;
    NodePtr location = doc.initialize()->AddNode(L"Actor.Location");
    const float values[16] = {0.1f, 1, 0, 0, -1, 1e-7f, 0, 0, 0, 0, 1, 0, 1e6f, -2.5f, 3, 1};
    ASSERT_TRUE(CTamSGToXML::AddFrame(location, sglMat4<float>(values), L"Frame"));
    sglMat4<float> back;
    ASSERT_TRUE(CTamXMLToSG::ReadFrame(location->GetNodeByTag(L"Frame"), back));
    EXPECT_EQ(back, sglMat4<float>(values));

    sglMat4<float> untouched;
    location->GetNodeByTag(L"Frame")->AddAttribute(L"Matrix", L"1 0 0");
    EXPECT_FALSE(CTamXMLToSG::ReadFrame(location->GetNodeByTag(L"Frame"), untouched));
    EXPECT_FALSE(CTamXMLToSG::ReadFrame(nullptr, untouched));
    EXPECT_TRUE(untouched.isIdentity());
    EXPECT_FALSE(CTamSGToXML::AddFrame(nullptr, untouched, L"Frame"));
    // A selection names the selected node.
    NodePtr server = doc.getRootNode()->AddNode(L"Server");
    sglGroup root;
    root.setName(L"Assembly");
    ASSERT_TRUE(CTamSGToXML::AddSelectionToXMLDoc(server, &root));
    NodePtr node = server->GetNodeByTag(L"Selection")->GetNodeByTag(L"Node");
    EXPECT_EQ(node->GetAttributeValue(L"Name"), L"Assembly");
    EXPECT_EQ(node->GetAttributeValue(L"Type"), L"sglGroup");
    EXPECT_FALSE(CTamSGToXML::AddSelectionToXMLDoc(server, nullptr));
}

TEST(SGToXMLGeometry, InlineEntryReadsBackInTextAndBase64) {
    for (bool base64 : {false, true}) {
        SCOPED_TRACE(base64);
        sglGroup* part = MakePart();
        part->ref();
        CTamXmlParserDocu doc;
        NodePtr group = doc.initialize()->AddNode(L"CTamAssyGroup");
        std::map<CString, unsigned int> idents;
        ASSERT_TRUE(
            CTamSGToXML::AddGeometryToXMLDoc(group, part, nullptr, L"", base64, true, idents));
        EXPECT_EQ(idents[L"Bolt"], 3u);
        NodePtr entry = group->GetNodeByTag(L"Geometry");
        EXPECT_FALSE(entry->GetAttributeValue(L"Ident").empty());
        const auto geodes = entry->GetNodesByTag(L"Geode");
        ASSERT_EQ(geodes.size(), 4u);
        const std::wstring text = doc.toString();
        EXPECT_EQ(Count(text, L"<Coords"), 4u);  // the clone's drawable is written once
        EXPECT_EQ(Count(text, L"Ref=\"D1\""), 1u);
        EXPECT_NE(geodes.front()->GetAttributeValue(L"Ident"),
                  (*std::next(geodes.begin()))->GetAttributeValue(L"Ident"));

        std::wstring error;
        sglGroup* back = CTamXMLToSG::ReadGeometry(entry, L"", &error);
        ASSERT_NE(back, nullptr) << std::string(error.begin(), error.end());
        back->ref();
        ExpectPartContent(*back);
        back->unref();
        part->unref();
    }
}

TEST(SGToXMLGeometry, NonRecursiveEntryHoldsOnlyAGeodeAndWorldPlacementNeedsARoot) {
    sglGroup* part = MakePart();
    part->ref();
    CTamXmlParserDocu doc;
    NodePtr element = doc.initialize()->AddNode(L"E");
    std::map<CString, unsigned int> idents;
    ASSERT_TRUE(
        CTamSGToXML::AddGeometryToXMLDoc(element, part, nullptr, L"", false, false, idents));
    EXPECT_TRUE(element->GetNodeByTag(L"Geometry")->GetNodesByTag(L"Geode").empty());
    ASSERT_TRUE(CTamSGToXML::AddGeometryToXMLDoc(element, part->getChild(0), nullptr, L"", false,
                                                 false, idents));
    EXPECT_EQ(element->GetNodesByTag(L"Geometry").back()->GetNodesByTag(L"Geode").size(), 1u);
    part->unref();
    // With a root, a geode's entry holds its world placement.
    auto* top = new sglTransform<float>;
    top->ref();
    top->setMatrix(sglMat4<float>::translation(sglVec3<float>(5, 0, 0)));
    sglGeode* geode = tamtest::MakeGeode(L"g", {tamtest::MakeQuad(0, 1, 0, 0)});
    top->addChild(geode, true);
    CTamDBRoot root;
    NodePtr placed = element->AddNode(L"P");
    ASSERT_TRUE(CTamSGToXML::AddGeometryToXMLDoc(placed, geode, &root, L"", false, true, idents));
    sglMat4<float> frame;
    ASSERT_TRUE(CTamXMLToSG::ReadFrame(
        placed->GetNodeByTag(L"Geometry")->GetNodeByTag(L"Geode")->GetNodeByTag(L"Frame"), frame));
    EXPECT_EQ(frame.getTranslation(), sglVec3<float>(5, 0, 0));
    top->unref();
}

TEST(SGToXMLGeometry, SideFileEntriesReadBackAfterTheHostWritesTheFile) {
    tamtest::ScratchFolder scratch;
    CTamSGToXML::DiscardGeometryFiles();
    sglGroup* part = MakePart();
    part->ref();
    CTamXmlParserDocu doc;
    doc.initialize();
    doc.setDeclarationNode();
    NodePtr group = doc.getRootNode()->AddNode(L"DocumentRVD")->AddNode(L"CTamAssyGroup");
    std::map<CString, unsigned int> idents;
    ASSERT_TRUE(CTamSGToXML::AddGeometryToXMLDoc(group, part, nullptr, L"out.rvdGeom", false, true,
                                                 idents));
    ASSERT_TRUE(
        CTamSGToXML::AddGeometryToXMLDoc(group, part, nullptr, L"out.rvdGeom", true, true, idents));
    NodePtr entry = group->GetNodeByTag(L"Geometry");
    EXPECT_EQ(entry->GetAttributeValue(L"File"), L"out.rvdGeom");
    EXPECT_TRUE(entry->GetNodesByTag(L"Geode").empty());
    ASSERT_EQ(CTamSGToXML::GetPendingGeometryFiles().size(), 1u);

    std::wstring error;
    EXPECT_EQ(CTamXMLToSG::ReadGeometry(entry, scratch.folder(), &error), nullptr);
    EXPECT_FALSE(error.empty());  // not written yet

    ASSERT_TRUE(CTamSGToXML::WriteGeometryFiles(scratch.folder()));
    EXPECT_TRUE(CTamSGToXML::GetPendingGeometryFiles().empty());
    ASSERT_TRUE(doc.save(scratch.file("out.rvdXml")));

    CTamXmlParserDocu reloaded;
    ASSERT_TRUE(reloaded.load(scratch.file("out.rvdXml")));
    const auto entries =
        reloaded.getDocumentElement()->GetNodeByTag(L"CTamAssyGroup")->GetNodesByTag(L"Geometry");
    ASSERT_EQ(entries.size(), 2u);
    for (const NodePtr& each : entries) {
        sglGroup* back = CTamXMLToSG::ReadGeometry(each, scratch.folder(), &error);
        ASSERT_NE(back, nullptr) << std::string(error.begin(), error.end());
        back->ref();
        ExpectPartContent(*back);
        back->unref();
    }
    // Later entries of the side file refer to the drawables of the first.
    auto side = std::make_shared<CTamXmlParserDocu>();
    ASSERT_TRUE(side->load(scratch.file("out.rvdGeom")));
    EXPECT_EQ(Count(side->toString(), L"<Coords"), 4u);
    sglGroup* viaDocument = CTamXMLToSG::ReadGeometryFrom(entries.back(), side, &error);
    ASSERT_NE(viaDocument, nullptr);
    viaDocument->ref();
    viaDocument->unref();
    for (const NodePtr& drawable : side->getDocumentElement()
                                       ->GetNodesByTag(L"Geometry")
                                       .back()
                                       ->GetNodeByTag(L"Geode")
                                       ->GetNodesByTag(L"Drawable"))
        drawable->AddAttribute(L"Ref", L"D9");
    EXPECT_EQ(CTamXMLToSG::ReadGeometryFrom(entries.back(), side, &error), nullptr);
    EXPECT_NE(error.find(L"D9"), std::wstring::npos);
    part->unref();
}

TEST(SGToXMLGeometry, DamagedEntriesAreRefusedWithAReason) {
    sglGroup* part = MakePart();
    part->ref();
    CTamXmlParserDocu doc;
    NodePtr group = doc.initialize()->AddNode(L"G");
    std::map<CString, unsigned int> idents;
    CTamSGToXML::AddGeometryToXMLDoc(group, part, nullptr, L"", false, true, idents);
    part->unref();
    const std::wstring text = doc.toString();

    auto readText = [](const std::wstring& xml, std::wstring& error) -> sglGroup* {
        std::vector<unsigned char> utf16;  // the text holds BMP characters only
        for (wchar_t c : xml) {
            utf16.push_back(static_cast<unsigned char>(c & 0xFF));
            utf16.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
        }
        CTamXmlParserDocu reread;
        EXPECT_TRUE(reread.loadFromMemory(utf16.data(), utf16.size()));
        return CTamXMLToSG::ReadGeometry(reread.getDocumentElement()->GetNodeByTag(L"Geometry"),
                                         L"", &error);
    };
    std::wstring error;
    sglGroup* intact = readText(text, error);
    ASSERT_NE(intact, nullptr);
    intact->ref();
    intact->unref();

    struct Damage {
        const wchar_t* from;
        const wchar_t* to;
    };
    const Damage damages[] = {
        {L"Kind=\"TriangleStrips\"", L"Kind=\"Spheres\""},
        {L"<Indices Count=\"4\">0 1 2 3", L"<Indices Count=\"4\">0 1 2 9"},
        {L"<Indices Count=\"4\">0 1 2 3", L"<Indices Count=\"4\">0 1 2"},
        {L"<Indices Count=\"4\">0 1 2 3", L"<Indices Count=\"4\">0 1 2 x"},
        {L"<Coords Count=\"4\" Components=\"3\">", L"<Coords Count=\"4\" Components=\"9\">"},
        {L"<PrimLengths Count=\"1\">4", L"<PrimLengths Count=\"1\">40"},
        {L"Prims=\"1\"", L"Prims=\"4294967295\""},
        {L"Prims=\"1\"", L"Prims=\"-1\""},
        {L"Binding=\"3\"", L"Binding=\"7\""},
        {L"Shininess=\"64\"", L"Shininess=\"shiny\""},
        {L"Layer=\"12\"", L"Layer=\"twelve\""},
        {L"Matrix=\"1 0 0 0", L"Matrix=\"1 0 0"},
        {L"Ref=\"D1\"", L"Ref=\"D9\""},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(std::string(damage.to, damage.to + std::wcslen(damage.to)));
        std::wstring damaged = text;
        const std::size_t at = damaged.find(damage.from);
        ASSERT_NE(at, std::wstring::npos);
        damaged.replace(at, std::wcslen(damage.from), damage.to);
        error.clear();
        EXPECT_EQ(readText(damaged, error), nullptr);
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(CTamXMLToSG::ReadGeometry(nullptr, L""), nullptr);
    EXPECT_EQ(CTamXMLToSG::ReadGeometry(group, L""), nullptr);
}
