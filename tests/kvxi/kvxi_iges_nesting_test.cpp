// IGES files whose subfigures, groups, composite curves or transformation matrices loop or nest
// past the limit: the translator refuses them with the cause before OCCT's transfer recurses
// through them. The files are made here, line by line in IGES's fixed columns.
#include "kvxi_test_support.h"
#include "scratch_folder.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace kvxitest;

namespace {

struct IgesEntity {
    int type;
    int form;
    std::string parameters;
    int transform;  // directory entry of a transformation matrix, 0 for none
};

std::string Columns(const std::string& text, char section, int sequence) {
    char tail[16];
    std::snprintf(tail, sizeof tail, "%c%7d", section, sequence);
    return text + std::string(72 - text.size(), ' ') + tail + "\n";
}

std::string Fields(const std::vector<int>& values) {
    std::string line;
    for (const int value : values) {
        const std::string field = std::to_string(value);
        line += std::string(8 - field.size(), ' ') + field;
    }
    return line;
}

// A whole file: start, global, directory and parameter sections, terminator. Each entity's
// parameters must fit one 64-column line.
std::string IgesFile(const std::vector<IgesEntity>& entities) {
    const std::string global =
        "1H,,1H;,4HTEST,8Htest.igs,4HTEST,4HTEST,32,38,6,308,15,4HTEST,1.,2,";
    std::string directory, parameters;
    int line = 0;
    for (const IgesEntity& e : entities) {
        ++line;
        const int entry = 2 * line - 1;
        const std::string text = e.parameters + ";";
        directory +=
            Columns(Fields({e.type, line, 0, 0, 0, 0, e.transform, 0}) + "00000000", 'D', entry);
        directory += Columns(Fields({e.type, 0, 0, 1, e.form}), 'D', entry + 1);
        parameters +=
            Columns(text + std::string(64 - text.size(), ' ') + Fields({entry}), 'P', line);
    }
    const int count = static_cast<int>(entities.size());
    return Columns("hostile", 'S', 1) + Columns(global, 'G', 1) +
           Columns("2HMM,1,0.,15H20240101.000000,0.001,1000.,4HTEST,4HTEST,11,0,", 'G', 2) +
           Columns("15H20240101.000000;", 'G', 3) + directory + parameters +
           Columns("S      1G      3D" + Fields({2 * count}).substr(1) + "P" +
                       Fields({count}).substr(1),
                   'T', 1);
}

const IgesEntity kLine{110, 0, "110,0.,0.,0.,10.,0.,0.", 0};
const char* const kMatrix = "124,1.,0.,0.,0.,0.,1.,0.,0.,0.,0.,1.,0.";

// A line at D1 under `levels` entities, each holding the one after it.
std::vector<IgesEntity> Chain(int type, int form, int levels) {
    std::vector<IgesEntity> entities = {kLine};
    for (int i = 0; i < levels; ++i) {
        const int next = i + 1 < levels ? 2 * static_cast<int>(entities.size()) + 3 : 1;
        entities.push_back({type, form, std::to_string(type) + ",1," + std::to_string(next), 0});
    }
    return entities;
}

class KvxiIgesNestingTest : public KernelSuite {
protected:
    KVXIResult Import(const std::vector<IgesEntity>& entities) {
        const std::string path = (m_scratch.path() / "hostile.igs").string();
        std::ofstream(path, std::ios::binary) << IgesFile(entities);
        Entities converted;
        Convert(path, "IGES", EntityOptions(), converted);
        return converted.result;
    }

    tamtest::ScratchFolder m_scratch;
};

TEST_F(KvxiIgesNestingTest, LoopsAndAbsurdDepthAreRefusedWithTheCause) {
    const struct {
        const char* what;
        std::vector<IgesEntity> entities;
        const char* reason;  // empty: imported
    } cases[] = {
        {"subfigure instanced inside itself",
         {kLine, {308, 0, "308,0,1HA,2,1,5", 0}, {408, 0, "408,3,0.,0.,0.,1.", 0}},
         "the entity structure loops: entity D"},
        {"groups holding each other",
         {kLine, {402, 7, "402,2,1,5", 0}, {402, 7, "402,1,3", 0}},
         "the entity structure loops: entity D"},
        {"matrices placed by each other",
         {{110, 0, kLine.parameters, 3}, {124, 0, kMatrix, 5}, {124, 0, kMatrix, 3}},
         "the entity structure loops: entity D"},
        {"30,000 nested groups", Chain(402, 7, 30000),
         "the entity structure nests deeper than 200 levels (at entity D"},
        {"30,000 nested composite curves", Chain(102, 0, 30000),
         "the entity structure nests deeper than 200 levels (at entity D"},
        {"200 nested groups", Chain(402, 7, 200), "nests deeper than 200 levels"},
        {"199 nested groups", Chain(402, 7, 199), ""},
        {"a line", {kLine}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const KVXIResult result = Import(c.entities);
        if (*c.reason == '\0') {
            EXPECT_TRUE(result.IsSuccess()) << result.GetText() << " " << result.GetReason();
        } else {
            EXPECT_EQ(result.GetValue(), KVXIResult::ReadFailed);
            EXPECT_NE(result.GetReason().find(c.reason), std::string::npos) << result.GetReason();
        }
    }
}

}  // namespace
