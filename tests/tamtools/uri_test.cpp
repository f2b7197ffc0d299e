// Folder, file name and relative paths of CTamURI.
#include <tamtools/CTamURI.h>

#include <gtest/gtest.h>

TEST(TamURI, FolderAndFileName) {
    const CTamURI uri(L"C:\\work\\top/sub\\asm.rvdXml");
    EXPECT_EQ(uri.GetFolder(false), L"C:\\work\\top/sub");
    EXPECT_EQ(uri.GetFolder(true), L"C:\\work\\top/sub\\");
    EXPECT_EQ(uri.GetFileName(), L"asm.rvdXml");
    EXPECT_EQ(CTamURI(L"plain.xml").GetFolder(false), L"");
    EXPECT_EQ(CTamURI(L"plain.xml").GetFileName(), L"plain.xml");
    EXPECT_EQ(CTamURI(L"/folder/").GetFileName(), L"");
}

TEST(TamURI, RelativePaths) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* relative;
    };
    const Case cases[] = {
        {L"C:\\w\\sub\\a_asm.rvdXml", L"C:\\w", L"sub\\a_asm.rvdXml"},
        {L"C:\\w\\a.rvdXml", L"c:\\w\\", L"a.rvdXml"},
        {L"C:\\w\\b\\a.rvdXml", L"C:\\w\\c\\d", L"..\\..\\b\\a.rvdXml"},
        {L"/home/u/a.xml", L"/home/u/x", L"../a.xml"},
        {L"C:\\w\\.\\a.xml", L"C:\\w", L"a.xml"},
        {L"D:\\w\\a.xml", L"C:\\w", L""},
        {L"\\\\server\\share\\a.xml", L"\\\\server\\share", L"a.xml"},
        {L"\\\\other\\share\\a.xml", L"\\\\server\\share", L""},
        {L"a.xml", L"C:\\w", L""},
        {L"C:\\w", L"C:\\w", L""},
        {L"C:\\w", L"C:\\w\\x", L".."},
        {L"", L"C:\\w", L""},
        {L"C:\\w\\a.xml", L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CTamURI::GetRelativePath(c.path, c.folder), c.relative)
            << "path " << std::wstring(c.path).size() << " folder "
            << std::wstring(c.folder).size();
    }
}
