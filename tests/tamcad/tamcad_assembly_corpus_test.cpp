// `tamcad assembly` on the corpus assembly as1-oc-214: 18 placed parts from 5 meshes, whose
// world boxes (from the product XML read back) match the flat import's bodies within the
// faceting tolerance, under the instance names the file carries; the glTF holds one mesh per part.
#include "assembly_test_support.h"

#include "HostSettings.h"
#include "Plugins.h"

#include <TamInteropCAD/exports.h>
#include <corpus.h>
#include <tamfoundations/CTamProductXmlReader.h>
#include <tamsgdb/CTamDBRoot.h>

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <unistd.h>

#include <map>
#include <memory>

namespace {

namespace fs = std::filesystem;

float distance(const sglBoxBound& a, const sglBoxBound& b) {
    float most = 0.0f;
    for (int c = 0; c < 3; ++c) {
        most = std::max(most, std::abs(a.getMin()[c] - b.getMin()[c]));
        most = std::max(most, std::abs(a.getMax()[c] - b.getMax()[c]));
    }
    return most;
}

float diagonal(const sglBoxBound& box) {
    return (box.getMax() - box.getMin()).length();
}

// The flat import's bodies: geodes of one name under one placement, as world boxes.
std::multimap<std::wstring, sglBoxBound> flatBodies(const sglNode& root) {
    std::map<std::pair<std::wstring, std::vector<float>>, sglBoxBound> bodies;
    const auto* group = dynamic_cast<const sglGroup*>(&root);
    for (unsigned int i = 0; group != nullptr && i < group->getNumChildren(); ++i) {
        const sglNode* child = group->getChild(i);
        const auto* transform = dynamic_cast<const sglTransform<float>*>(child);
        const sglMat4<float> matrix = transform ? transform->getMatrix() : sglMat4<float>();
        tamtest::PlacedPart body;
        tamtest::addGeodes(*child, matrix, body);
        sglBoxBound& box =
            bodies[{body.name, std::vector<float>(matrix.getPtr(), matrix.getPtr() + 16)}];
        if (!body.box.isEmpty()) {
            box.expandToInclude(body.box.getMin());
            box.expandToInclude(body.box.getMax());
        }
    }
    std::multimap<std::wstring, sglBoxBound> byName;
    for (const auto& [key, box] : bodies)
        byName.emplace(key.first, box);
    return byName;
}

TEST(TamcadAssemblyCorpusTest, As1PlacesEighteenPartsWhereTheFlatImportPutsThem) {
    TAM_REQUIRE_CORPUS();
    const fs::path file = tamtest::CorpusDir() / "step" / "as1-oc-214.stp";
    const fs::path dir = fs::temp_directory_path() / ("tamcad_as1_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const tamtest::RunResult run = tamtest::runTamcad("assembly -q " + tamtest::quoted(file) +
                                                      " -o " + tamtest::quoted(dir / "as1.glb") +
                                                      " -o " + tamtest::quoted(dir / "as1.rvdxml"));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(tamtest::summaryFigure(run.out, "instances"), 18) << run.out;
    EXPECT_EQ(tamtest::summaryFigure(run.out, "parts meshed"), 5) << run.out;

    tinygltf::TinyGLTF loader;
    tinygltf::Model model;
    std::string err, warn;
    ASSERT_TRUE(loader.LoadBinaryFromFile(&model, &err, &warn, (dir / "as1.glb").string()));
    EXPECT_EQ(model.meshes.size(), 5u);

    CTamProductXmlReader reader;
    sglGroup* assembly = reader.Read((dir / "as1.rvdxml").wstring());
    fs::remove_all(dir);
    ASSERT_NE(assembly, nullptr);
    assembly->ref();
    const std::vector<tamtest::PlacedPart> parts = tamtest::placedParts(*assembly);

    tam::applyImportSettings(tam::ImportSettings());
    tam::registerPlugins();
    const std::unique_ptr<CTamDBRoot> flat(LoadModelCAD(file.wstring().c_str(), 0x180));
    ASSERT_TRUE(flat && flat->GetSglRoot());
    const std::multimap<std::wstring, sglBoxBound> bodies = flatBodies(*flat->GetSglRoot());
    ASSERT_EQ(bodies.size(), 18u);
    // The chordal error at the default refinement is 0.0003 of the model's diagonal.
    const float tolerance = 0.0003f * diagonal(flat->GetSglRoot()->getBound());
    ASSERT_EQ(parts.size(), 18u);
    for (const tamtest::PlacedPart& part : parts) {
        const std::wstring name = part.placement->getName();
        float nearest = std::numeric_limits<float>::max();
        const auto range = bodies.equal_range(name);
        for (auto body = range.first; body != range.second; ++body)
            nearest = std::min(nearest, distance(part.box, body->second));
        EXPECT_LE(nearest, tolerance) << std::string(name.begin(), name.end());
    }
    assembly->unref();
}

}  // namespace
