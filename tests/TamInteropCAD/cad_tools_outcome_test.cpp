// Kernel outcomes and translator results as host messages and verdicts.
#include <kvxi/KVXIResult.h>
#include <orik/outcome.h>
#include <platform/CodePage.h>

#include <string>

#include "tools_test_support.h"

namespace {

using CadToolsOutcome = tamtest::HostCallbackTest;

std::wstring KernelText(int number) {
    return tam::ToWide(find_err_mess(number));
}

TEST_F(CadToolsOutcome, SuccessNumbersGoOnSilently) {
    for (int number : {0, 0x1000011, 0x1000012}) {
        EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(number)), 1) << number;
        EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(number)), 1) << number;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CadToolsOutcome, KernelWarningIsReportedAndGoesOn) {
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_WARNING)), 1);
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(0x2000003)), 1);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, L"*** WARNING ***  " + KernelText(ORIK_WARNING));
    EXPECT_EQ(Messages()[1].text, L"*** WARNING ***  " + KernelText(0x2000003));
    EXPECT_EQ(Messages()[0].code, 0u);
}

TEST_F(CadToolsOutcome, KernelErrorCarriesTheKernelsText) {
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_NOT_RUNNING)), 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_FALSE(KernelText(ORIK_NOT_RUNNING).empty());
    EXPECT_EQ(Messages()[0].text, L"*** ERROR ***  " + KernelText(ORIK_NOT_RUNNING));
    EXPECT_EQ(Messages()[0].code, 0u);
}

TEST_F(CadToolsOutcome, KernelErrorWithoutTextIsThePrefixAlone) {
    ASSERT_STREQ(find_err_mess(9999), "");
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(9999)), 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, L"*** ERROR ***  ");
}

TEST_F(CadToolsOutcome, NoEntitiesIsSilentUnlessTheHostAsks) {
    sglModelLoader::m_sbShowMessageNoEntities = false;
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_NO_ENTITIES)), 0);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::NoEntities)), 0);
    EXPECT_TRUE(Messages().empty());

    sglModelLoader::m_sbShowMessageNoEntities = true;
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_NO_ENTITIES)), 0);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::NoEntities)), 0);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, L"*** ERROR ***  " + KernelText(ORIK_NO_ENTITIES));
    EXPECT_EQ(Messages()[1].text, L"*** ERROR ***  ");
}

TEST_F(CadToolsOutcome, TranslatorWarningIsThePrefixAlone) {
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::Warning)), 1);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::WarningEntitiesSkipped)), 1);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, L"*** WARNING ***  ");
    EXPECT_EQ(Messages()[1].text, L"*** WARNING ***  ");
}

TEST_F(CadToolsOutcome, TranslatorErrorIsThePrefixAlone) {
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::ReadFailed)), 0);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(777)), 0);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, L"*** ERROR ***  ");
    EXPECT_EQ(Messages()[0].code, 0u);
}

TEST_F(CadToolsOutcome, VerdictsStandWithoutACallback) {
    sglModelLoader::s_callbackLoadingError = nullptr;
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_WARNING)), 1);
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_MESH_FAILED)), 0);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::WriteFailed)), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CadToolsOutcome, IsErrorNoEntitiesOnlyForNumberTwo) {
    EXPECT_EQ(CTamCADTools::IsErrorNoEntities(outcome(ORIK_OK)), 0);
    EXPECT_EQ(CTamCADTools::IsErrorNoEntities(outcome(ORIK_WARNING)), 0);
    EXPECT_EQ(CTamCADTools::IsErrorNoEntities(outcome(ORIK_NO_ENTITIES)), 1);
    EXPECT_EQ(CTamCADTools::IsErrorNoEntities(outcome(ORIK_NOT_RUNNING)), 0);
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
