#include <gtest/gtest.h>

#include <filesystem>

#include "messages.h"

using namespace tamtest;

namespace {

std::vector<std::pair<float, std::wstring>>& Progress() {
    static std::vector<std::pair<float, std::wstring>> progress;
    return progress;
}

void CaptureProgress(float fraction, const wchar_t* text) {
    Progress().emplace_back(fraction, text ? text : L"(null)");
}

}  // namespace

using SettingsTest = RegistryFixture;

TEST_F(SettingsTest, WorkFolderIsPrivateAndSettableCallbacksAreSkippedWhenNull) {
    const std::wstring work = sglModelLoader::GetPathFolderWork();
    ASSERT_FALSE(work.empty());
    const std::string native(work.begin(), work.end());
    EXPECT_TRUE(std::filesystem::is_directory(native));
    EXPECT_EQ(sglModelLoader::GetPathFolderWork(), work);
    EXPECT_EQ(sglModelLoader::GetSaveFolder(), work);
    EXPECT_EQ(sglModelLoader::GetOutputRVDFilePath(), work + L"/output.rvdXml");
    EXPECT_TRUE(sglModelLoader::GetIOSettingsPath().empty());

    sglModelLoader::SetPathFolderWork(L"\\tmp\\elsewhere");
    EXPECT_EQ(sglModelLoader::GetPathFolderWork(), L"\\tmp\\elsewhere");
    sglModelLoader::SetPathFolderWork(L"");  // the empty folder gives the private one back
    EXPECT_EQ(sglModelLoader::GetPathFolderWork(), work);
    sglModelLoader::reportError(L"first", 8);
    sglModelLoader::s_callbackLoadingError = nullptr;
    sglModelLoader::reportError(L"second", 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], std::make_pair(std::wstring(L"first"), 8u));

    Progress().clear();
    sglModelLoader::reportProgress(0.25f, L"Loading x");
    sglModelLoader::s_callbackProgress = &CaptureProgress;
    sglModelLoader::reportProgress(0.5f, nullptr);
    ASSERT_EQ(Progress().size(), 1u);
    EXPECT_EQ(Progress()[0].first, 0.5f);
    EXPECT_EQ(Progress()[0].second, L"(null)");
}
