// Results, option values, option sets and documents: the translator's plain value classes.
#include <kvxi/kvxi.h>

#include <gtest/gtest.h>

namespace {

TEST(KVXIResultTest, FoldingKeepsTheWorseResult) {
    KVXIResult folded;
    folded &= KVXIResult(0x1000011);
    EXPECT_EQ(folded.GetValue(), 0x1000011);
    folded &= KVXIResult(0);
    EXPECT_EQ(folded.GetValue(), 0x1000011);
    folded &= KVXIResult(1);
    EXPECT_EQ(folded.GetValue(), 1);
    folded &= KVXIResult(0x2000003);  // same class: the earlier one stays
    EXPECT_EQ(folded.GetValue(), 1);
    folded &= KVXIResult(2);
    EXPECT_EQ(folded.GetValue(), 2);
    folded &= KVXIResult(KVXIResult::WriteFailed);
    EXPECT_EQ(folded.GetValue(), KVXIResult::WriteFailed);
    folded &= KVXIResult();
    EXPECT_EQ(folded.GetValue(), KVXIResult::WriteFailed);
}

TEST(KVXIOptionsTest, RecordsPairsInOrderAndLaterValuesWin) {
    KVXIOptions options;
    EXPECT_TRUE(options.Add("TranslateAttributes", true).IsSuccess());
    EXPECT_TRUE(options.Add("OverrideFaceColorWithBodyColor", 1).IsSuccess());
    EXPECT_TRUE(options.Add(KVXIOptionName::Representation, "Brep+Assembly").IsSuccess());
    EXPECT_TRUE(options.Add("TranslateAttributes", false).IsSuccess());
    EXPECT_TRUE(options.Add("", true).IsFailure());

    ASSERT_EQ(options.GetCount(), 4u);
    const auto& entries = options.GetEntries();
    EXPECT_EQ(entries[0].first.GetName(), "TranslateAttributes");
    EXPECT_EQ(entries[0].second, KVXIValue(true));
    EXPECT_EQ(entries[1].second, KVXIValue(1));
    EXPECT_EQ(entries[2].first, KVXIOptionName::Representation);
    EXPECT_EQ(entries[2].second.GetString(), "Brep+Assembly");
    EXPECT_FALSE(options.GetBool("TranslateAttributes", true));
    EXPECT_EQ(options.Find("Missing"), nullptr);
    EXPECT_EQ(options.GetString("Missing", "fallback"), "fallback");
}

TEST(KVXIDocumentTest, TypeAndUnit) {
    KVXIDocument document(std::wstring(L"/tmp/caf\u00e9.stp"));
    EXPECT_EQ(document.GetPath(), "/tmp/caf\xC3\xA9.stp");
    EXPECT_EQ(document.GetUnit(), KVXIDocument::Millimetre);
    EXPECT_TRUE(document.SetType("STEP").IsSuccess());
    EXPECT_TRUE(document.SetType(nullptr).IsSuccess());
    EXPECT_EQ(document.GetType(), "");
    EXPECT_TRUE(document.SetUnit(99).IsFailure());
    EXPECT_EQ(document.GetUnit(), KVXIDocument::Millimetre);
    EXPECT_FALSE(document.IsOrikDocument());
    EXPECT_EQ(KVXIDocument(KVXIFile("a.igs")).GetPath(), "a.igs");
    EXPECT_FALSE(KVXIFile("/nonexistent/file.stp").Exists());
}

TEST(KVXIConverterTest, RefusesToConvertBeforeInitializeAndReportsUnusedOptions) {
    KVXIConverter converter;
    KVXIDocument source(std::string("/nonexistent.stp"));
    KVXIDocument target(std::string("/tmp/out.stp"));
    EXPECT_EQ(converter.Convert(source, target).GetValue(), KVXIResult::NotInitialized);
    // Setting options reports those it does not use.
    KVXIOptions used;
    used.Add("Healing", false);
    EXPECT_EQ(converter.SetOptions(used).GetValue(), KVXIResult::Success);
    KVXIOptions unused;
    unused.Add("EnableWideCharacter", true);
    EXPECT_EQ(converter.SetOptions(unused).GetValue(), KVXIResult::SuccessOptionsIgnored);
    EXPECT_EQ(converter.GetOptions().GetCount(), 1u);
}

}  // namespace
