// File, path and ProE rules of CTamIO.
#include <tamfoundations/CTamIO.h>

#include "foundations_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

#include "file_bytes.h"

TEST(CTamIOPaths, PartsOfAPathWithAndWithoutRevisionAndProeDocuments) {
    struct Case {
        const wchar_t* path;
        bool revision;
        const wchar_t* base;
        const wchar_t* extension;
        const wchar_t* basePath;
    };
    const Case cases[] = {
        {L"C:\\a\\bolt.prt.3", false, L"bolt.prt", L"3", L"C:\\a\\bolt.prt"},
        {L"C:\\a\\bolt.prt.3", true, L"bolt", L"prt.3", L"C:\\a\\bolt"},
        {L"C:\\a\\sub.asm.12", true, L"sub", L"asm.12", L"C:\\a\\sub"},
        {L"/w/model.STEP", true, L"model", L"STEP", L"/w/model"},
        {L"C:\\w.x\\noext", true, L"noext", L"", L"C:\\w.x\\noext"},
        {L"C:\\a\\data.1.2", true, L"data.1", L"2", L"C:\\a\\data.1"},
        {L"C:\\a\\v.3", true, L"v", L"3", L"C:\\a\\v"},
        {L"out.rvdXml", false, L"out", L"rvdXml", L"out"},
        {L"", true, L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(CTamIO::GetFileBase(c.path, c.revision), CString(c.base));
        EXPECT_EQ(CTamIO::GetFileExtension(c.path, c.revision), CString(c.extension));
        EXPECT_EQ(CTamIO::GetFileBasePath(c.path, c.revision), CString(c.basePath));
        if (!CTamIO::GetFileExtension(c.path, c.revision).IsEmpty()) {
            EXPECT_EQ(CTamIO::GetFileBasePath(c.path, c.revision) + L"." +
                          CTamIO::GetFileExtension(c.path, c.revision),
                      CString(c.path));
        }
    }
    EXPECT_EQ(CTamIO::GetFile(L"C:\\a/b\\c.txt"), CString(L"c.txt"));
    EXPECT_EQ(CTamIO::GetFile(L"C:\\a\\"), CString(L""));
    EXPECT_EQ(CTamIO::GetRVDExtension(), CString(L"rvd"));
    struct ProeCase {
        const wchar_t* path;
        bool part;
        bool assembly;
    };
    const ProeCase proeCases[] = {
        {L"C:\\p\\bolt.prt", true, false},
        {L"bolt.prt.7", true, false},
        {L"bolt.PRT.7", false, false},
        {L"C:\\p\\top.asm.12", false, true},
        {L"top.Asm", false, false},
        {L"bolt.prt.x", false, false},
        {L"C:\\p\\.prt", false, false},
        {L"bolt.prt.", false, false},
        {L"C:\\p.asm\\bolt.step", false, false},
        {L"bolt.part", false, false},
        {L"bolt.prtx.1", false, false},
        {L"", false, false},
    };
    for (const ProeCase& c : proeCases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - proeCases));
        EXPECT_EQ(CTamIO::IsProePart(c.path), c.part);
        EXPECT_EQ(CTamIO::IsProeAssembly(c.path), c.assembly);
        EXPECT_EQ(CTamIO::IsProe(c.path), c.part || c.assembly);
    }
}

TEST(CTamIOFiles, IsFileAndCopy) {
    tamtest::ScratchFolder scratch;
    const std::wstring source = scratch.file("a.xml");
    std::ofstream(std::filesystem::path(source)) << "first";
    EXPECT_TRUE(CTamIO::IsFile(source));
    EXPECT_FALSE(CTamIO::IsFile(scratch.folder()));
    EXPECT_FALSE(CTamIO::IsFile(scratch.file("missing.xml")));
    EXPECT_FALSE(CTamIO::IsFile(L""));

    const std::wstring target = scratch.file("b.xml");
    std::ofstream(std::filesystem::path(target)) << "a much longer old content";
    ASSERT_TRUE(CTamIO::CopyFileW(source, target));
    EXPECT_EQ(tamtest::readFile(target), "first");
    EXPECT_FALSE(CTamIO::CopyFileW(scratch.file("missing.xml"), target));
    EXPECT_FALSE(CTamIO::CopyFileW(source, L""));
}
