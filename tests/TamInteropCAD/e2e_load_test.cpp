// Kernel-file loads end to end: the scene graph of the sample, cancellation, and empty and
// damaged files.
#include "e2e_support.h"

#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>

#include "file_bytes.h"

namespace {

using tamtest::RootPtr;
using tamtest::SceneOf;

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

TEST_F(KernelFileLoadTest, SampleBecomesAPartGroupOfGeodesACancelledLoadOnlyNamesTheFile) {
    const RootPtr root(loadModelOKT(tamtest::SampleOkt(), 0x180));
    auto* group = dynamic_cast<sglGroup*>(SceneOf(root));
    ASSERT_NE(group, nullptr);
    EXPECT_GT(group->getNumChildren(), 5u);
    bool progressNamedTheFile = false;
    for (const auto& step : Progress())
        progressNamedTheFile |= step.hasText && step.text == L"Loading sample_assembly.okt";
    EXPECT_TRUE(progressNamedTheFile);
    EXPECT_TRUE(Messages().empty());

    Progress().clear();
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

}  // namespace
