// tamcad's host side in process: the CAD plug-in on damaged input, the writer, settings and
// Ctrl-C.
#include "Console.h"
#include "HostSettings.h"
#include "Plugins.h"

#include <gtest/gtest.h>
#include <tamkernel/CTamPreferences.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::wstring>& messages() {
    static std::vector<std::wstring> recorded;
    return recorded;
}

void recordMessage(const wchar_t* text, unsigned int) {
    messages().push_back(text != nullptr ? text : L"");
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        sglModelLoader::ResetSettings();
        tam::registerPlugins();
        messages().clear();
        sglModelLoader::s_callbackLoadingError = recordMessage;
    }
    void TearDown() override {
        sglModelLoader::unregisterAll();
        sglModelLoader::ResetSettings();
    }
};

TEST_F(HostTest, CadPluginGivesAnEmptyRootAndOneMessageForAnEmptyFileWriterRefusesNoList) {
    const std::wstring empty =
        (fs::path(TAM_TEST_DATA_DIR) / "invalid" / "e2e_empty.step").wstring();
    std::unique_ptr<CTamDBRoot> root(tam::loadCadModel(empty, 0x180, L"STEP"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetSglRoot(), nullptr);
    EXPECT_EQ(messages().size(), 1u);
    // The writer refuses a null list.
    EXPECT_FALSE(tam::writeCadFile(L"/tmp/never.step", nullptr));
    EXPECT_FALSE(fs::exists("/tmp/never.step"));
}

// Settings copied one to one are left to the cache key and batch option tests; here what the
// host derives from them.
TEST_F(HostTest, SettingsReachTheRegistryAndPreferences) {
    tam::ImportSettings settings;
    settings.levelsOfDetail = 3;
    settings.explicitTolerances = true;
    settings.chordalError = 0.25f;
    settings.checkTessellation = true;
    sglModelLoader::m_sbCancelImport = true;
    tam::applyImportSettings(settings);
    EXPECT_EQ(sglModelLoader::m_suiNbLOD, 3u);
    EXPECT_EQ(sglModelLoader::m_suiRefinementType, 1u);
    EXPECT_TRUE(sglModelLoader::m_sbSetChordalError);
    EXPECT_FLOAT_EQ(sglModelLoader::m_fChordalErrorValue, 0.25f);
    EXPECT_FALSE(sglModelLoader::m_sbSetNormalDeviation);
    EXPECT_FALSE(sglModelLoader::m_sbCancelImport);
    EXPECT_TRUE(GetTamPreferences()->GetIOCheckTesselation());
    GetTamPreferences()->Reset();
}

TEST_F(HostTest, CtrlCAsksTheImportToCancel) {
    {
        tam::CancelOnInterrupt guard;
        std::raise(SIGINT);
        EXPECT_TRUE(sglModelLoader::m_sbCancelImport);
    }
    struct sigaction current {};
    sigaction(SIGINT, nullptr, &current);
    EXPECT_NE(current.sa_handler, SIG_IGN);
}

}  // namespace
