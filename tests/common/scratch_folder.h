// A private scratch folder per test, shared by the test folders that write files.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace tamtest {

// A fresh folder under the test temp dir, named after the process and the running test, and
// removed with everything in it on destruction.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "tam_" + std::to_string(::getpid());
        if (info != nullptr)
            name += "_" + std::string(info->test_suite_name()) + "_" + info->name();
        m_path = std::filesystem::path(testing::TempDir()) / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Wide path of a file inside the folder (the file need not exist).
    std::wstring file(const std::string& name) const { return (m_path / name).wstring(); }
    std::wstring folder() const { return m_path.wstring(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace tamtest
