#include <gtest/gtest.h>

#include <platform/Guid.h>

#include <set>
#include <string>

namespace {

// Matches 8-4-4-4-12 upper-case hexadecimal groups with version 4 and the RFC 4122 variant.
bool HasGuidForm(const std::wstring& text) {
    static const std::wstring layout = L"xxxxxxxx-xxxx-4xxx-vxxx-xxxxxxxxxxxx";
    if (text.size() != layout.size())
        return false;
    const std::wstring hex = L"0123456789ABCDEF";
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t want = layout[i];
        const wchar_t got = text[i];
        if (want == L'x' && hex.find(got) == std::wstring::npos)
            return false;
        if (want == L'v' && std::wstring(L"89AB").find(got) == std::wstring::npos)
            return false;
        if ((want == L'-' || want == L'4') && got != want)
            return false;
    }
    return true;
}

}  // namespace

TEST(Guid, NewTextsDifferAndHaveTheUsualFormVersionAndVariant) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::wstring text = tam::NewGuidText();
        EXPECT_TRUE(HasGuidForm(text)) << std::string(text.begin(), text.end());
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 1000u);
    const std::wstring braced = tam::GuidToText(tam::NewGuid(), true);
    EXPECT_EQ(braced.size(), 38u);
    EXPECT_EQ(braced.front(), L'{');
}

TEST(Guid, TextRoundTripAndMalformedText) {
    const tam::Guid guid = tam::NewGuid();
    tam::Guid parsed;
    ASSERT_TRUE(tam::GuidFromText(tam::GuidToText(guid, true), parsed));
    EXPECT_EQ(tam::GuidToText(parsed), tam::GuidToText(guid));
    ASSERT_TRUE(tam::GuidFromText(L"0123abcd-0000-4000-8000-00000000beef", parsed));
    EXPECT_EQ(parsed.data1, 0x0123abcdu);
    EXPECT_EQ(parsed.data4[7], 0xefu);
    const wchar_t* const malformed[] = {
        L"", L"0123abcd-0000-4000-8000-00000000bee", L"0123abcd00000-4000-8000-00000000beef",
        L"0123abcg-0000-4000-8000-00000000beef", L"{0123abcd-0000-4000-8000-00000000beef"};
    for (const wchar_t* text : malformed)
        EXPECT_FALSE(tam::GuidFromText(text, parsed)) << text;
}
