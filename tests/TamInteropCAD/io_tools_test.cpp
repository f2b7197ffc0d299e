// Path, file and number helpers of CTamIOTools.
#include <gtest/gtest.h>
#include <platform/CString.h>
#include <platform/WideFile.h>
#include <tamfoundations/CTamIO.h>

#include <TamInteropCAD/io_tools.h>

#include "scratch_folder.h"

#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(IoToolsPaths, NameExtensionAndFolderFollowTheirSeparatorRulesFileRulesAreTheHosts) {
    const auto name = &CTamIOTools::GetFileName;
    const auto ext = &CTamIOTools::GetFileExtension;
    const auto folder = [](const wchar_t* path) { return CTamIOTools::GetFileFolder(path); };
    const struct {
        std::function<std::wstring(const wchar_t*)> part;
        const wchar_t* path;
        const wchar_t* expected;
    } cases[] = {
        {name, L"C:\\models\\sub/part.stp", L"part.stp"},  // back-slash first, slash later
        {name, L"/models/sub\\part.igs", L"part.igs"},     // slash first, back-slash later
        {name, L"C:\\models\\part.stp", L"part.stp"},
        {name, L"/models/part.stp", L"part.stp"},
        {name, L"part.stp", L"part.stp"},  // no separator: the whole path
        {name, L"C:\\models\\", L""},      // ends in a separator: empty
        {name, L"/models/", L""},
        {name, L"", L""},
        {name, nullptr, L""},
        {ext, L"C:\\models\\Part.STP", L"stp"},
        {ext, L"assembly.v2.Final.IgS", L"igs"},         // several dots: the last one
        {ext, L"C:\\my.models\\Part", L"models\\part"},  // dot in a folder name
        {ext, L"README", L"readme"},                     // no dot: the whole path
        {ext, L"name.", L""},                            // dot last: empty
        {ext, L"part.\u00C4BC", L"\u00C4bc"},            // only A to Z are lowered
        {folder, L"C:\\models\\sub\\part.stp", L"C:\\models\\sub"},
        {folder, L"C:\\models\\sub\\", L"C:\\models\\sub"},
        {folder, L"\\part.stp", L""},
        {folder, L"/models/sub/part.stp", L".\\"},  // forward slashes do not count
        {folder, L"part.stp", L".\\"},
        {folder, L"", L".\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.part(c.path), c.expected) << (c.path ? c.path : L"null");
    const wchar_t* paths[] = {L"C:\\parts\\bolt.prt.3", L"/parts/Frame.asm", L"bolt.prt",
                              L"C:\\a.prt\\part.stp",   L"noextension",      L""};
    for (const wchar_t* path : paths) {
        const CString hostPath(path);
        EXPECT_EQ(CTamIOTools::GetFileBase(path), CTamIO::GetFileBase(hostPath, false).str())
            << path;
        EXPECT_EQ(CTamIOTools::IsProe(path), CTamIO::IsProe(hostPath)) << path;
        EXPECT_EQ(CTamIOTools::IsProePart(path), CTamIO::IsProePart(hostPath)) << path;
        EXPECT_EQ(CTamIOTools::IsProeAssembly(path), CTamIO::IsProeAssembly(hostPath)) << path;
    }
    EXPECT_EQ(CTamIOTools::GetFileBase(L"C:\\parts\\bolt.prt.3"), L"bolt.prt");
    EXPECT_TRUE(CTamIOTools::IsProePart(L"bolt.prt"));
    EXPECT_TRUE(CTamIOTools::IsProeAssembly(L"/parts/Frame.asm"));
}

// Runs a test under one process locale and restores the previous one afterwards.
class IoToolsTamAtof : public ::testing::Test {
protected:
    void SetUp() override { previous_ = std::setlocale(LC_ALL, nullptr); }
    void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

    static bool UseLocale(const char* name) { return std::setlocale(LC_ALL, name) != nullptr; }

private:
    std::string previous_;
};

TEST_F(IoToolsTamAtof, TakesEitherSeparatorAsTheDecimalOneUnderEveryLocale) {
    struct Case {
        const char* locale;
        const wchar_t* text;
        float value;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", L"1.5", 1.5f},
        {"de_DE.UTF-8", L"1,5", 1.5f},
        {"de_DE.UTF-8", L"-2.25e1", -22.5f},
        {"de_DE.UTF-8", L"abc", 0.0f},  // no number
        {"de_DE.UTF-8", L"", 0.0f},
        {"en_US.UTF-8", L"1,5", 1.5f},
        {"en_US.UTF-8", L"1.5", 1.5f},
        {"en_US.UTF-8", L"1,234.5", 1.234f},  // thousands separators are not supported
        {"C", L"0,25", 0.25f},
        {"C", L"  3.75", 3.75f},
    };
    const char* missing = nullptr;
    for (const Case& c : cases) {
        if (!UseLocale(c.locale)) {
            missing = c.locale;
            continue;
        }
        EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(c.text), c.value) << c.locale << " " << c.text;
    }
    if (missing != nullptr)
        GTEST_SKIP() << "locale " << missing << " is not installed (scripts/setup.sh makes it)";
}

// A private folder for file tests, removed afterwards.
class IoToolsFiles : public ::testing::Test {
protected:
    fs::path WriteFile(const std::string& name, const std::string& content) {
        const fs::path path = scratch_.path() / name;
        std::ofstream(path) << content;
        return path;
    }

    tamtest::ScratchFolder scratch_;
    const fs::path& folder_ = scratch_.path();
};

TEST_F(IoToolsFiles, WriteRVDfrom2DAnswersLikeTheHostsWriterIsFileTellsReadableFilesApart) {
    const fs::path drawing = WriteFile("sheet.dxf", "0\nEOF\n");
    CString source(drawing.wstring());
    CString target((folder_ / "sheet.rvdXml").wstring());
    CString title(L"Sheet");
    EXPECT_TRUE(CTamIOTools::WriteRVDfrom2D(source, target, title));
    EXPECT_TRUE(fs::is_regular_file(folder_ / "sheet.rvdXml"));

    CString missing((folder_ / "missing.dxf").wstring());
    CString otherTarget((folder_ / "missing.rvdXml").wstring());
    EXPECT_FALSE(CTamIOTools::WriteRVDfrom2D(missing, otherTarget, title));
    EXPECT_FALSE(fs::exists(folder_ / "missing.rvdXml"));
    const fs::path file = WriteFile("part.stp", "data");
    EXPECT_TRUE(CTamIOTools::IsFile(file.wstring().c_str()));
    std::wstring backSlashed = file.wstring();
    CTamIOTools::ReplaceChar(backSlashed, L'/', L'\\');
    EXPECT_TRUE(CTamIOTools::IsFile(backSlashed.c_str()));
    EXPECT_FALSE(CTamIOTools::IsFile((folder_ / "missing.stp").wstring().c_str()));
    EXPECT_FALSE(CTamIOTools::IsFile(folder_.wstring().c_str()));  // a folder
    EXPECT_FALSE(CTamIOTools::IsFile(L""));
    EXPECT_FALSE(CTamIOTools::IsFile(nullptr));
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not restrict the super-user";
    fs::permissions(file, fs::perms::none);
    EXPECT_FALSE(CTamIOTools::IsFile(file.wstring().c_str()));
}

}  // namespace
