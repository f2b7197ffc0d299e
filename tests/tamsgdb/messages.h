// Captures what the registry sends to the host callbacks.
#pragma once

#include <tamsgdb/sglModelLoader.h>

#include <string>
#include <utility>
#include <vector>

namespace tamtest {

inline std::vector<std::pair<std::wstring, unsigned int>>& Messages() {
    static std::vector<std::pair<std::wstring, unsigned int>> messages;
    return messages;
}

inline void CaptureMessage(const wchar_t* text, unsigned int code) {
    Messages().emplace_back(text ? text : L"", code);
}

// Resets the registry's settings and handlers and starts capturing messages.
class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        sglModelLoader::ResetSettings();
        sglModelLoader::unregisterAll();
        Messages().clear();
        sglModelLoader::s_callbackLoadingError = &CaptureMessage;
    }
    void TearDown() override {
        sglModelLoader::ResetSettings();
        sglModelLoader::unregisterAll();
    }
};

}  // namespace tamtest
