#include <gtest/gtest.h>

#include <platform/Bstr.h>
#include <platform/CString.h>
#include <platform/WideFormat.h>

#include <map>

TEST(CStringSearch, FindAndReverseFind) {
    const CString path(L"C:\\dir\\part.v2.step");
    EXPECT_EQ(path.Find(L'\\'), 2);
    EXPECT_EQ(path.Find(L'\\', 3), 6);
    EXPECT_EQ(path.Find(L"part"), 7);
    EXPECT_EQ(path.Find(L"none"), -1);
    EXPECT_EQ(path.Find(L'x', 99), -1);
    EXPECT_EQ(path.ReverseFind(L'.'), 14);
    EXPECT_EQ(path.ReverseFind(L'#'), -1);
    EXPECT_EQ(path.FindOneOf(L"./"), 11);
}

TEST(CStringParts, LeftMidRightClamp) {
    const CString text(L"abcdef");
    EXPECT_EQ(text.Left(2), L"ab");
    EXPECT_EQ(text.Left(-1), L"");
    EXPECT_EQ(text.Left(99), L"abcdef");
    EXPECT_EQ(text.Mid(2), L"cdef");
    EXPECT_EQ(text.Mid(2, 2), L"cd");
    EXPECT_EQ(text.Mid(99), L"");
    EXPECT_EQ(text.Mid(-3, 2), L"ab");
    EXPECT_EQ(text.Right(2), L"ef");
    EXPECT_EQ(text.Right(99), L"abcdef");
    EXPECT_EQ(text.GetAt(9), L'\0');
}

TEST(CStringEdit, CaseReplaceRemoveInsertDelete) {
    CString text(L"Part.STEP");
    EXPECT_EQ(CString(text).MakeLower(), L"part.step");
    EXPECT_EQ(CString(text).MakeUpper(), L"PART.STEP");
    EXPECT_EQ(text.Replace(L"P", L"pp"), 2);
    EXPECT_EQ(text, L"ppart.STEpp");
    EXPECT_EQ(text.Replace(L"", L"x"), 0);
    EXPECT_EQ(text.Replace(L'p', L'q'), 4);
    EXPECT_EQ(text.Remove(L'q'), 4);
    EXPECT_EQ(text, L"art.STE");
    text.Insert(0, L'P');
    text.Insert(99, L"!");
    EXPECT_EQ(text, L"Part.STE!");
    text.Delete(4, 99);
    EXPECT_EQ(text, L"Part");
    EXPECT_EQ(CString(L"abc").MakeReverse(), L"cba");
}

TEST(CStringEdit, TrimVariantsAndTokenize) {
    EXPECT_EQ(CString(L" \t a b \n").Trim(), L"a b");
    EXPECT_EQ(CString(L"xxaxx").Trim(L'x'), L"a");
    EXPECT_EQ(CString(L"-+a+-").TrimLeft(L"+-"), L"a+-");
    EXPECT_EQ(CString(L"-+a+-").TrimRight(L"+-"), L"-+a");
    EXPECT_EQ(CString(L"   ").Trim(), L"");
    // Tokenize walks the tokens.
    const CString text(L";a;;bc;");
    int pos = 0;
    EXPECT_EQ(text.Tokenize(L";", pos), L"a");
    EXPECT_EQ(text.Tokenize(L";", pos), L"bc");
    EXPECT_EQ(text.Tokenize(L";", pos), L"");
    EXPECT_EQ(pos, -1);
}

TEST(CStringFormat, PercentSIsWidePercentCapitalSNarrowAndLongOutputFits) {
    CString text;
    text.Format(L"%s=%d %S %c%%", L"n\u00e9", 42, "narrow", L'z');
    EXPECT_EQ(text, L"n\u00e9=42 narrow z%");
    text.AppendFormat(L" %ls %hs %5.2f %I64d", L"l", "h", 1.5, 1234567890123LL);
    EXPECT_EQ(text, L"n\u00e9=42 narrow z% l h  1.50 1234567890123");
    EXPECT_EQ(tam::FormatWide(nullptr), L"");
    EXPECT_EQ(tam::PortableWideFormat(L"%-10s|%S|%%s"), L"%-10ls|%s|%%s");
    // Long output grows the buffer.
    text.Format(L"[%s]", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(text.GetLength(), 5002);
}

TEST(CStringCompare, OperatorsAndMaps) {
    std::map<CString, unsigned int> ids;
    ids[CString(L"b")] = 2;
    ids[CString(L"a")] = 1;
    EXPECT_EQ(ids.begin()->second, 1u);
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_TRUE(CString(L"a") == L"a");
    EXPECT_TRUE(L"a" != CString(L"b"));
    EXPECT_EQ(CString(L"ABC").CompareNoCase(L"abc"), 0);
    EXPECT_LT(CString(L"abc").Compare(L"abd"), 0);
    CString joined = CString(L"a") + L"b" + CString(L"c") + L'd';
    joined += std::wstring(L"e");
    EXPECT_EQ(joined, L"abcde");
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(joined)), L"abcde");
}

TEST(CStringConstruct, NullNarrowAndRepeat) {
    EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
    EXPECT_EQ(CString("caf\xC3\xA9"), L"caf\u00e9");
    EXPECT_TRUE(CString("\xFF").IsEmpty());  // invalid bytes give the empty string
    EXPECT_EQ(CString(L'-', 3), L"---");
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer) {
    CString text(L"ab");
    wchar_t* buffer = text.GetBuffer(10);
    buffer[2] = L'c';
    buffer[3] = L'\0';
    text.ReleaseBuffer();
    EXPECT_EQ(text, L"abc");
    text.GetBuffer(0);
    text.ReleaseBuffer(1);
    EXPECT_EQ(text, L"a");
}

TEST(Bstr, AllocLengthAndFree) {
    BSTR text = SysAllocString(L"h\u00e9llo");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(std::wstring(text), L"h\u00e9llo");
    SysFreeString(text);
    SysFreeString(nullptr);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
}
