// The plain exported functions: the flags word, the sample's scene graph, cancellation, empty
// and damaged kernel files, the two-name pairs, the null list of writeModelOKB, and the names the
// shared object exports.
#include "e2e_support.h"

#include <tamsg/sglGroup.h>

#include "file_bytes.h"
#include "run_shell.h"

namespace {

using tamtest::RootPtr;
using tamtest::SceneOf;

class ExportedFlagsTest : public tamtest::StoppedKernelTest {};

TEST_F(ExportedFlagsTest, FlagsStartAndStopTheKernelAroundOneLoad) {
    struct Case {
        unsigned int flags;
        bool runningBefore;
        bool scene;
        bool runningAfter;
    };
    const Case cases[] = {
        {0x180, false, true, false},   // start and stop
        {0x80, false, true, true},     // start only leaves the kernel running
        {0x100, true, true, false},    // stop only stops a kernel the caller started
        {0, true, true, true},         // no flags leave the kernel alone
        {0x200, false, false, false},  // high bits alone do not start the kernel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags);
        StopKernelIfRunning();
        Messages().clear();
        if (c.runningBefore)
            CTamCADTools::InitializeImport();
        // The binary name reads the flags word the same way.
        const auto load = c.flags == 0x80 ? &loadModelOKB : &loadModelOKT;
        const RootPtr root(load(tamtest::SampleOkt(), c.flags));
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(SceneOf(root) != nullptr, c.scene);
        EXPECT_EQ(api_modeller_running() != 0, c.runningAfter);
        if (c.flags == 0x180) {  // the sample is a part group of geodes; progress names it
            EXPECT_TRUE(Messages().empty());
            EXPECT_GT(dynamic_cast<sglGroup*>(SceneOf(root))->getNumChildren(), 5u);
            bool named = false;
            for (const auto& step : Progress())
                named |= step.hasText && step.text == L"Loading sample_assembly.okt";
            EXPECT_TRUE(named);
        }
    }
}

class KernelFileLoadTest : public tamtest::StoppedKernelTest {
protected:
    // Loads path with start and stop and expects a root whose scene root is null.
    void ExpectNothingLoaded(const std::wstring& path) {
        const RootPtr root(loadModelOKT(path, 0x180));
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(SceneOf(root), nullptr);
        EXPECT_FALSE(api_modeller_running());
    }
};

TEST_F(KernelFileLoadTest, CancelledLoadOnlyNamesTheFile) {
    sglModelLoader::m_sbCancelImport = true;
    ExpectNothingLoaded(tamtest::SampleOkt());
    ASSERT_EQ(Progress().size(), 1u);
    EXPECT_EQ(Progress()[0].text, L"Loading sample_assembly.okt");
    EXPECT_FLOAT_EQ(Progress()[0].fraction, 0.0f);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KernelFileLoadTest, EmptyDamagedMissingOrTruncatedFilesFailCleanly) {
    for (const std::wstring& path :
         {tamtest::InvalidData("e2e_empty.okt"), tamtest::InvalidData("e2e_truncated_sample.okt"),
          Scratch("missing.okt")}) {
        SCOPED_TRACE(tamtest::fs::path(path).filename().string());
        Messages().clear();
        ExpectNothingLoaded(path);
        EXPECT_EQ(Messages().size(), 1u);
    }
    const std::string bytes = tamtest::readFile(tamtest::SampleOkt());
    ASSERT_FALSE(bytes.empty());
    const std::wstring path = Scratch("cut.okt");
    CTamCADTools::InitializeImport();
    // A spread of lengths across the file; each load either fails cleanly or yields a scene.
    for (size_t length = 0; length < bytes.size(); length += 1 + bytes.size() / 40) {
        std::ofstream(tamtest::fs::path(path), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), length);
        const RootPtr root(loadModelOKT(path, 0));
        ASSERT_NE(root, nullptr) << length;
    }
}

class ExportedNamesTest : public tamtest::StoppedKernelTest {};

TEST_F(ExportedNamesTest, EntitiesReadAndWrittenUnderBothNamesANullListWritesNothing) {
    EXPECT_FALSE(writeModelOKB(Scratch("nothing.okt"), nullptr));
    EXPECT_FALSE(writeModelOKT(Scratch("nothing.okt"), nullptr));
    EXPECT_FALSE(tamtest::fs::exists(Scratch("nothing.okt")));
    EXPECT_TRUE(Progress().empty());
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

// The plain functions by name, and the assembly parsers and collector whole; the library's
// internals stay hidden.
TEST(ExportedSymbolsTest, SharedObjectExportsPlainFunctionsAndAssemblyClasses) {
    const std::string symbols =
        tamtest::runShell("nm -DC --defined-only '" TAMINTEROPCAD_LIBRARY_FILE "'", false).out;
    ASSERT_FALSE(symbols.empty()) << "nm gave nothing for " TAMINTEROPCAD_LIBRARY_FILE;
    for (const char* name :
         {" Translate(wchar_t const*, wchar_t const*)", " TranslateInListFile(",
          " LoadModelCAD(wchar_t const*, unsigned int)", " loadModelOKT(", " loadModelOKB(",
          " loadEntitiesOKB(", " loadEntitiesOKT(", " writeModelOKB(", " writeModelOKT(",
          " CTamEBOMParser::Parse()", " CTamEBOMParser::AddChildToAssembly(",
          " CTamEBOMParser::~CTamEBOMParser()", " CTamMetaCollector::WriteMetaProperties(",
          " CTamXmlOnlyParser::Parse()", " CTamXmlOnlyParser::AddReferencedGroupToXML(",
          " CTamXmlOnlyParser::~CTamXmlOnlyParser()"})
        EXPECT_NE(symbols.find(name), std::string::npos) << name;
    for (const char* hidden :
         {"routedExtension", "loadModelWithFlags", "tam_ebom::", "tam_assembly::"})
        EXPECT_EQ(symbols.find(hidden), std::string::npos) << hidden;
}

}  // namespace
