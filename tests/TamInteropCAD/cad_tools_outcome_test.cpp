// Kernel outcomes and translator results as host messages and verdicts.
#include <kvxi/KVXIResult.h>
#include <orik/outcome.h>
#include <platform/CodePage.h>

#include <string>

#include "tools_test_support.h"

namespace {

using CadToolsOutcome = tamtest::HostCallbackTest;

const std::wstring kWarning = L"*** WARNING ***  ";
const std::wstring kError = L"*** ERROR ***  ";

std::wstring KernelText(int number) {
    return tam::ToWide(find_err_mess(number));
}

// One kernel outcome or translator result, its verdict and the prefix of the message it gives
// (no message when prefix is null), followed by the kernel's text when withKernelText.
struct VerdictCase {
    bool kernel;
    int number;
    int verdict;
    const std::wstring* prefix;
    bool withKernelText;
};

TEST_F(CadToolsOutcome, VerdictsAndMessagesNoEntitiesOnlyWhenAskedNoCallbackNeeded) {
    ASSERT_STREQ(find_err_mess(9999), "");
    EXPECT_FALSE(KernelText(ORIK_NOT_RUNNING).empty());
    const VerdictCase cases[] = {
        {true, 0, 1, nullptr, false},
        {true, 0x1000011, 1, nullptr, false},
        {true, 0x1000012, 1, nullptr, false},
        {false, 0, 1, nullptr, false},
        {false, 0x1000011, 1, nullptr, false},
        {false, 0x1000012, 1, nullptr, false},
        {true, ORIK_WARNING, 1, &kWarning, true},
        {true, 0x2000003, 1, &kWarning, true},
        {true, ORIK_NOT_RUNNING, 0, &kError, true},
        {true, 9999, 0, &kError, true},  // a number without text: the prefix alone
        {false, KVXIResult::Warning, 1, &kWarning, false},
        {false, KVXIResult::WarningEntitiesSkipped, 1, &kWarning, false},
        {false, KVXIResult::ReadFailed, 0, &kError, false},
        {false, 777, 0, &kError, false},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.kernel ? "kernel " : "translator ") << c.number);
        Messages().clear();
        const int verdict = c.kernel ? CTamCADTools::check_api_outcome(outcome(c.number))
                                     : CTamCADTools::check_api_result(KVXIResult(c.number));
        EXPECT_EQ(verdict, c.verdict);
        if (c.prefix == nullptr) {
            EXPECT_TRUE(Messages().empty());
            continue;
        }
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].text, *c.prefix + (c.withKernelText ? KernelText(c.number) : L""));
        EXPECT_EQ(Messages()[0].code, 0u);
    }
    // No entities is silent unless the host asks; verdicts stand without a callback.
    Messages().clear();
    sglModelLoader::m_sbShowMessageNoEntities = false;
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_NO_ENTITIES)), 0);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::NoEntities)), 0);
    EXPECT_TRUE(Messages().empty());

    sglModelLoader::m_sbShowMessageNoEntities = true;
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_NO_ENTITIES)), 0);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::NoEntities)), 0);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, kError + KernelText(ORIK_NO_ENTITIES));
    EXPECT_EQ(Messages()[1].text, kError);
    // Without a callback the verdicts stand.
    sglModelLoader::s_callbackLoadingError = nullptr;
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_WARNING)), 1);
    EXPECT_EQ(CTamCADTools::check_api_outcome(outcome(ORIK_MESH_FAILED)), 0);
    EXPECT_EQ(CTamCADTools::check_api_result(KVXIResult(KVXIResult::WriteFailed)), 0);
    EXPECT_EQ(Messages().size(), 2u);
}

}  // namespace
