// Identifiers and metadata names of CTamIO.
#include <tamfoundations/CTamIO.h>

#include <tamsg/sglGroup.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// True when text follows the pattern, where 'X' stands for an upper-case hexadecimal digit and
// every other character for itself.
bool Matches(const CString& text, const std::wstring& pattern) {
    const std::wstring& wide = text.str();
    if (wide.size() != pattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        const bool hex = (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F');
        if (pattern[i] == L'X' ? !hex : c != pattern[i]) {
            return false;
        }
    }
    return true;
}

const std::wstring kHyphens = L"XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";
const std::wstring kBraced = L"{" + kHyphens + L"}";

}  // namespace

TEST(CTamIOGuid, RandomInEveryFormStableAndDistinctForSiblingsAnExplicitIndexLeavesTheMap) {
    EXPECT_TRUE(Matches(CTamIO::CreateGuid(TAM_GUID_BRACES), kBraced));
    EXPECT_TRUE(Matches(CTamIO::CreateGuid(8), kBraced));
    EXPECT_TRUE(Matches(CTamIO::CreateGuid(99), kBraced));
    EXPECT_TRUE(Matches(CTamIO::CreateGuid(TAM_GUID_DIGITS), std::wstring(32, L'X')));
    EXPECT_TRUE(Matches(CTamIO::CreateGuid(TAM_GUID_HYPHENS), kHyphens));
    std::set<std::wstring> seen;
    for (int i = 0; i < 100; ++i) {
        EXPECT_TRUE(seen.insert(CTamIO::CreateGuid(8).str()).second);
    }
    std::map<CString, unsigned int> first;
    const CString a0 = CTamIO::CreateGuid(L"Bolt", first, GUID_TYPE_NODE, -1);
    const CString a1 = CTamIO::CreateGuid(L"Bolt", first, GUID_TYPE_NODE, -1);
    const CString b0 = CTamIO::CreateGuid(L"Nut", first, GUID_TYPE_NODE, -1);
    EXPECT_TRUE(Matches(a0, kBraced));
    EXPECT_NE(a0, a1);
    EXPECT_NE(a0, b0);
    EXPECT_EQ(first[L"Bolt"], 2u);

    std::map<CString, unsigned int> second;  // a new sibling list starts again
    EXPECT_EQ(CTamIO::CreateGuid(L"Bolt", second, GUID_TYPE_NODE, -1), a0);
    EXPECT_EQ(CTamIO::CreateGuid(L"Bolt", second, GUID_TYPE_NODE, -1), a1);
    std::map<CString, unsigned int> third;
    EXPECT_NE(CTamIO::CreateGuid(L"Bolt", third, GUID_TYPE_REFERENCED_NODE, -1), a0);
    EXPECT_EQ(CTamIO::CreateGuid(L"Bolt", third, GUID_TYPE_NODE, 1), a1);
    EXPECT_EQ(third[L"Bolt"], 1u);
}

TEST(CTamIOMeta, NamesAreValidatedAndDefinitionsWrittenOncePerName) {
    EXPECT_EQ(CTamIO::ValidateMetaname(L"Part Number", L'_'), CString(L"Part Number"));
    EXPECT_EQ(CTamIO::ValidateMetaname(L"  a/b:c<d>&\"e  ", L'_'), CString(L"a_b_c_d___e"));
    EXPECT_EQ(CTamIO::ValidateMetaname(L"Gewicht (kg)", L'_'), CString(L"Gewicht _kg_"));
    EXPECT_EQ(CTamIO::ValidateMetaname(L"D\u00e9signation.v-2", L'#'),
              CString(L"D\u00e9signation.v-2"));
    EXPECT_EQ(CTamIO::ValidateMetaname(L"   ", L'_'), CString(L""));
    CTamXmlParserDocu doc;
    auto meta = doc.initialize()->AddNode(L"MetaProperties");
    sglGroup first;
    first.addMetaProperty(L"Material", L"Steel");
    first.addMetaProperty(L"Material", L"Brass");
    first.addMetaProperty(L"Mass", L"12");
    sglGroup second;
    second.addMetaProperty(L"Material", L"Iron");
    second.addMetaProperty(L"Supplier", L"ACME");
    EXPECT_EQ(CTamIO::AddMetaPropertiesToXml(&first, meta), 2u);
    EXPECT_EQ(CTamIO::AddMetaPropertiesToXml(&second, meta), 1u);
    const auto definitions = meta->GetNodesByTag(L"MetaProperty");
    ASSERT_EQ(definitions.size(), 3u);
    EXPECT_EQ(definitions.front()->GetAttributeValue(L"Name"), L"Mass");
    EXPECT_EQ(definitions.front()->GetAttributeValue(L"Type"), L"String");
    EXPECT_EQ(CTamIO::AddMetaPropertiesToXml(nullptr, meta), 0u);
    EXPECT_EQ(CTamIO::AddMetaPropertiesToXml(&first, nullptr), 0u);
}
