#include <gtest/gtest.h>

#include <platform/CodePage.h>
#include <tamkernel/CTamPreferences.h>

#include <filesystem>

TEST(Preferences, DefaultsAndReset) {
    CTamPreferences* preferences = GetTamPreferences();
    ASSERT_NE(preferences, nullptr);
    EXPECT_EQ(preferences, GetTamPreferences());
    preferences->Reset();
    EXPECT_FALSE(preferences->GetIOCheckTesselation());
    EXPECT_FALSE(preferences->GetIOProERemoveRevisionNumber());
    preferences->SetIOCheckTesselation(true);
    preferences->SetIOProERemoveRevisionNumber(true);
    EXPECT_TRUE(GetTamPreferences()->GetIOCheckTesselation());
    EXPECT_TRUE(GetTamPreferences()->GetIOProERemoveRevisionNumber());
    preferences->Reset();
    EXPECT_FALSE(preferences->GetIOCheckTesselation());
}

TEST(Preferences, InstallFolderDefaultsToTheProgramFolder) {
    CTamPreferences* preferences = GetTamPreferences();
    preferences->Reset();
    const std::wstring folder = preferences->GetPathFolderInstall();
    EXPECT_TRUE(std::filesystem::is_directory(tam::ToNarrow(folder)));
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(tam::ToNarrow(folder)) / "tamkernel_tests"));
    preferences->SetPathFolderInstall(L"/opt/tam");
    EXPECT_EQ(preferences->GetPathFolderInstall(), L"/opt/tam");
    preferences->Reset();
}
