// Writes the sample assembly shipped in samples/ as a STEP file with names, colors, a layer,
// a hidden component, one part placed three times, a free curve and a free point.
//
//   make_sample OUTPUT.step
//
// The assembly "SampleAssembly":
//   Base     plate 120 x 80 x 10, faces steel blue but the top one red, layer "12 Structure"
//   Post_1..3  one cylinder part "Post" (green) placed three times on the plate
//   Roof     plate over the posts, yellow
//   Cover    a box over everything, grey, hidden
//   Guide    a free circular edge above the roof, magenta
//   Marker   a free vertex above the roof
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <Quantity_Color.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <TDF_Label.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Face.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_LayerTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Pnt.hxx>
#include <gp_Trsf.hxx>

#include <iostream>

namespace {

struct SampleDocument {
    Handle(TDocStd_Document) doc;
    Handle(XCAFDoc_ShapeTool) shapes;
    Handle(XCAFDoc_ColorTool) colors;
    Handle(XCAFDoc_LayerTool) layers;
};

SampleDocument newDocument() {
    SampleDocument sample;
    Handle(XCAFApp_Application) app = XCAFApp_Application::GetApplication();
    app->NewDocument("MDTV-XCAF", sample.doc);
    sample.shapes = XCAFDoc_DocumentTool::ShapeTool(sample.doc->Main());
    sample.colors = XCAFDoc_DocumentTool::ColorTool(sample.doc->Main());
    sample.layers = XCAFDoc_DocumentTool::LayerTool(sample.doc->Main());
    return sample;
}

void setName(const TDF_Label& label, const char* name) {
    TDataStd_Name::Set(label, TCollection_ExtendedString(name));
}

TopLoc_Location translation(double x, double y, double z) {
    gp_Trsf trsf;
    trsf.SetTranslation(gp_Vec(x, y, z));
    return TopLoc_Location(trsf);
}

// A part definition (not yet placed) with a name and, unless null, a surface color.
TDF_Label addPart(SampleDocument& sample, const TopoDS_Shape& shape, const char* name,
                  const Quantity_Color* color) {
    const TDF_Label part = sample.shapes->AddShape(shape, Standard_False);
    setName(part, name);
    if (color != nullptr)
        sample.colors->SetColor(part, *color, XCAFDoc_ColorSurf);
    return part;
}

TDF_Label addPart(SampleDocument& sample, const TopoDS_Shape& shape, const char* name,
                  const Quantity_Color& color) {
    return addPart(sample, shape, name, &color);
}

// Colors every face of the part: the given face in one color, the others in another.
void colorFaces(SampleDocument& sample, const TDF_Label& part, const TopoDS_Shape& shape,
                const TopoDS_Face& special, const Quantity_Color& specialColor,
                const Quantity_Color& otherColor) {
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        const TDF_Label face = sample.shapes->AddSubShape(part, it.Current());
        const bool isSpecial = it.Current().IsSame(special);
        sample.colors->SetColor(face, isSpecial ? specialColor : otherColor, XCAFDoc_ColorSurf);
        if (isSpecial)
            setName(face, "BaseTop");
    }
}

// The face of the shape whose centre lies highest: the top of a plate.
TopoDS_Face topFace(const TopoDS_Shape& shape) {
    TopoDS_Face best;
    double bestZ = -1e100;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        const TopoDS_Face face = TopoDS::Face(it.Current());
        double z = 0.0;
        int count = 0;
        for (TopExp_Explorer v(face, TopAbs_VERTEX); v.More(); v.Next(), ++count)
            z += BRep_Tool::Pnt(TopoDS::Vertex(v.Current())).Z();
        if (count > 0 && z / count > bestZ) {
            bestZ = z / count;
            best = face;
        }
    }
    return best;
}

TDF_Label place(SampleDocument& sample, const TDF_Label& assembly, const TDF_Label& part,
                const TopLoc_Location& where, const char* instanceName) {
    const TDF_Label component = sample.shapes->AddComponent(assembly, part, where);
    setName(component, instanceName);
    return component;
}

void buildAssembly(SampleDocument& sample) {
    const TDF_Label assembly = sample.shapes->NewShape();
    setName(assembly, "SampleAssembly");

    const TopoDS_Shape baseShape = BRepPrimAPI_MakeBox(120.0, 80.0, 10.0).Shape();
    // The base carries face colors only (a body color would take precedence over them).
    const TDF_Label base = addPart(sample, baseShape, "Base", nullptr);
    colorFaces(sample, base, baseShape, topFace(baseShape),
               Quantity_Color(0.9, 0.1, 0.1, Quantity_TOC_sRGB),
               Quantity_Color(0.25, 0.4, 0.75, Quantity_TOC_sRGB));
    sample.layers->SetLayer(base, TCollection_ExtendedString("12 Structure"));
    place(sample, assembly, base, TopLoc_Location(), "Base");

    const TopoDS_Shape postShape = BRepPrimAPI_MakeCylinder(6.0, 40.0).Shape();
    const TDF_Label post =
        addPart(sample, postShape, "Post", Quantity_Color(0.1, 0.7, 0.2, Quantity_TOC_sRGB));
    place(sample, assembly, post, translation(20.0, 20.0, 10.0), "Post_1");
    place(sample, assembly, post, translation(100.0, 20.0, 10.0), "Post_2");
    place(sample, assembly, post, translation(60.0, 60.0, 10.0), "Post_3");

    const TopoDS_Shape roofShape =
        BRepPrimAPI_MakeBox(gp_Pnt(5.0, 5.0, 0.0), 110.0, 70.0, 4.0).Shape();
    const TDF_Label roof =
        addPart(sample, roofShape, "Roof", Quantity_Color(0.95, 0.8, 0.1, Quantity_TOC_sRGB));
    place(sample, assembly, roof, translation(0.0, 0.0, 50.0), "Roof");

    const TopoDS_Shape coverShape =
        BRepPrimAPI_MakeBox(gp_Pnt(-5.0, -5.0, -5.0), 130.0, 90.0, 70.0).Shape();
    const TDF_Label cover =
        addPart(sample, coverShape, "Cover", Quantity_Color(0.5, 0.5, 0.5, Quantity_TOC_sRGB));
    const TDF_Label coverInstance = place(sample, assembly, cover, TopLoc_Location(), "Cover");
    sample.colors->SetVisibility(coverInstance, Standard_False);

    const gp_Circ circle(gp_Ax2(gp_Pnt(60.0, 40.0, 70.0), gp_Dir(0.0, 0.0, 1.0)), 25.0);
    const TopoDS_Shape guideShape = BRepBuilderAPI_MakeEdge(circle).Shape();
    const TDF_Label guide =
        addPart(sample, guideShape, "Guide", Quantity_Color(0.8, 0.1, 0.8, Quantity_TOC_sRGB));
    sample.colors->SetColor(guide, Quantity_Color(0.8, 0.1, 0.8, Quantity_TOC_sRGB),
                            XCAFDoc_ColorCurv);
    place(sample, assembly, guide, TopLoc_Location(), "Guide");

    // A compound around the vertex keeps the part's name through the STEP writer.
    TopoDS_Compound markerShape;
    BRep_Builder builder;
    builder.MakeCompound(markerShape);
    builder.Add(markerShape, BRepBuilderAPI_MakeVertex(gp_Pnt(60.0, 40.0, 80.0)).Shape());
    const TDF_Label marker =
        addPart(sample, markerShape, "Marker", Quantity_Color(0.1, 0.1, 0.1, Quantity_TOC_sRGB));
    place(sample, assembly, marker, TopLoc_Location(), "Marker");

    sample.shapes->UpdateAssemblies();
}

bool writeStep(const SampleDocument& sample, const char* path) {
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.step.unit", "MM");
    STEPCAFControl_Writer writer;
    writer.SetColorMode(Standard_True);
    writer.SetNameMode(Standard_True);
    writer.SetLayerMode(Standard_True);
    if (!writer.Transfer(sample.doc, STEPControl_AsIs))
        return false;
    return writer.Write(path) == IFSelect_RetDone;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_sample OUTPUT.step\n";
        return 2;
    }
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_Printer));
    try {
        SampleDocument sample = newDocument();
        buildAssembly(sample);
        if (!writeStep(sample, argv[1])) {
            std::cerr << "make_sample: could not write " << argv[1] << "\n";
            return 1;
        }
    } catch (const Standard_Failure& failure) {
        std::cerr << "make_sample: " << failure.GetMessageString() << "\n";
        return 1;
    }
    std::cout << "make_sample: wrote " << argv[1] << "\n";
    return 0;
}
