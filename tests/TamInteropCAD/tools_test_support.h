// Test support for the library's toolbox classes: captured host callbacks and a running kernel.
#pragma once

#include <gtest/gtest.h>
#include <tamsgdb/sglModelLoader.h>

#include <TamInteropCAD/TamCADTools.h>

#include <string>
#include <vector>

namespace tamtest {

// One call of the host's loading-error callback.
struct HostMessage {
    std::wstring text;
    unsigned int code;
};

// One call of the host's progress callback; hasText is false for a null text.
struct HostProgress {
    float fraction;
    std::wstring text;
    bool hasText;
};

// Restores the host registry's defaults, installs recording callbacks and clears what they
// recorded; restores the defaults again afterwards.
class HostCallbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        sglModelLoader::ResetSettings();
        Messages().clear();
        Progress().clear();
        sglModelLoader::s_callbackLoadingError = &RecordMessage;
        sglModelLoader::s_callbackProgress = &RecordProgress;
    }
    void TearDown() override { sglModelLoader::ResetSettings(); }

    static std::vector<HostMessage>& Messages() {
        static std::vector<HostMessage> messages;
        return messages;
    }
    static std::vector<HostProgress>& Progress() {
        static std::vector<HostProgress> progress;
        return progress;
    }

private:
    static void RecordMessage(const wchar_t* text, unsigned int code) {
        Messages().push_back({text != nullptr ? text : L"", code});
    }
    static void RecordProgress(float fraction, const wchar_t* text) {
        Progress().push_back({fraction, text != nullptr ? text : L"", text != nullptr});
    }
};

// Runs each test with the kernel and translator started (messages of the start cleared) and
// stops them afterwards.
class RunningKernelTest : public HostCallbackTest {
protected:
    void SetUp() override {
        HostCallbackTest::SetUp();
        CTamCADTools::InitializeImport();
        Messages().clear();
    }
    void TearDown() override {
        CTamCADTools::TerminateImport();
        HostCallbackTest::TearDown();
    }
};

}  // namespace tamtest
