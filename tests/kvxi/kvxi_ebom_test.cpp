// The "EBOM" target: an assembly written as an XML bill of materials and one kernel file per
// part. Every placed part of the EBOM, its part file's body moved by the instance's accumulated
// Position, must land where the flat conversion puts the same instance.
#include "ebom_test_support.h"
#include "file_bytes.h"
#include "scratch_folder.h"

#include <filesystem>

namespace fs = std::filesystem;
using namespace kvxitest;

namespace {

const std::string kData = std::string(TAM_TEST_DATA_DIR) + "/kvxi/";
const std::string kInvalid = std::string(TAM_TEST_DATA_DIR) + "/invalid/";

class KvxiEbomTest : public KernelSuite {
protected:
    // The work folder as the library names the EBOM in it: folder + "\assembly.xml".
    std::wstring XmlPath() const { return m_scratch.folder() + L"\\assembly.xml"; }
    std::string XmlFile() const { return (m_scratch.path() / "assembly.xml").string(); }
    std::vector<std::string> FolderFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_scratch.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    tamtest::ScratchFolder m_scratch;
};

TEST_F(KvxiEbomTest, StepAssemblyKeepsInstancesNamesColorsAndPlacementsInOneUtf16File) {
    const std::string source = kData + "assembly.stp";
    const KVXIResult result = ConvertToEbom(source, "STEP", XmlPath());
    ASSERT_TRUE(result.IsSuccess()) << result.GetValue();
    Ebom ebom;
    LoadEbom(XmlFile(), ebom);
    ASSERT_TRUE(ebom.loaded);
    EXPECT_EQ(ebom.Assembly().attribute("FilePath").value(), source);
    Entities flat;
    Convert(source, "STEP", EntityOptions(), flat);
    EXPECT_EQ(ebom.leaves.size(), static_cast<std::size_t>(CountBodies(flat)));
    EXPECT_EQ(MatchFlatBodies(ebom, flat), CountBodies(flat));
    int red = 0;
    for (const EbomLeaf& leaf : ebom.leaves) {
        red += leaf.color == "#FF0000" ? 1 : 0;
        // Each leaf's part document is named by the leaf's RefLink id and names its file.
        const auto document = ebom.doc.document_element().find_child_by_attribute(
            "Document", "Name", leaf.refLink.c_str());
        EXPECT_STREQ(document.attribute("Type").value(), "okt");
        EXPECT_EQ(document.attribute("FilePath").value(), ebom.ShapeOf(leaf.refLink));
        EXPECT_TRUE(fs::is_regular_file(ebom.ShapeOf(leaf.refLink)));
    }
    EXPECT_EQ(red, 1);
    // The backslash path is one file in the work folder, in UTF-16 with the declaration alone
    // on its first line.
    for (const std::string& name : FolderFiles())
        EXPECT_EQ(name.find('\\'), std::string::npos) << name;
    std::string head = "\xFF\xFE";
    for (char c : std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<"))
        head += {c, '\0'};
    EXPECT_EQ(tamtest::readFile(XmlFile()).substr(0, head.size()), head);
}

TEST_F(KvxiEbomTest, SinglePartIsOneDocumentAndOneInstance) {
    ASSERT_TRUE(ConvertToEbom(kData + "mixed.brep", nullptr, XmlPath()).IsSuccess());
    Ebom ebom;
    LoadEbom(XmlFile(), ebom);
    ASSERT_EQ(ebom.leaves.size(), 1u);
    EXPECT_EQ(ebom.leaves[0].name, "mixed");
    EXPECT_EQ(std::distance(ebom.doc.document_element().children("Document").begin(),
                            ebom.doc.document_element().children("Document").end()),
              2);
    EXPECT_EQ(FolderFiles().size(), 2u);
}

TEST_F(KvxiEbomTest, IgesAssemblyPlacesItsParts) {
    // An IGES copy of the STEP assembly, written by the translator itself.
    const std::string iges = (m_scratch.path() / "copy.igs").string();
    {
        Entities step;
        Convert(kData + "assembly.stp", "STEP", EntityOptions(), step);
        ASSERT_FALSE(WriteEntities(step, iges).IsFailure());
    }
    const fs::path work = m_scratch.path() / "work";
    fs::create_directory(work);
    ASSERT_FALSE(ConvertToEbom(iges, "IGES", work.wstring() + L"\\assembly.xml").IsFailure());
    Ebom ebom;
    LoadEbom((work / "assembly.xml").string(), ebom);
    Entities flat;
    Convert(iges, "IGES", EntityOptions(), flat);
    EXPECT_GT(ebom.leaves.size(), 0u);
    EXPECT_EQ(MatchFlatBodies(ebom, flat), CountBodies(flat));
}

#ifdef TAM_MAKE_PLATES
// Files with many usages are read from their product records rather than through XCAF.
TEST_F(KvxiEbomTest, LargeGeneratedAssembliesMatchTheFlatConversion) {
    struct Case {
        int plates;
        int levels;
        int subAssemblies;
    };
    const Case cases[] = {{500, 1, 50}, {500, 3, 50 + 5 + 1}};
    for (const Case& c : cases) {
        const std::string source = (m_scratch.path() / "plates.step").string();
        const std::string command = std::string(TAM_MAKE_PLATES) + " " + std::to_string(c.plates) +
                                    " " + source + " " + std::to_string(c.levels);
        ASSERT_EQ(std::system(command.c_str()), 0);
        const fs::path work = m_scratch.path() / ("work" + std::to_string(c.levels));
        fs::create_directory(work);
        ASSERT_TRUE(ConvertToEbom(source, "STEP", work.wstring() + L"\\assembly.xml").IsSuccess());
        Ebom ebom;
        LoadEbom((work / "assembly.xml").string(), ebom);
        Entities flat;
        Convert(source, "STEP", EntityOptions(), flat);
        EXPECT_EQ(ebom.leaves.size(), static_cast<std::size_t>(c.plates));
        EXPECT_EQ(ebom.subAssemblies, c.subAssemblies);
        EXPECT_EQ(ebom.maxDepth, c.levels + 1);
        EXPECT_EQ(CountPlacedAndDistinctBodies(ebom).second, 1);
        EXPECT_EQ(MatchFlatBodies(ebom, flat), c.plates);
        EXPECT_EQ(ebom.leaves.front().color, "#0000FF");
        EXPECT_EQ(ebom.leaves.back().name, "Plate_" + std::to_string(c.plates));
    }
}

// The record walk refuses a product used inside itself with the cause the XCAF road gives.
TEST_F(KvxiEbomTest, LargeAssemblyThatLoopsIsRefusedWithItsCause) {
    const fs::path source = m_scratch.path() / "loop.step";
    const std::string command = std::string(TAM_MAKE_PLATES) + " 500 " + source.string() + " 1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string text = tamtest::readFile(source);
    const std::string plateInGroup = ",#195,#168,$);";  // the group's first plate
    const size_t at = text.find(plateInGroup);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, plateInGroup.size(), ",#195,#186,$);");  // now the root
    tamtest::writeFile(source, text);
    const KVXIResult result = ConvertToEbom(source.string(), "STEP", XmlPath());
    EXPECT_EQ(result.GetValue(), KVXIResult::ReadFailed);
    EXPECT_NE(result.GetReason().find("loop.step: the product structure loops: product '"),
              std::string::npos)
        << result.GetReason();
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"loop.step"});
}
#endif

TEST_F(KvxiEbomTest, FailedConversionLeavesNoFiles) {
    struct Case {
        std::string source;
        const char* type;
        int expected;
        const char* inTheWay = nullptr;  // a folder where the EBOM would go
    };
    const Case cases[] = {
        {kData + "assembly.stp", "STEP", KVXIResult::WriteFailed, "assembly.xml"},
        {kInvalid + "kvxi_truncated.stp", "STEP", KVXIResult::ReadFailed},
        {kInvalid + "e2e_empty.step", "STEP", KVXIResult::ReadFailed},
        {kInvalid + "kvxi_garbage.igs", "IGES", KVXIResult::ReadFailed},
        {kData + "assembly.stp", "ProE", KVXIResult::UnsupportedSourceType},
        {kData + "missing.stp", "STEP", KVXIResult::FileNotFound},
    };
    for (const Case& c : cases) {
        const fs::path inTheWay = m_scratch.path() / (c.inTheWay ? c.inTheWay : "");
        if (c.inTheWay)
            fs::create_directory(inTheWay);
        const KVXIResult result = ConvertToEbom(c.source, c.type, XmlPath());
        EXPECT_EQ(result.GetValue(), c.expected) << c.source;
        EXPECT_EQ(FolderFiles().size(), c.inTheWay ? 1u : 0u) << c.source;
        if (c.inTheWay)
            fs::remove(inTheWay);
    }
}

}  // namespace
