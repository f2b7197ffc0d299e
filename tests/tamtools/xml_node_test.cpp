// Element look-ups and changes, and the empty node that answers safely.
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::shared_ptr<CTamXmlParserDocu> Parse(const std::string& text) {
    auto doc = std::make_shared<CTamXmlParserDocu>();
    const tamtest::Bytes bytes = tamtest::Utf8(text, false);
    EXPECT_TRUE(doc->loadFromMemory(bytes.data(), bytes.size()));
    return doc;
}

std::wstring NamesOf(const std::list<std::shared_ptr<CTamXmlParserNode>>& nodes) {
    std::wstring names;
    for (const auto& node : nodes)
        names += node->getName() + L";";
    return names;
}

}  // namespace

TEST(XmlNodeLookup, ByTagFindsFirstChildElementOnly) {
    auto doc = Parse(
        "<Structure><!-- note --><?pi x?>text<Reference Identifier=\"R1\"><Reference "
        "Identifier=\"inner\"/></Reference><Root/><Reference Identifier=\"R2\"/></Structure>");
    auto structure = doc->getDocumentElement();
    EXPECT_EQ(structure->GetNodeByTag(L"Reference")->GetAttributeValue(L"Identifier"), L"R1");
    EXPECT_TRUE(structure->GetNodeByTag(L"reference")->isEmpty());  // exact comparison
    EXPECT_TRUE(structure->GetNodeByTag(L"Missing")->isEmpty());
    EXPECT_TRUE(structure->GetNodeByTag(L"pi")->isEmpty());  // instructions are no elements

    const auto references = structure->GetNodesByTag(L"Reference");
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references.back()->GetAttributeValue(L"Identifier"), L"R2");
    EXPECT_EQ(NamesOf(structure->getChildNodes()), L"Reference;Root;Reference;");
}

TEST(XmlNodeLookup, AttributesAndText) {
    auto doc = Parse(
        "<Position><c1> 1.5 </c1><c2>a<!--x-->b</c2><c3><![CDATA[<raw>]]></c3><c4/>"
        "<c5 Empty=\"\" Amp=\"a&amp;b\"/></Position>");
    const auto children = doc->getDocumentElement()->getChildNodes();
    std::vector<std::wstring> texts;
    for (const auto& child : children)
        texts.push_back(child->getText());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L" 1.5 ", L"ab", L"<raw>", L"", L""}));
    const auto c5 = children.back();
    EXPECT_EQ(c5->GetAttributeValue(L"Amp"), L"a&b");
    EXPECT_EQ(c5->GetAttributeValue(L"Missing"), L"");
    EXPECT_TRUE(c5->HasAttribute(L"Empty"));
    EXPECT_FALSE(c5->HasAttribute(L"Missing"));
}

TEST(XmlNodeLookup, BoundedTextStopsAtTheLimitInCharacters) {
    // Four characters of two UTF-8 bytes each, split over text and CDATA.
    auto doc = Parse("<c>\xC3\xA9\xC3\xA9<![CDATA[\xC3\xA9\xC3\xA9]]></c>");
    const auto element = doc->getDocumentElement();
    const struct {
        std::size_t limit;
        bool read;
        std::wstring text;
    } cases[] = {{4, true, L"\u00e9\u00e9\u00e9\u00e9"}, {3, false, L""}, {1, false, L""}};
    for (const auto& c : cases) {
        std::wstring text = L"old";
        EXPECT_EQ(element->getTextUpTo(c.limit, text), c.read) << c.limit;
        EXPECT_EQ(text, c.text) << c.limit;
    }
    std::wstring text = L"old";
    EXPECT_TRUE(CTamXmlParserNode().getTextUpTo(0, text));
    EXPECT_EQ(text, L"");
}

TEST(XmlNodeLookup, EmptyNodeAnswersEverythingSafely) {
    CTamXmlParserNode empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.getName(), L"");
    ASSERT_NE(empty.GetNodeByTag(L"a"), nullptr);
    EXPECT_TRUE(empty.GetNodeByTag(L"a")->isEmpty());
    EXPECT_TRUE(empty.GetNodesByTag(L"a").empty());
    EXPECT_TRUE(empty.getChildNodes().empty());
    EXPECT_EQ(empty.GetAttributeValue(L"a"), L"");
    EXPECT_EQ(empty.getText(), L"");
    EXPECT_TRUE(empty.getParentNode()->isEmpty());
    EXPECT_TRUE(empty.AddNode(L"a")->isEmpty());
    EXPECT_FALSE(empty.AddAttribute(L"a", L"b"));
    EXPECT_FALSE(empty.setText(L"x"));
}

TEST(XmlNodeChange, AddNodeAttributeAndSetTextBuildTheTreeAndRefuseInvalidNames) {
    CTamXmlParserDocu doc;
    auto root = doc.initialize();
    EXPECT_TRUE(root->getParentNode()->isEmpty());
    auto rvd = root->AddNode(L"DocumentRVD");
    EXPECT_FALSE(rvd->isEmpty());
    EXPECT_EQ(doc.getDocumentElement()->getName(), L"DocumentRVD");
    auto server = rvd->AddNode(L"Server");
    EXPECT_TRUE(server->AddAttribute(L"Type", L"CTamList"));
    EXPECT_TRUE(server->AddAttribute(L"Type", L"CTamServerModifiable"));  // replaces
    EXPECT_EQ(server->GetAttributeValue(L"Type"), L"CTamServerModifiable");
    EXPECT_EQ(server->getParentNode()->getName(), L"DocumentRVD");
    EXPECT_EQ(doc.toString().find(L"CTamList"), std::wstring::npos);
    // Setting text replaces the existing text and its elements.
    auto parsed = Parse("<a>old<b/>older</a>");
    auto a = parsed->getDocumentElement();
    EXPECT_TRUE(a->setText(L"new"));
    EXPECT_EQ(a->getText(), L"new");
    EXPECT_EQ(a->getChildNodes().size(), 1u);
    EXPECT_FALSE(parsed->getRootNode()->setText(L"x"));
    // Invalid names are refused.
    auto element = rvd->AddNode(L"Root");
    for (const wchar_t* name : {L"", L"1abc", L"a b", L"a<b", L"-x", L"a\"b"}) {
        SCOPED_TRACE(std::string(name, name + std::wcslen(name)));
        EXPECT_TRUE(element->AddNode(name)->isEmpty());
        EXPECT_FALSE(element->AddAttribute(name, L"v"));
    }
    EXPECT_FALSE(element->AddNode(L"Meta.Part_Number")->isEmpty());
    EXPECT_FALSE(element->AddNode(L"\u00e9l\u00e9ment")->isEmpty());
}
