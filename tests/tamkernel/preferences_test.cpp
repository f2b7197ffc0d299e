#include <gtest/gtest.h>

#include <platform/CodePage.h>
#include <tamkernel/CTamPreferences.h>

#include <filesystem>

TEST(Preferences, InstallFolderDefaultsToTheProgramFolder) {
    CTamPreferences* preferences = GetTamPreferences();
    preferences->Reset();
    const std::wstring folder = preferences->GetPathFolderInstall();
    EXPECT_TRUE(std::filesystem::is_directory(tam::ToNarrow(folder)));
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(tam::ToNarrow(folder)) / "tamkernel_tests"));
}
