// The plain exported functions: the flags word, the two-name pairs, the null list of
// writeModelOKB, and the names the shared object exports.
#include "e2e_support.h"

#include <cstdio>

namespace {

using tamtest::RootPtr;
using tamtest::SceneOf;

class ExportedFlagsTest : public tamtest::StoppedKernelTest {};

TEST_F(ExportedFlagsTest, StartAndStopAroundOneLoad) {
    const RootPtr root(loadModelOKT(tamtest::SampleOkt(), 0x180));
    ASSERT_NE(root, nullptr);
    EXPECT_NE(SceneOf(root), nullptr);
    EXPECT_FALSE(api_modeller_running());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ExportedFlagsTest, StartOnlyLeavesTheKernelRunning) {
    const RootPtr root(loadModelOKB(tamtest::SampleOkt(), 0x80));
    EXPECT_NE(SceneOf(root), nullptr);
    EXPECT_TRUE(api_modeller_running());
}

TEST_F(ExportedFlagsTest, StopOnlyStopsAKernelTheCallerStarted) {
    CTamCADTools::InitializeImport();
    const RootPtr root(loadModelOKT(tamtest::SampleOkt(), 0x100));
    EXPECT_NE(SceneOf(root), nullptr);
    EXPECT_FALSE(api_modeller_running());
}

TEST_F(ExportedFlagsTest, NoFlagsTouchTheKernelNotAtAll) {
    CTamCADTools::InitializeImport();
    const RootPtr root(loadModelOKT(tamtest::SampleOkt(), 0));
    EXPECT_NE(SceneOf(root), nullptr);
    EXPECT_TRUE(api_modeller_running());
}

TEST_F(ExportedFlagsTest, HighBitsAloneDoNotStartTheKernel) {
    const RootPtr root(loadModelOKT(tamtest::SampleOkt(), 0x200));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(SceneOf(root), nullptr);
    EXPECT_FALSE(api_modeller_running());
}

class ExportedNamesTest : public tamtest::StoppedKernelTest {};

TEST_F(ExportedNamesTest, TextAndBinaryNamesAreOneFunction) {
    EXPECT_EQ(&loadEntitiesOKT, &loadEntitiesOKB);
    EXPECT_EQ(&writeModelOKT, &writeModelOKB);
}

TEST_F(ExportedNamesTest, WriteWithNullListWritesNothing) {
    const std::wstring target = Scratch("nothing.okt");
    EXPECT_FALSE(writeModelOKB(target, nullptr));
    EXPECT_FALSE(writeModelOKT(target, nullptr));
    EXPECT_FALSE(tamtest::fs::exists(target));
    EXPECT_TRUE(Progress().empty());
}

TEST_F(ExportedNamesTest, EntitiesReadAndWrittenUnderBothNames) {
    CTamCADTools::InitializeImport();
    ENTITY_LIST* entities = loadEntitiesOKT(tamtest::SampleOkt());
    ASSERT_NE(entities, nullptr);
    EXPECT_GT(entities->count(), 0);
    // The format written follows the target path, whichever name is called.
    ASSERT_TRUE(writeModelOKT(Scratch("copy.okb"), entities));
    ASSERT_TRUE(writeModelOKB(Scratch("copy.okt"), entities));
    CTamCADTools::DeleteENTITY_LIST(entities);
    delete entities;
    const RootPtr binary(loadModelOKB(Scratch("copy.okb"), 0));
    const RootPtr text(loadModelOKB(Scratch("copy.okt"), 0));
    EXPECT_NE(SceneOf(binary), nullptr);
    EXPECT_NE(SceneOf(text), nullptr);
}

// Runs nm on the shared object and returns its demangled dynamic symbols.
std::string DynamicSymbols() {
    const std::string command = "nm -DC --defined-only '" TAMINTEROPCAD_LIBRARY_FILE "'";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t read = 0;
        while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, read);
        pclose(pipe);
    }
    return output;
}

TEST(ExportedSymbolsTest, SharedObjectExportsEachPlainFunctionByName) {
    const std::string symbols = DynamicSymbols();
    ASSERT_FALSE(symbols.empty()) << "nm gave nothing for " TAMINTEROPCAD_LIBRARY_FILE;
    for (const char* name :
         {" Translate(wchar_t const*, wchar_t const*)", " TranslateInListFile(",
          " LoadModelCAD(wchar_t const*, unsigned int)", " loadModelOKT(", " loadModelOKB(",
          " loadEntitiesOKB(", " loadEntitiesOKT(", " writeModelOKB(", " writeModelOKT("})
        EXPECT_NE(symbols.find(name), std::string::npos) << name;
    // The library's internals stay hidden: only exported classes and plain functions are there.
    EXPECT_EQ(symbols.find("routedExtension"), std::string::npos);
    EXPECT_EQ(symbols.find("loadModelWithFlags"), std::string::npos);
}

}  // namespace
