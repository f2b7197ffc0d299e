// The translator against the shared real-world corpus: every file converts or fails cleanly
// (each read once, with the checks particular files call for), and three assemblies match Open
// CASCADE's own XCAF view (bodies, names, colors, layers, visibility and world placements).
#include "kvxi_test_support.h"

#include <corpus.h>

#include <IFSelect_ReturnStatus.hxx>
#include <Quantity_Color.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <TColStd_HSequenceOfExtendedString.hxx>
#include <TCollection_AsciiString.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp_Explorer.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_LayerTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <XCAFPrs_DocumentExplorer.hxx>

#include <functional>
#include <map>
#include <optional>
#include <vector>

using namespace kvxitest;

namespace {

class KvxiCorpusTest : public KernelSuite {};

int CountWithText(const Entities& entities, const char* attribute, const std::string& text) {
    int count = 0;
    for (int i = 0; i < entities.Count(); ++i)
        count += TextAttribute(entities[i], attribute) == text ? 1 : 0;
    return count;
}

bool HasNonAsciiName(const Entities& entities) {
    for (int i = 0; i < entities.Count(); ++i) {
        for (unsigned char c : TextAttribute(entities[i], "ATTRIB_XORIK_NAME")) {
            if (c >= 0x80)
                return true;
        }
    }
    return false;
}

using FileCheck = std::function<void(const Entities&)>;

// What particular files must give beyond converting cleanly.
const std::map<std::string, FileCheck>& FileChecks() {
    static const std::map<std::string, FileCheck> checks = {
        // Damaged records are skipped with a warning; the rest converts.
        {"bug32314_corrupted.stp",
         [](const Entities& e) {
             EXPECT_EQ(e.result.GetValue(), KVXIResult::Warning);
             EXPECT_GT(CountBodies(e), 0);
         }},
        {"bad_header.igs", [](const Entities& e) { EXPECT_GT(e.Count(), 0); }},
        // AP242 files whose parts are tessellated only.
        {"bug33100_window.step", [](const Entities& e) { EXPECT_EQ(CountBodies(e), 1); }},
        {"bug33638.stp", [](const Entities& e) { EXPECT_EQ(CountBodies(e), 1); }},
        {"nist_ftc_08_asme1_ap242-2.stp", [](const Entities& e) { EXPECT_EQ(CountBodies(e), 1); }},
        // Placements only, no geometry at all.
        {"xr1-db-214_2.stp",
         [](const Entities& e) { EXPECT_EQ(e.result.GetValue(), KVXIResult::NoEntities); }},
        {"bug25381_test_assembly_invisible.step",
         [](const Entities& e) { EXPECT_GT(CountWithText(e, "ATTRIB_XORIK_SHOW", "0"), 0); }},
        {"bug31670_russian.stp", [](const Entities& e) { EXPECT_TRUE(HasNonAsciiName(e)); }},
    };
    return checks;
}

KVXIOptions CorpusOptions(const std::string& name) {
    KVXIOptions options = EntityOptions();
    if (name == "bug31670_russian.stp")
        options.Add("CodePage", "CP1251");
    return options;
}

TEST_F(KvxiCorpusTest, EveryFileConvertsOrFailsCleanly) {
    TAM_REQUIRE_CORPUS();
    int converted = 0, failed = 0, checked = 0;
    for (const char* folder : {"step", "iges", "brep"}) {
        for (const auto& file : tamtest::CorpusFiles(folder)) {
            if (tamtest::LeftOutInThisBuild(file))
                continue;
            const std::string name = file.filename().string();
            Entities entities;
            Convert(file.string(), nullptr, CorpusOptions(name), entities);
            if (entities.result.IsFailure()) {
                ++failed;
                EXPECT_EQ(entities.list, nullptr) << file;
            } else {
                ++converted;
                EXPECT_GT(entities.Count(), 0) << file;
            }
            const auto check = FileChecks().find(name);
            if (check != FileChecks().end()) {
                SCOPED_TRACE(name);
                check->second(entities);
                ++checked;
            }
        }
    }
    EXPECT_GT(converted, tamtest::kSanitizedFileLimit == ~std::uintmax_t(0) ? 70 : 50);
    EXPECT_GE(checked, 5);
    RecordProperty("converted", converted);
    RecordProperty("failed", failed);
}

// One leaf of Open CASCADE's flattened assembly view that holds a solid or a shell.
struct ExpectedBody {
    std::string name;
    std::string layer;
    bool visible = true;
    std::optional<Quantity_Color> color;
    gp_Trsf placement;
};

std::string Utf8Name(const TDF_Label& label) {
    Handle(TDataStd_Name) name;
    if (!label.FindAttribute(TDataStd_Name::GetID(), name))
        return "";
    return TCollection_AsciiString(name->Get()).ToCString();
}

std::string FirstLayer(const Handle(XCAFDoc_LayerTool) & layers, const TDF_Label& label) {
    Handle(TColStd_HSequenceOfExtendedString) names = new TColStd_HSequenceOfExtendedString;
    if (!layers->GetLayers(label, names) || names->IsEmpty())
        return "";
    return TCollection_AsciiString(names->First()).ToCString();
}

bool HasBody(const TopoDS_Shape& shape) {
    return TopExp_Explorer(shape, TopAbs_SHELL).More();
}

std::vector<ExpectedBody> XcafView(const std::string& path) {
    Handle(TDocStd_Document) doc = new TDocStd_Document("BinXCAF");
    XCAFDoc_DocumentTool::Set(doc->Main(), Standard_False);
    STEPCAFControl_Reader reader;
    reader.SetGDTMode(Standard_False);
    EXPECT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    reader.Transfer(doc);
    Handle(XCAFDoc_ColorTool) colors = XCAFDoc_DocumentTool::ColorTool(doc->Main());
    Handle(XCAFDoc_LayerTool) layers = XCAFDoc_DocumentTool::LayerTool(doc->Main());
    std::vector<ExpectedBody> bodies;
    XCAFPrs_DocumentExplorer explorer(doc, XCAFPrs_DocumentExplorerFlags_OnlyLeafNodes);
    for (; explorer.More(); explorer.Next()) {
        const XCAFPrs_DocumentNode& node = explorer.Current();
        const TopoDS_Shape shape = XCAFDoc_ShapeTool::GetShape(node.RefLabel);
        if (!HasBody(shape))
            continue;
        ExpectedBody body;
        body.name = Utf8Name(node.Label);
        const bool generated = body.name.rfind("NAUO", 0) == 0 && body.name.size() > 4 &&
                               body.name.find_first_not_of("0123456789", 4) == std::string::npos;
        if (body.name.empty() || generated)
            body.name = Utf8Name(node.RefLabel);
        body.layer = FirstLayer(layers, node.Label);
        if (body.layer.empty())
            body.layer = FirstLayer(layers, node.RefLabel);
        for (int depth = 0; depth <= explorer.CurrentDepth(); ++depth) {
            const XCAFPrs_DocumentNode& step = explorer.Current(depth);
            body.visible &= colors->IsVisible(step.Label) && colors->IsVisible(step.RefLabel);
        }
        if (node.Style.IsSetColorSurf())
            body.color = node.Style.GetColorSurf();
        body.placement = node.Location.Transformation() * shape.Location().Transformation();
        bodies.push_back(body);
    }
    return bodies;
}

void ExpectMatchesXcafView(const std::string& relative) {
    const std::string path = (tamtest::CorpusDir() / relative).string();
    const std::vector<ExpectedBody> expected = XcafView(path);
    Entities entities;
    Convert(path, "STEP", EntityOptions(), entities);
    ASSERT_FALSE(entities.result.IsFailure()) << relative;
    std::vector<ENTITY*> bodies;
    for (int i = 0; i < entities.Count(); ++i) {
        if (is_BODY(entities[i]))
            bodies.push_back(entities[i]);
    }
    ASSERT_EQ(bodies.size(), expected.size()) << relative;
    for (size_t i = 0; i < bodies.size(); ++i) {
        const ExpectedBody& want = expected[i];
        const std::string what = relative + " body " + std::to_string(i) + " " + want.name;
        EXPECT_EQ(TextAttribute(bodies[i], "ATTRIB_XORIK_NAME"), want.name) << what;
        EXPECT_EQ(TextAttribute(bodies[i], "ATTRIB_XORIK_LAYER"), want.layer) << what;
        EXPECT_EQ(TextAttribute(bodies[i], "ATTRIB_XORIK_SHOW") != "0", want.visible) << what;
        rgb_color color;
        const bool colored = OwnColor(bodies[i], color);
        ASSERT_EQ(colored, want.color.has_value()) << what;
        if (colored) {
            double r, g, b;
            // The file's (sRGB) values, which the translator keeps to six decimals.
            want.color->Values(r, g, b, Quantity_TOC_sRGB);
            EXPECT_NEAR(color.red(), r, 1e-6) << what;
            EXPECT_NEAR(color.green(), g, 1e-6) << what;
            EXPECT_NEAR(color.blue(), b, 1e-6) << what;
        }
        EXPECT_LE(MatrixDistance(orik_entity_placement(bodies[i]), want.placement), 1e-6) << what;
    }
}

TEST_F(KvxiCorpusTest, AssembliesMatchTheXcafView) {
    TAM_REQUIRE_CORPUS();
    ExpectMatchesXcafView("step/as1-oc-214.stp");
    ExpectMatchesXcafView("step/as1_motor.step");
    ExpectMatchesXcafView("step/bug25381_test_assembly_invisible.step");
}

}  // namespace
