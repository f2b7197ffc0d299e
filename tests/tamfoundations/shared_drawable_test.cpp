// Drawables shared by cloned geodes are written once and read back shared.
#include <tamfoundations/CTamSGToXML.h>
#include <tamfoundations/CTamXMLToSG.h>
#include <tamsg/sglGroup.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include "foundations_test_support.h"

#include <gtest/gtest.h>

namespace {

using NodePtr = std::shared_ptr<CTamXmlParserNode>;

// A group of a geode and its clone(3), which shares the geode's drawable.
sglGroup* MakeTwoClones() {
    auto* group = new sglGroup;
    sglGeode* geode = tamtest::MakeGeode(L"Plate", {tamtest::MakeQuad(0, 1, 0, 0)});
    group->addChild(geode, true);
    group->addChild(geode->clone(3), true);
    return group;
}

std::size_t Count(const std::wstring& text, const std::wstring& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(SharedDrawables, ClonesShareOneWrittenDrawableAndReadBackShared) {
    sglGroup* clones = MakeTwoClones();
    clones->ref();
    CTamXmlParserDocu doc;
    NodePtr element = doc.initialize()->AddNode(L"E");
    std::map<CString, unsigned int> idents;
    ASSERT_TRUE(
        CTamSGToXML::AddGeometryToXMLDoc(element, clones, nullptr, L"", false, true, idents));
    clones->unref();
    const std::wstring text = doc.toString();
    EXPECT_EQ(Count(text, L"<Coords"), 1u);
    EXPECT_EQ(Count(text, L"Ref=\"D1\""), 1u);

    std::wstring error;
    sglGroup* back = CTamXMLToSG::ReadGeometry(element->GetNodeByTag(L"Geometry"), L"", &error);
    ASSERT_NE(back, nullptr) << std::string(error.begin(), error.end());
    back->ref();
    ASSERT_EQ(back->getNumChildren(), 2u);
    const auto* first = dynamic_cast<const sglGeode*>(back->getChild(0));
    const auto* second = dynamic_cast<const sglGeode*>(back->getChild(1));
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_EQ(first->getGeometry(0), second->getGeometry(0));
    back->unref();
}

TEST(SharedDrawables, SideFileEntriesReferToTheFirstAndDanglingReferencesAreRefused) {
    tamtest::ScratchFolder scratch;
    CTamSGToXML::DiscardGeometryFiles();
    sglGroup* clones = MakeTwoClones();
    clones->ref();
    CTamXmlParserDocu doc;
    NodePtr element = doc.initialize()->AddNode(L"E");
    std::map<CString, unsigned int> idents;
    for (unsigned int i = 0; i < 2; ++i)
        ASSERT_TRUE(CTamSGToXML::AddGeometryToXMLDoc(element, clones->getChild(i), nullptr,
                                                     L"s.rvdGeom", false, true, idents));
    clones->unref();
    ASSERT_TRUE(CTamSGToXML::WriteGeometryFiles(scratch.folder()));
    auto side = std::make_shared<CTamXmlParserDocu>();
    ASSERT_TRUE(side->load(scratch.file("s.rvdGeom")));
    EXPECT_EQ(Count(side->toString(), L"<Coords"), 1u);

    std::wstring error;
    for (const NodePtr& entry : element->GetNodesByTag(L"Geometry")) {
        sglGroup* back = CTamXMLToSG::ReadGeometryFrom(entry, side, &error);
        ASSERT_NE(back, nullptr) << std::string(error.begin(), error.end());
        back->ref();
        back->unref();
    }
    for (const NodePtr& drawable : side->getDocumentElement()
                                       ->GetNodesByTag(L"Geometry")
                                       .back()
                                       ->GetNodeByTag(L"Geode")
                                       ->GetNodesByTag(L"Drawable"))
        drawable->AddAttribute(L"Ref", L"D9");
    EXPECT_EQ(
        CTamXMLToSG::ReadGeometryFrom(element->GetNodesByTag(L"Geometry").back(), side, &error),
        nullptr);
    EXPECT_NE(error.find(L"D9"), std::wstring::npos);
}
