// Path, file and number helpers of CTamIOTools.
#include <gtest/gtest.h>
#include <platform/CString.h>
#include <platform/WideFile.h>
#include <tamfoundations/CTamIO.h>
#include <tamkernel/CTamPreferences.h>

#include <TamInteropCAD/io_tools.h>

#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>

namespace {

namespace fs = std::filesystem;

struct PathCase {
    const wchar_t* path;
    const wchar_t* expected;
};

TEST(IoToolsToolbox, CopyAssignmentCopiesNothingAndReturnsTheTarget) {
    static_assert(std::has_virtual_destructor<CTamIOTools>::value, "exported with a vtable");
    CTamIOTools target;
    const CTamIOTools source(target);
    EXPECT_EQ(&(target = source), &target);
}

TEST(IoToolsGetFileName, TakesTheTextAfterTheLaterSeparator) {
    const PathCase cases[] = {
        {L"C:\\models\\sub/part.stp", L"part.stp"},  // back-slash first, slash later
        {L"/models/sub\\part.igs", L"part.igs"},     // slash first, back-slash later
        {L"C:\\models\\part.stp", L"part.stp"},
        {L"/models/part.stp", L"part.stp"},
        {L"part.stp", L"part.stp"},  // no separator: the whole path
        {L"C:\\models\\", L""},      // ends in a separator: empty
        {L"/models/", L""},
        {L"", L""},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(CTamIOTools::GetFileName(c.path), c.expected) << c.path;
    EXPECT_EQ(CTamIOTools::GetFileName(nullptr), L"");
}

TEST(IoToolsGetFileExtension, TakesTheTextAfterTheLastDotLowerCased) {
    const PathCase cases[] = {
        {L"C:\\models\\Part.STP", L"stp"},
        {L"assembly.v2.Final.IgS", L"igs"},         // several dots: the last one
        {L"C:\\my.models\\Part", L"models\\part"},  // dot in a folder name
        {L"README", L"readme"},                     // no dot: the whole path
        {L"name.", L""},                            // dot last: empty
        {L"part.\u00C4BC", L"\u00C4bc"},            // only A to Z are lowered
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(CTamIOTools::GetFileExtension(c.path), c.expected) << c.path;
}

TEST(IoToolsGetFileFolder, KeepsEverythingBeforeTheLastBackSlash) {
    EXPECT_EQ(CTamIOTools::GetFileFolder(L"C:\\models\\sub\\part.stp"), L"C:\\models\\sub");
    EXPECT_EQ(CTamIOTools::GetFileFolder(L"C:\\models\\sub\\"), L"C:\\models\\sub");
    EXPECT_EQ(CTamIOTools::GetFileFolder(L"\\part.stp"), L"");
}

TEST(IoToolsGetFileFolder, IsDotBackSlashWithoutABackSlash) {
    EXPECT_EQ(CTamIOTools::GetFileFolder(L"/models/sub/part.stp"), L".\\");
    EXPECT_EQ(CTamIOTools::GetFileFolder(L"part.stp"), L".\\");
    EXPECT_EQ(CTamIOTools::GetFileFolder(L""), L".\\");
}

TEST(IoToolsReplaceChar, ReplacesEveryOccurrenceInPlace) {
    std::wstring text = L"a/b/c";
    CTamIOTools::ReplaceChar(text, L'/', L'\\');
    EXPECT_EQ(text, L"a\\b\\c");

    std::wstring same = L"a/b/c";
    CTamIOTools::ReplaceChar(same, L'/', L'/');
    EXPECT_EQ(same, L"a/b/c");

    std::wstring empty;
    CTamIOTools::ReplaceChar(empty, L'a', L'b');
    EXPECT_TRUE(empty.empty());
}

// Runs a test under one process locale and restores the previous one afterwards.
class IoToolsTamAtof : public ::testing::Test {
protected:
    void SetUp() override { previous_ = std::setlocale(LC_ALL, nullptr); }
    void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

    void UseLocale(const char* name) {
        if (std::setlocale(LC_ALL, name) == nullptr)
            GTEST_SKIP() << "locale " << name << " is not installed (scripts/setup.sh makes it)";
    }

private:
    std::string previous_;
};

TEST_F(IoToolsTamAtof, ReadsAPointUnderTheCommaLocale) {
    UseLocale("de_DE.UTF-8");
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"1.5"), 1.5f);
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"1,5"), 1.5f);
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"-2.25e1"), -22.5f);
}

TEST_F(IoToolsTamAtof, ReadsACommaUnderThePointLocale) {
    UseLocale("en_US.UTF-8");
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"1,5"), 1.5f);
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"1.5"), 1.5f);
}

TEST_F(IoToolsTamAtof, ReadsUnderTheCLocale) {
    UseLocale("C");
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"0,25"), 0.25f);
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"  3.75"), 3.75f);
}

TEST_F(IoToolsTamAtof, GivesZeroForTextThatIsNoNumber) {
    UseLocale("de_DE.UTF-8");
    EXPECT_EQ(CTamIOTools::TamAtof(L"abc"), 0.0f);
    EXPECT_EQ(CTamIOTools::TamAtof(L""), 0.0f);
}

TEST_F(IoToolsTamAtof, TakesEverySeparatorAsTheDecimalOne) {
    // Thousands separators are not supported: "1,234.5" reads as 1.234.
    UseLocale("en_US.UTF-8");
    EXPECT_FLOAT_EQ(CTamIOTools::TamAtof(L"1,234.5"), 1.234f);
}

// A private folder for file tests, removed afterwards.
class IoToolsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("taminteropcad_io_tools_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path WriteFile(const std::string& name, const std::string& content) {
        const fs::path path = folder_ / name;
        std::ofstream(path) << content;
        return path;
    }

    fs::path folder_;
};

TEST_F(IoToolsFiles, IsFileTellsReadableFilesFromAbsentOnes) {
    const fs::path file = WriteFile("part.stp", "data");
    EXPECT_TRUE(CTamIOTools::IsFile(file.wstring().c_str()));
    EXPECT_FALSE(CTamIOTools::IsFile((folder_ / "missing.stp").wstring().c_str()));
    EXPECT_FALSE(CTamIOTools::IsFile(L""));
    EXPECT_FALSE(CTamIOTools::IsFile(nullptr));
}

TEST_F(IoToolsFiles, IsFileAcceptsBackSlashSeparators) {
    std::wstring path = WriteFile("part.stp", "data").wstring();
    CTamIOTools::ReplaceChar(path, L'/', L'\\');
    EXPECT_TRUE(CTamIOTools::IsFile(path.c_str()));
}

TEST_F(IoToolsFiles, IsFileCountsAFolderAsAbsent) {
    EXPECT_FALSE(CTamIOTools::IsFile(folder_.wstring().c_str()));
}

TEST_F(IoToolsFiles, IsFileCountsAnUnreadableFileAsAbsent) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not restrict the super-user";
    const fs::path file = WriteFile("locked.stp", "data");
    fs::permissions(file, fs::perms::none);
    EXPECT_FALSE(CTamIOTools::IsFile(file.wstring().c_str()));
}

TEST_F(IoToolsFiles, WriteRVDfrom2DAnswersLikeTheHostsWriter) {
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
}

TEST(IoToolsHost, FileRulesAreTheHostsAnswers) {
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

TEST(IoToolsHost, GetPathFolderInstallAnswersFromThePreferences) {
    CTamPreferences* preferences = GetTamPreferences();
    preferences->SetPathFolderInstall(L"/opt/tam/install");
    EXPECT_EQ(CTamIOTools::GetPathFolderInstall(), L"/opt/tam/install");
    preferences->Reset();
    EXPECT_EQ(CTamIOTools::GetPathFolderInstall(), preferences->GetPathFolderInstall());
}

}  // namespace
