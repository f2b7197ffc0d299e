#include <gtest/gtest.h>

#include <platform/CodePage.h>
#include <platform/WideFile.h>
#include <tamsgdb/CTamLog.h>

#include "scratch_folder.h"

TEST(Log, BlocksIndentTheirLinesOnlyTheLatestLinesAreKept) {
    CTamLog log;
    log.BeginBlock(L"loadOKT", L"TamCADLoader", 12, L"Block");
    log.WriteInfos(L"/data/part.okt", true, false);
    log.WriteInfos(L"bad", false, true);
    EXPECT_EQ(log.GetDepth(), 1u);
    log.EndBlock(L"loadOKT", L"TamCADLoader", 20);
    log.EndBlock(L"extra", L"x", 1);  // unbalanced end: depth stays at 0
    const std::vector<std::wstring> expected = {L"> loadOKT [TamCADLoader:12] Block",
                                                L"  /data/part.okt", L"  ERROR: bad",
                                                L"< loadOKT [TamCADLoader:20]", L"< extra [x:1]"};
    EXPECT_EQ(log.GetLines(), expected);
    EXPECT_EQ(log.GetDepth(), 0u);
    log.Clear();
    EXPECT_TRUE(log.GetLines().empty());
    for (int i = 0; i < 10005; ++i)
        log.WriteInfos(std::to_wstring(i), false, false);
    const auto lines = log.GetLines();
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_EQ(lines.front(), L"5");
    EXPECT_EQ(lines.back(), L"10004");
}

TEST(Log, MirrorsToAFileInUtf8) {
    const tamtest::ScratchFolder folder;
    const std::wstring widePath = folder.file("log.txt");
    CTamLog log;
    log.WriteInfos(L"before", false, false);
    ASSERT_TRUE(log.SetFile(widePath));
    log.WriteInfos(L"caf\u00e9", false, false);
    log.WriteInfos(L"timed", true, false);
    log.WriteInfos(std::wstring(1, static_cast<wchar_t>(0xD800)), false, false);  // unencodable
    ASSERT_TRUE(log.SetFile(L""));
    log.WriteInfos(L"after", false, false);
    std::string text;
    ASSERT_TRUE(tam::ReadFileBytes(widePath, text));
    EXPECT_EQ(text.substr(0, 6), "caf\xC3\xA9\n");
    EXPECT_NE(text.find(" timed\n"), std::string::npos);
    EXPECT_EQ(text.find("before"), std::string::npos);
    EXPECT_EQ(text.find("after"), std::string::npos);
    EXPECT_EQ(log.GetLines().size(), 5u);
    EXPECT_FALSE(log.SetFile(L"/no/such/folder/log.txt"));
}
