// The translator against the shared real-world corpus: every file converts or fails cleanly,
// and three assemblies match Open CASCADE's own XCAF view (bodies, names, colors, layers,
// visibility and world placements).
#include "KvxiTestSupport.h"

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

#include <optional>
#include <vector>

using namespace kvxitest;

namespace {

class KvxiCorpusTest : public KernelSuite {};

TEST_F(KvxiCorpusTest, EveryFileConvertsOrFailsCleanly) {
    TAM_REQUIRE_CORPUS();
    int converted = 0, failed = 0;
    for (const char* folder : {"step", "iges", "brep"}) {
        for (const auto& file : tamtest::CorpusFiles(folder)) {
            Entities entities;
            Convert(file.string(), nullptr, EntityOptions(), entities);
            if (entities.result.IsFailure()) {
                ++failed;
                EXPECT_EQ(entities.list, nullptr) << file;
            } else {
                ++converted;
                EXPECT_GT(entities.Count(), 0) << file;
            }
        }
    }
    EXPECT_GT(converted, 60);
    RecordProperty("converted", converted);
    RecordProperty("failed", failed);
}

TEST_F(KvxiCorpusTest, DamagedFilesNeverCrash) {
    TAM_REQUIRE_CORPUS();
    const auto dir = tamtest::CorpusDir();
    for (const char* name :
         {"step/bug32314_corrupted.stp", "step/bug33100_window.step", "iges/bad_header.igs"}) {
        Entities entities;
        Convert((dir / name).string(), nullptr, EntityOptions(), entities);
        EXPECT_FALSE(entities.result.IsSuccess() && entities.Count() == 0) << name;
    }
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

void ExpectSamePlacement(const gp_Trsf& actual, const gp_Trsf& expected, const std::string& what) {
    for (int row = 1; row <= 3; ++row) {
        for (int col = 1; col <= 4; ++col) {
            EXPECT_NEAR(actual.Value(row, col), expected.Value(row, col), 1e-6) << what;
        }
    }
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
            want.color->Values(r, g, b, Quantity_TOC_RGB);
            EXPECT_NEAR(color.red(), r, 1e-9) << what;
            EXPECT_NEAR(color.green(), g, 1e-9) << what;
            EXPECT_NEAR(color.blue(), b, 1e-9) << what;
        }
        ExpectSamePlacement(orik_entity_placement(bodies[i]), want.placement, what);
    }
}

TEST_F(KvxiCorpusTest, AssembliesMatchTheXcafView) {
    TAM_REQUIRE_CORPUS();
    ExpectMatchesXcafView("step/as1-oc-214.stp");
    ExpectMatchesXcafView("step/as1_motor.step");
    ExpectMatchesXcafView("step/bug25381_test_assembly_invisible.step");
}

TEST_F(KvxiCorpusTest, InvisibleComponentsAreMarkedHidden) {
    TAM_REQUIRE_CORPUS();
    Entities entities;
    Convert((tamtest::CorpusDir() / "step/bug25381_test_assembly_invisible.step").string(), "STEP",
            EntityOptions(), entities);
    int hidden = 0;
    for (int i = 0; i < entities.Count(); ++i) {
        hidden += TextAttribute(entities[i], "ATTRIB_XORIK_SHOW") == "0" ? 1 : 0;
    }
    EXPECT_GT(hidden, 0);
}

TEST_F(KvxiCorpusTest, NonAsciiNamesOfARealFile) {
    TAM_REQUIRE_CORPUS();
    KVXIOptions options = EntityOptions();
    options.Add("CodePage", "CP1251");
    Entities entities;
    Convert((tamtest::CorpusDir() / "step/bug31670_russian.stp").string(), "STEP", options,
            entities);
    bool nonAscii = false;
    for (int i = 0; i < entities.Count(); ++i) {
        for (unsigned char c : TextAttribute(entities[i], "ATTRIB_XORIK_NAME"))
            nonAscii |= c >= 0x80;
    }
    EXPECT_TRUE(nonAscii);
}

}  // namespace
