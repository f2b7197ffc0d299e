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

TEST_F(SettingsTest, DefaultsAfterReset) {
    sglModelLoader::m_suiNbLOD = 9;
    sglModelLoader::m_sbHealing = false;
    sglModelLoader::m_fRefinement = 0.1f;
    sglModelLoader::m_sbImportAsBodies = true;
    sglModelLoader::ResetSettings();
    EXPECT_EQ(sglModelLoader::m_suiNbLOD, 1u);
    EXPECT_FLOAT_EQ(sglModelLoader::m_fRefinement, 0.5f);
    EXPECT_TRUE(sglModelLoader::m_sbHealing);
    EXPECT_TRUE(sglModelLoader::m_sbImportPoints);
    EXPECT_TRUE(sglModelLoader::m_sbImportCurves);
    EXPECT_TRUE(sglModelLoader::m_sbImportFreeFaces);
    EXPECT_FALSE(sglModelLoader::m_sbImportAsBodies);
    EXPECT_FALSE(sglModelLoader::m_sbCancelImport);
    EXPECT_FALSE(sglModelLoader::m_sbSetChordalError);
    EXPECT_EQ(sglModelLoader::m_fChordalErrorValue, 0.0f);
    EXPECT_EQ(sglModelLoader::m_suiRefinementType, 0u);
    EXPECT_EQ(sglModelLoader::m_suiRelativeRefinementFunction, 0u);
    EXPECT_EQ(sglModelLoader::s_callbackLoadingError, nullptr);
    EXPECT_EQ(sglModelLoader::s_callbackProgress, nullptr);
}

TEST_F(SettingsTest, SceneBoxDefaultsToZeroBoxNotEmpty) {
    const sglBoxBound box = sglModelLoader::GetBBox();
    EXPECT_FALSE(box.isEmpty());
    EXPECT_EQ(box.getMin(), box.getMax());
    EXPECT_EQ(box.getMax(), sglVec3<float>(0, 0, 0));
    sglModelLoader::SetBBox(sglBoxBound(sglVec3<float>(0, 0, 0), sglVec3<float>(1, 1, 1)));
    EXPECT_EQ(sglModelLoader::GetBBox().getMax(), sglVec3<float>(1, 1, 1));
}

TEST_F(SettingsTest, WorkFolderIsPrivateAndSettable) {
    const std::wstring work = sglModelLoader::GetPathFolderWork();
    ASSERT_FALSE(work.empty());
    const std::string native(work.begin(), work.end());
    EXPECT_TRUE(std::filesystem::is_directory(native));
    EXPECT_EQ(sglModelLoader::GetPathFolderWork(), work);
    EXPECT_EQ(sglModelLoader::GetSaveFolder(), work);
    EXPECT_EQ(sglModelLoader::GetOutputRVDFilePath(), work + L"/output.rvdXml");
    EXPECT_TRUE(sglModelLoader::GetIOSettingsPath().empty());

    sglModelLoader::SetPathFolderWork(L"\\tmp\\elsewhere");
    sglModelLoader::SetSaveFolder(L"/save");
    sglModelLoader::SetOutputRVDFilePath(L"/out/model.rvdXml");
    sglModelLoader::SetIOSettingsPath(L"/etc/settings.xml");
    EXPECT_EQ(sglModelLoader::GetPathFolderWork(), L"\\tmp\\elsewhere");
    EXPECT_EQ(sglModelLoader::GetSaveFolder(), L"/save");
    EXPECT_EQ(sglModelLoader::GetOutputRVDFilePath(), L"/out/model.rvdXml");
    EXPECT_EQ(sglModelLoader::GetIOSettingsPath(), L"/etc/settings.xml");
    sglModelLoader::SetPathFolderWork(L"");
    EXPECT_EQ(sglModelLoader::GetPathFolderWork(), work);
}

TEST_F(SettingsTest, CallbacksAreSkippedWhenNull) {
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
