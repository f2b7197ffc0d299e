// The kernel's own files through the translator: entities written to ".okt" and ".okb" targets
// and read back as "Orik" sources keep their bodies, placements, attributes and
// colors; the two forms are told apart by content; damaged files give a failure result.
#include "file_bytes.h"
#include "kvxi_test_support.h"
#include "scratch_folder.h"

#include <filesystem>

namespace fs = std::filesystem;
using namespace kvxitest;

namespace {

const std::string kData = std::string(TAM_TEST_DATA_DIR) + "/kvxi/";

class KvxiKernelFilesTest : public KernelSuite {
protected:
    void SetUp() override {
        Convert(kData + "assembly.stp", "STEP", EntityOptions(), m_original);
        ASSERT_TRUE(m_original.result.IsSuccess());
        AddAttributes();
    }

    std::string Out(const std::string& name) const { return (m_scratch.path() / name).string(); }

    KVXIResult Write(const std::string& path, const char* type = nullptr) const {
        return WriteEntities(m_original, path, type);
    }

    // "Block-1" carries a number, a wide text and a reference to "Block-2" (the kernel's own
    // file tests go through every kind).
    void AddAttributes() {
        ENTITY* block = FindByName(m_original, "Block-1");
        ASSERT_NE(block, nullptr);
        api_add_generic_named_attribute(block, "count", 7);
        api_add_generic_named_attribute(block, "label", L"Größe");
        api_add_generic_named_attribute(block, "twin", FindByName(m_original, "Block-2"));
    }

    tamtest::ScratchFolder m_scratch;
    Entities m_original;
};

template <class Attrib>
const Attrib* Find(const ENTITY* entity, const char* name, int type) {
    ATTRIB_GEN_NAME* attrib = nullptr;
    api_find_named_attribute(entity, name, attrib);
    return attrib && attrib->identity() == type ? static_cast<const Attrib*>(attrib) : nullptr;
}

int CountFaceColors(ENTITY* body) {
    ENTITY_LIST faces;
    api_get_faces(body, faces);
    int colored = 0;
    for (int i = 0; i < faces.count(); ++i) {
        rgb_color color;
        colored += OwnColor(faces[i], color) ? 1 : 0;
    }
    return colored;
}

void ExpectSameBox(const Bnd_Box& actual, const Bnd_Box& expected, const std::string& what) {
    EXPECT_NEAR(actual.CornerMin().Distance(expected.CornerMin()), 0.0, 1e-9) << what;
    EXPECT_NEAR(actual.CornerMax().Distance(expected.CornerMax()), 0.0, 1e-9) << what;
}

TEST_F(KvxiKernelFilesTest, TextAndBinaryFilesKeepBodiesAttributesAndColors) {
    for (const char* name : {"model.okt", "model.okb"}) {
        ASSERT_TRUE(Write(Out(name)).IsSuccess()) << name;
        Entities reread;
        Convert(Out(name), "Orik", EntityOptions(), reread);
        ASSERT_TRUE(reread.result.IsSuccess()) << name << " " << reread.result.GetText();
        EXPECT_EQ(CountBodies(reread), CountBodies(m_original)) << name;
        ExpectSameBox(WorldBox(reread), WorldBox(m_original), name);

        ENTITY* block = FindByName(reread, "Block-1");
        ENTITY* hidden = FindByName(reread, "Hidden cylinder");
        ASSERT_TRUE(block && FindByName(reread, "Block-2") && hidden) << name;
        EXPECT_EQ(TextAttribute(hidden, "ATTRIB_XORIK_SHOW"), "0") << name;
        rgb_color color;
        ASSERT_TRUE(OwnColor(FindByName(reread, "Block-2"), color)) << name;
        EXPECT_EQ(color, rgb_color(1.0, 0.0, 0.0)) << name;
        EXPECT_EQ(CountFaceColors(block), 1) << name;

        const auto* count = Find<ATTRIB_GEN_INTEGER>(block, "count", ATTRIB_GEN_INTEGER_TYPE);
        const auto* label = Find<ATTRIB_GEN_WSTRING>(block, "label", ATTRIB_GEN_WSTRING_TYPE);
        const auto* twin = Find<ATTRIB_GEN_ENTITY>(block, "twin", ATTRIB_GEN_ENTITY_TYPE);
        ASSERT_TRUE(count && label && twin) << name;
        EXPECT_EQ(count->value(), 7);
        EXPECT_EQ(std::wstring(label->value()), L"Größe");
        EXPECT_EQ(twin->value(), FindByName(reread, "Block-2")) << name;
    }
}

TEST_F(KvxiKernelFilesTest, FormsAreToldApartByContent) {
    ASSERT_TRUE(Write(Out("model.okb")).IsSuccess());
    ASSERT_TRUE(Write(Out("model.okt")).IsSuccess());
    fs::copy_file(Out("model.okb"), Out("binary-named.okt"));
    fs::copy_file(Out("model.okt"), Out("no-extension"));
    for (const char* name : {"binary-named.okt", "no-extension"}) {
        Entities reread;
        Convert(Out(name), name[0] == 'b' ? "Orik" : nullptr, EntityOptions(), reread);
        EXPECT_TRUE(reread.result.IsSuccess()) << name;
        EXPECT_EQ(CountBodies(reread), CountBodies(m_original)) << name;
    }
    // The "Orik" tag on a target picks the form from the extension, text by default.
    ASSERT_TRUE(Write(Out("tagged.okb"), "Orik").IsSuccess());
    ASSERT_TRUE(Write(Out("tagged.kernel"), "Orik").IsSuccess());
    EXPECT_EQ(tamtest::readFile(Out("tagged.okb")).substr(0, 7), "ORIKBIN");
    EXPECT_EQ(tamtest::readFile(Out("tagged.kernel")).substr(0, 9), "ORIK-TEXT");
}

TEST_F(KvxiKernelFilesTest, CadFileToKernelFileAndBack) {
    KVXIConverter converter;
    KVXIDocument source(kData + "assembly.stp");
    KVXIDocument target(Out("assembly.okb"));
    ASSERT_TRUE(converter.Convert(source, target).IsSuccess());
    KVXIDocument kernelSource(Out("assembly.okb"));
    KVXIDocument stepTarget(Out("again.stp"));
    ASSERT_FALSE(converter.Convert(kernelSource, stepTarget).IsFailure());
    Entities reread;
    Convert(Out("again.stp"), "STEP", EntityOptions(), reread);
    EXPECT_EQ(CountBodies(reread), 3);
    EXPECT_NE(FindByName(reread, "Block-2"), nullptr);
}

// Damage of every kind is the kernel's tests' business; here its result through the translator.
TEST_F(KvxiKernelFilesTest, DamagedOrMissingKernelFilesFail) {
    ASSERT_TRUE(Write(Out("model.okb")).IsSuccess());
    fs::copy_file(Out("model.okb"), Out("truncated.okb"));
    fs::resize_file(Out("truncated.okb"), fs::file_size(Out("model.okb")) / 2);
    Entities reread;
    Convert(Out("truncated.okb"), "Orik", EntityOptions(), reread);
    EXPECT_EQ(reread.result.GetValue(), KVXIResult::ReadFailed);
    EXPECT_EQ(reread.list, nullptr);
    Entities missing;
    Convert(Out("missing.okt"), "Orik", EntityOptions(), missing);
    EXPECT_EQ(missing.result.GetValue(), KVXIResult::FileNotFound);
    EXPECT_EQ(Write(Out("no/such/folder/model.okt")).GetValue(), KVXIResult::WriteFailed);
}

}  // namespace
