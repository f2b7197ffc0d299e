#include <gtest/gtest.h>

#include <platform/CodePage.h>

#include <algorithm>
#include <string>

namespace {

const std::string kUtf8 = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\xA9";  // Café € and a U+1F529
const std::wstring kWide = L"Caf\u00e9 \u20ac \U0001F529";

}  // namespace

TEST(CodePage, Utf8RoundTrip) {
    std::wstring wide;
    ASSERT_TRUE(tam::Utf8ToWide(kUtf8, wide));
    EXPECT_EQ(wide, kWide);
    std::string back;
    ASSERT_TRUE(tam::WideToUtf8(wide, back));
    EXPECT_EQ(back, kUtf8);
    // The ANSI code page under the C locale is UTF-8.
    EXPECT_EQ(tam::ToWide(kUtf8), kWide);
    EXPECT_EQ(tam::ToNarrow(kWide), kUtf8);
}

// Strict conversions fail on invalid bytes; the replacing one puts U+FFFD for each byte that
// starts no valid sequence.
TEST(CodePage, InvalidBytesFailCleanlyOrAreReplaced) {
    const struct {
        const char* bytes;
        size_t replacements;
    } invalid[] = {
        {"\x80", 1},              // stray continuation byte
        {"\xC3", 1},              // truncated two-byte sequence
        {"\xE2\x82", 2},          // truncated three-byte sequence
        {"\xC0\xAF", 2},          // overlong '/'
        {"\xE0\x80\xAF", 3},      // overlong '/'
        {"\xED\xA0\x80", 3},      // encoded surrogate
        {"\xF4\x90\x80\x80", 4},  // above U+10FFFF
        {"\xFF", 1},              // never valid
        {"ok\xC3(", 1},           // bad continuation in the middle
    };
    for (const auto& c : invalid) {
        std::wstring out = L"previous";
        EXPECT_FALSE(tam::NarrowToWide(c.bytes, out)) << c.bytes;
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, c.bytes, -1, nullptr, 0), 0);
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, c.bytes, -1, nullptr, 0), 0);
        EXPECT_FALSE(tam::IsUtf8(c.bytes, std::char_traits<char>::length(c.bytes)));
        const std::wstring replaced = tam::Utf8ToWideReplacing(c.bytes);
        EXPECT_EQ(std::count(replaced.begin(), replaced.end(), L'\uFFFD'),
                  static_cast<std::ptrdiff_t>(c.replacements))
            << c.bytes;
    }
    EXPECT_EQ(tam::Utf8ToWideReplacing("ok\xC3("), L"ok\uFFFD(");
}

TEST(CodePage, EveryTruncationOfAValidTextIsHandled) {
    for (size_t length = 0; length <= kUtf8.size(); ++length) {
        std::wstring out;
        const bool ok = tam::Utf8ToWide(kUtf8.substr(0, length), out);
        // Cuts between characters succeed with a prefix; cuts inside a character fail.
        if (ok) {
            EXPECT_EQ(kWide.compare(0, out.size(), out), 0);
        }
    }
}

TEST(CodePage, WideCharactersOutsideUnicodeFail) {
    const std::wstring surrogate(1, static_cast<wchar_t>(0xD800));
    const std::wstring tooLarge(1, static_cast<wchar_t>(0x110000));
    std::string out = "previous";
    EXPECT_FALSE(tam::WideToNarrow(surrogate, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(tam::WideToUtf8(tooLarge, out));
    EXPECT_EQ(tam::WideToUtf8Replacing(surrogate + L"a" + tooLarge),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
    BOOL usedDefault = TRUE;
    EXPECT_EQ(
        WideCharToMultiByte(CP_ACP, 0, surrogate.c_str(), -1, nullptr, 0, nullptr, &usedDefault),
        0);
    EXPECT_EQ(usedDefault, FALSE);
}

TEST(CodePage, WindowsStyleLengthsAndBuffers) {
    // -1 counts the terminator; a zero destination length asks for the size.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, nullptr, 0), 3);
    wchar_t small[2];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, small, 2), 0);
    wchar_t buffer[9];  // eight characters and the terminator
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kUtf8.c_str(), -1, buffer, 8), 0);
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, kUtf8.c_str(), -1, buffer, 9), 9);
    EXPECT_EQ(std::wstring(buffer), kWide);
    char narrow[16];
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00e9", -1, narrow, 16, nullptr, nullptr), 3);
    EXPECT_STREQ(narrow, "\xC3\xA9");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, buffer, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, buffer, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, buffer, 8), 0);  // unknown code page
}
