// Support for the end-to-end tests through the library's exported functions: the kernel stopped
// around each test, recorded host callbacks, scratch folders and the bundled samples.
#pragma once

#include <gtest/gtest.h>
#include <orik/orik.h>
#include <tamsg/sglNode.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/exports.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "scratch_folder.h"
#include "tools_test_support.h"

namespace tamtest {

namespace fs = std::filesystem;

using RootPtr = std::unique_ptr<CTamDBRoot>;

// The sample assembly in the kernel's text format and as STEP (samples/ of the checkout).
inline std::wstring SampleOkt() {
    return fs::path(TAM_SAMPLES_DIR "/sample_assembly.okt").wstring();
}
inline std::wstring InvalidData(const char* name) {
    return (fs::path(TAM_TEST_DATA_DIR) / "invalid" / name).wstring();
}

// Starts each test with the kernel stopped and the host's defaults and recording callbacks
// installed; stops a kernel left running and removes the test's scratch folder afterwards.
class StoppedKernelTest : public HostCallbackTest {
protected:
    void SetUp() override {
        StopKernelIfRunning();
        HostCallbackTest::SetUp();
    }
    void TearDown() override {
        StopKernelIfRunning();
        sglModelLoader::unregisterAll();
        HostCallbackTest::TearDown();
    }

    static void StopKernelIfRunning() {
        if (api_modeller_running())
            CTamCADTools::TerminateImport();
    }

    std::wstring Scratch(const char* name) const { return m_scratch.file(name); }

    ScratchFolder m_scratch;
};

inline sglNode* SceneOf(const RootPtr& root) {
    return root != nullptr ? root->GetSglRoot() : nullptr;
}

inline bool FileHasContent(const std::wstring& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && fs::file_size(path, ec) > 0;
}

}  // namespace tamtest
