#include <gtest/gtest.h>

#include <platform/Guid.h>

#include <regex>
#include <set>

TEST(Guid, TextHasTheUsualFormVersionAndVariant) {
    const std::wregex form(L"[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    for (int i = 0; i < 50; ++i) {
        const std::wstring text = tam::NewGuidText();
        EXPECT_TRUE(std::regex_match(text, form)) << std::string(text.begin(), text.end());
    }
    const std::wstring braced = tam::GuidToText(tam::NewGuid(), true);
    EXPECT_EQ(braced.size(), 38u);
    EXPECT_EQ(braced.front(), L'{');
}

TEST(Guid, NewIdentifiersDiffer) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 1000; ++i)
        seen.insert(tam::NewGuidText());
    EXPECT_EQ(seen.size(), 1000u);
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
