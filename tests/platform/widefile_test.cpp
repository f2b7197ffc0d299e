#include <gtest/gtest.h>

#include <platform/CodePage.h>
#include <platform/WideFile.h>

#include <algorithm>
#include <filesystem>

#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards; wide paths use back-slashes on purpose.
class WideFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::replace(m_wideDir.begin(), m_wideDir.end(), L'/', L'\\'); }

    std::wstring Wide(const std::wstring& name) const { return m_wideDir + L"\\" + name; }

    tamtest::ScratchFolder m_scratch;
    const fs::path& m_dir = m_scratch.path();
    std::wstring m_wideDir = m_scratch.folder();
};

}  // namespace

TEST_F(WideFileTest, BackslashPathsReachTheSameFile) {
    ASSERT_TRUE(tam::CreateFolders(Wide(L"sub\\inner")));
    EXPECT_TRUE(fs::is_directory(m_dir / "sub" / "inner"));
    const std::wstring path = Wide(L"sub\\inner\\pi\u00e8ce.txt");
    ASSERT_TRUE(tam::WriteFileBytes(path, "hello"));
    EXPECT_TRUE(fs::exists(m_dir / "sub" / "inner" /
                           "pi\xC3\xA8"
                           "ce.txt"));
    std::string data;
    ASSERT_TRUE(tam::ReadFileBytes(path, data));
    EXPECT_EQ(data, "hello");
    EXPECT_TRUE(tam::PathExists(path));
    EXPECT_TRUE(tam::IsRegularFile(path));
    EXPECT_FALSE(tam::IsRegularFile(Wide(L"sub")));
}

TEST_F(WideFileTest, WfopenReadsWritesAndRefusesFolders) {
    const std::wstring path = Wide(L"a.bin");
    FILE* out = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::fwrite("xyz", 1, 3, out), 3u);
    std::fclose(out);
    FILE* in = _wfopen(path.c_str(), L"rt");
    ASSERT_NE(in, nullptr);
    char buffer[4] = {};
    EXPECT_EQ(std::fread(buffer, 1, 3, in), 3u);
    std::fclose(in);
    EXPECT_STREQ(buffer, "xyz");
    EXPECT_EQ(_wfopen(m_wideDir.c_str(), L"r"), nullptr);
    EXPECT_EQ(_wfopen(Wide(L"missing").c_str(), L"r"), nullptr);
    EXPECT_EQ(_wfopen(nullptr, L"r"), nullptr);
    EXPECT_EQ(_wfopen(L"", L"r"), nullptr);
    EXPECT_EQ(_wfopen(path.c_str(), L""), nullptr);
}

TEST_F(WideFileTest, DeleteFileOnlyDeletesFiles) {
    const std::wstring path = Wide(L"gone.txt");
    ASSERT_TRUE(tam::WriteFileBytes(path, "x"));
    EXPECT_EQ(DeleteFileW(path.c_str()), TRUE);
    EXPECT_FALSE(tam::PathExists(path));
    EXPECT_EQ(DeleteFileW(path.c_str()), FALSE);
    EXPECT_EQ(DeleteFileW(m_wideDir.c_str()), FALSE);
    EXPECT_EQ(DeleteFileW(nullptr), FALSE);
}

TEST_F(WideFileTest, CopyFileHonoursFailIfExists) {
    const std::wstring source = Wide(L"s.txt");
    const std::wstring target = Wide(L"t.txt");
    ASSERT_TRUE(tam::WriteFileBytes(source, "one"));
    EXPECT_EQ(CopyFileW(source.c_str(), target.c_str(), TRUE), TRUE);
    ASSERT_TRUE(tam::WriteFileBytes(source, "two"));
    EXPECT_EQ(CopyFileW(source.c_str(), target.c_str(), TRUE), FALSE);
    std::string data;
    ASSERT_TRUE(tam::ReadFileBytes(target, data));
    EXPECT_EQ(data, "one");
    EXPECT_EQ(CopyFileW(source.c_str(), target.c_str(), FALSE), TRUE);
    ASSERT_TRUE(tam::ReadFileBytes(target, data));
    EXPECT_EQ(data, "two");
    EXPECT_EQ(CopyFileW(source.c_str(), source.c_str(), FALSE), TRUE);
    EXPECT_EQ(CopyFileW(Wide(L"missing").c_str(), target.c_str(), FALSE), FALSE);
}

TEST_F(WideFileTest, FailedWritesLeaveNothingBehindAndUnencodablePathsFail) {
    // A target that is a folder cannot be replaced: the write fails and no temporary remains.
    ASSERT_TRUE(tam::CreateFolders(Wide(L"folder")));
    EXPECT_FALSE(tam::WriteFileBytes(Wide(L"folder"), "data"));
    EXPECT_FALSE(tam::WriteFileBytes(Wide(L"no\\such\\dir\\f.txt"), "data"));
    EXPECT_FALSE(tam::WriteFileBytes(Wide(L"ends\\"), "data"));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), 1);
    std::string data = "previous";
    EXPECT_FALSE(tam::ReadFileBytes(Wide(L"missing"), data));
    EXPECT_TRUE(data.empty());
    // A path that cannot be encoded fails everywhere.
    const std::wstring bad = Wide(std::wstring(1, static_cast<wchar_t>(0xD800)));
    EXPECT_TRUE(tam::NativePath(bad).empty());
    EXPECT_EQ(_wfopen(bad.c_str(), L"w"), nullptr);
    EXPECT_FALSE(tam::WriteFileBytes(bad, "x"));
    EXPECT_FALSE(tam::PathExists(bad));
}
