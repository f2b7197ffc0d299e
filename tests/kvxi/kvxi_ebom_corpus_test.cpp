// The "EBOM" target over the STEP assemblies and the IGES files of the shared corpus: as many
// placed parts (leaves whose part has a body) as the flat conversion has bodies, each where the
// flat conversion puts it, and each distinct part written once.
#include "ebom_test_support.h"
#include "scratch_folder.h"

#include <corpus.h>

using namespace kvxitest;

namespace {

class KvxiEbomCorpusTest : public KernelSuite {};

struct AssemblyCase {
    const char* file;
    int placed;  // -1: as many as the flat conversion has bodies
    int parts;   // -1: as many as the flat conversion has distinct body shapes
};

const AssemblyCase kAssemblies[] = {
    {"step/as1-oc-214.stp", 18, 5},        {"step/as1_pe_203.stp", -1, -1},
    {"step/trj6_as1-id-214.stp", -1, -1},  {"step/trj6_as1-tu-214.stp", -1, -1},
    {"step/as1_motor.step", -1, -1},       {"step/bug25381_test_assembly_invisible.step", -1, -1},
    {"step/bug31670_russian.stp", -1, -1},
};

TEST_F(KvxiEbomCorpusTest, AssembliesKeepEveryPlacedPart) {
    TAM_REQUIRE_CORPUS();
    for (const AssemblyCase& c : kAssemblies) {
        SCOPED_TRACE(c.file);
        const std::string source = (tamtest::CorpusDir() / c.file).string();
        if (tamtest::LeftOutInThisBuild(source))
            continue;
        tamtest::ScratchFolder work;
        const KVXIResult result = ConvertToEbom(source, "STEP", work.folder() + L"\\assembly.xml");
        ASSERT_FALSE(result.IsFailure()) << result.GetValue();
        Ebom ebom;
        LoadEbom((work.path() / "assembly.xml").string(), ebom);
        ASSERT_TRUE(ebom.loaded);
        Entities flat;
        Convert(source, "STEP", EntityOptions(), flat);
        const int bodies = CountBodies(flat);
        const std::pair<int, int> placedAndParts = CountPlacedAndDistinctBodies(ebom);
        EXPECT_EQ(placedAndParts.first, c.placed < 0 ? bodies : c.placed);
        EXPECT_EQ(placedAndParts.second, c.parts < 0 ? CountDistinctBodyShapes(flat) : c.parts);
        EXPECT_EQ(MatchFlatBodies(ebom, flat), bodies);
    }
}

// Every IGES file: the EBOM places as many bodies as the flat conversion has, in the same
// places, or both conversions fail.
TEST_F(KvxiEbomCorpusTest, IgesFilesPlaceTheFlatConversionsBodies) {
    TAM_REQUIRE_CORPUS();
    for (const auto& file : tamtest::CorpusFiles("iges")) {
        SCOPED_TRACE(file.string());
        if (tamtest::LeftOutInThisBuild(file))
            continue;
        tamtest::ScratchFolder work;
        const KVXIResult result =
            ConvertToEbom(file.string(), "IGES", work.folder() + L"\\assembly.xml");
        Entities flat;
        Convert(file.string(), "IGES", EntityOptions(), flat);
        if (result.IsFailure()) {
            EXPECT_EQ(CountBodies(flat), 0);
            continue;
        }
        Ebom ebom;
        LoadEbom((work.path() / "assembly.xml").string(), ebom);
        EXPECT_EQ(CountPlacedAndDistinctBodies(ebom).first, CountBodies(flat));
        EXPECT_EQ(MatchFlatBodies(ebom, flat), CountBodies(flat));
    }
}

}  // namespace
