// Loading and saving XML documents in every supported encoding, and refusing bad input.
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include "xml_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using tamtest::Bytes;

namespace {

// Content with a two-byte, a three-byte and a four-byte (surrogate pair) character.
const std::wstring kName = L"Pi\u00e8ce \u6f22 \U0001D11E";
const std::wstring kBody = L"<EBOM><Part Name=\"" + kName + L"\">1,5</Part><Part/></EBOM>";
const std::string kBodyUtf8 =
    "<EBOM><Part Name=\"Pi\xC3\xA8"
    "ce \xE6\xBC\xA2 \xF0\x9D\x84\x9E\">1,5</Part><Part/></EBOM>";

void ExpectTestContent(const CTamXmlParserDocu& doc) {
    std::shared_ptr<CTamXmlParserNode> root = doc.getDocumentElement();
    ASSERT_FALSE(root->isEmpty());
    EXPECT_EQ(root->getName(), L"EBOM");
    std::shared_ptr<CTamXmlParserNode> part = root->GetNodeByTag(L"Part");
    EXPECT_EQ(part->GetAttributeValue(L"Name"), kName);
    EXPECT_EQ(part->getText(), L"1,5");
    EXPECT_EQ(root->GetNodesByTag(L"Part").size(), 2u);
}

struct EncodingCase {
    std::string label;
    Bytes bytes;
};

// UTF-8, UTF-16 LE and UTF-16 BE, each with and without byte-order mark and declaration.
std::vector<EncodingCase> EncodingCases() {
    const std::wstring decl16 = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n";
    const std::string decl8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    std::vector<EncodingCase> cases;
    for (const bool bom : {false, true}) {
        for (const bool decl : {false, true}) {
            const std::string label = std::string(bom ? " bom" : "") + (decl ? " decl" : "");
            cases.push_back({"utf8" + label, tamtest::Utf8((decl ? decl8 : "") + kBodyUtf8, bom)});
            for (const bool big : {false, true})
                cases.push_back({(big ? "utf16be" : "utf16le") + label,
                                 tamtest::Utf16((decl ? decl16 : L"") + kBody, big, bom)});
        }
    }
    return cases;
}

}  // namespace

TEST(XmlDocumentLoad, ReadsEveryEncodingWithAndWithoutMarkAndDeclarationAndBackslashes) {
    tamtest::ScratchFolder folder;
    for (const EncodingCase& c : EncodingCases()) {
        SCOPED_TRACE(c.label);
        const std::wstring path = folder.file("in.xml");
        tamtest::writeFile(path, std::string(c.bytes.begin(), c.bytes.end()));
        CTamXmlParserDocu doc;
        ASSERT_TRUE(doc.load(path))
            << std::string(doc.getLastError().begin(), doc.getLastError().end());
        EXPECT_TRUE(doc.getLastError().empty());
        ExpectTestContent(doc);
    }
    std::wstring backslashed = folder.file("in.xml");
    std::replace(backslashed.begin(), backslashed.end(), L'/', L'\\');
    CTamXmlParserDocu doc;
    EXPECT_TRUE(doc.load(backslashed));
}

TEST(XmlDocumentSave, WritesUtf16LittleEndianWithMarkAndReadsBack) {
    tamtest::ScratchFolder folder;
    CTamXmlParserDocu doc;
    std::shared_ptr<CTamXmlParserNode> root = doc.initialize();
    EXPECT_TRUE(doc.setDeclarationNode());
    std::shared_ptr<CTamXmlParserNode> rvd = root->AddNode(L"DocumentRVD");
    rvd->AddAttribute(L"Version", L"7.900000");
    std::shared_ptr<CTamXmlParserNode> name = rvd->AddNode(L"Actor.Name");
    name->AddAttribute(L"Value", kName + L" <&\"'>");
    name->setText(L"a < b & c");

    const std::wstring path = folder.file("out.rvdXml");
    ASSERT_TRUE(doc.save(path));
    EXPECT_EQ(tamtest::readFile(path).substr(0, 4), std::string("\xFF\xFE<\0", 4));

    CTamXmlParserDocu back;
    ASSERT_TRUE(back.load(path));
    std::shared_ptr<CTamXmlParserNode> rvdBack = back.getDocumentElement();
    EXPECT_EQ(rvdBack->getName(), L"DocumentRVD");
    EXPECT_EQ(rvdBack->GetAttributeValue(L"Version"), L"7.900000");
    std::shared_ptr<CTamXmlParserNode> nameBack = rvdBack->GetNodeByTag(L"Actor.Name");
    EXPECT_EQ(nameBack->GetAttributeValue(L"Value"), kName + L" <&\"'>");
    EXPECT_EQ(nameBack->getText(), L"a < b & c");
    // The declaration comes first on its own line; a second call replaces it.
    doc.setDeclarationNode();
    const std::wstring text = doc.toString();
    EXPECT_EQ(text.rfind(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n", 0), 0u);
    EXPECT_EQ(text.find(L"<?xml", 1), std::wstring::npos);
}

TEST(XmlDocumentSave, FailsOnAnUnwritableTargetAndReplacesAnExistingFileCompletely) {
    tamtest::ScratchFolder folder;
    CTamXmlParserDocu doc;
    doc.initialize()->AddNode(L"Root");
    EXPECT_FALSE(doc.save(folder.file("missing-folder/out.xml")));
    EXPECT_FALSE(doc.getLastError().empty());
    EXPECT_FALSE(doc.save(L""));
    const std::wstring path = folder.file("out.xml");
    tamtest::writeFile(path, std::string(5000, 'x'));
    ASSERT_TRUE(doc.save(path));
    CTamXmlParserDocu back;
    ASSERT_TRUE(back.load(path));
    EXPECT_EQ(back.getDocumentElement()->getName(), L"Root");
}

TEST(XmlDocumentLoad, RefusesBadInputWithAnEmptyDocument) {
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", Bytes()},
        {"blank only", tamtest::Utf8("  \n ", false)},
        {"unclosed tag", tamtest::Utf8("<a><b></a>", false)},
        {"two roots", tamtest::Utf8("<a/><b/>", false)},
        {"text only", tamtest::Utf8("hello", false)},
        {"text beside the root", tamtest::Utf8("hello<a/>", false)},
        {"cdata beside the root", tamtest::Utf8("<a/><![CDATA[x]]>", false)},
        {"utf8 stray continuation", tamtest::Utf8("<a>\x80</a>", false)},
        {"utf8 truncated sequence", tamtest::Utf8("<a>\xC3</a>", false)},
        {"utf8 overlong slash", tamtest::Utf8("<a>\xC0\xAF</a>", false)},
        {"utf8 encoded surrogate", tamtest::Utf8("<a>\xED\xA0\x80</a>", false)},
        {"utf8 above U+10FFFF", tamtest::Utf8("<a>\xF4\x90\x80\x80</a>", false)},
        {"utf8 NUL", Bytes{'<', 'a', '>', 0, '<', '/', 'a', '>'}},
        {"utf16 odd length",
         [] {
             Bytes b = tamtest::Utf16(L"<a/>", false, true);
             b.push_back('x');
             return b;
         }()},
        {"utf16 lone high surrogate", tamtest::Utf16(L"<a>\xD800</a>", false, true)},
        {"utf16 lone low surrogate", tamtest::Utf16(L"<a>\xDC00</a>", true, true)},
        {"utf16 bom only", Bytes{0xFF, 0xFE}},
    };
    for (const auto& [label, bytes] : cases) {
        SCOPED_TRACE(label);
        CTamXmlParserDocu doc;
        doc.initialize()->AddNode(L"Previous");
        EXPECT_FALSE(doc.loadFromMemory(bytes.data(), bytes.size()));
        EXPECT_FALSE(doc.getLastError().empty());
        EXPECT_TRUE(doc.getDocumentElement()->isEmpty());
        EXPECT_FALSE(doc.getRootNode()->isEmpty());
    }
}

// Damaged content is refused the same from a file (the in-memory cases above); here the paths.
TEST(XmlDocumentLoad, RefusesMissingAndUnreadablePaths) {
    tamtest::ScratchFolder folder;
    for (const std::wstring& path : {folder.file("absent.xml"), folder.folder(), std::wstring()}) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        CTamXmlParserDocu doc;
        EXPECT_FALSE(doc.load(path));
        EXPECT_FALSE(doc.getLastError().empty());
        EXPECT_TRUE(doc.getDocumentElement()->isEmpty());
    }
}

TEST(XmlDocumentLoad, EveryTruncationOfAUtf16DocumentIsHandled) {
    const Bytes full =
        tamtest::Utf16(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n" + kBody, false, true);
    const std::size_t lastBracket = full.size() - 2;  // the code unit of the final '>'
    for (std::size_t length = 0; length < full.size(); ++length) {
        CTamXmlParserDocu doc;
        const bool loaded = doc.loadFromMemory(full.data(), length);
        EXPECT_FALSE(loaded && length <= lastBracket) << "prefix of " << length << " bytes";
    }
    CTamXmlParserDocu doc;
    EXPECT_TRUE(doc.loadFromMemory(full.data(), full.size()));
}

// Nodes handed out stay valid through a failed reload and after their document is gone.
TEST(XmlDocumentLoad, NodesHandedOutOutliveAFailedReloadAndTheirDocument) {
    std::shared_ptr<CTamXmlParserNode> part;
    {
        auto doc = std::make_shared<CTamXmlParserDocu>(TamXMLLIB);
        const Bytes good = tamtest::Utf8(kBodyUtf8, false);
        ASSERT_TRUE(doc->loadFromMemory(good.data(), good.size()));
        part = doc->getDocumentElement()->GetNodeByTag(L"Part");
        const Bytes bad = tamtest::Utf8("<broken", false);
        EXPECT_FALSE(doc->loadFromMemory(bad.data(), bad.size()));
        EXPECT_EQ(part->GetAttributeValue(L"Name"), kName);
    }
    EXPECT_EQ(part->getText(), L"1,5");
}
