// Baseline for the import benchmark: the raw Open CASCADE pipeline that `tamcad import` is measured
// against. For each STEP file: XCAF read and transfer (names, colors, layers; no PMI), then
// BRepMesh of every part shape once, on one thread, at the deflection tamcad uses by default:
// linear (0.004 (1 - r)^4 + 0.00005) x bounding-box diagonal with r = 0.5, angular 120 degrees.
//
//   occt_pipeline_bench FILE...
//
// Prints one line per file: seconds for reading, seconds for meshing, the linear deflection,
// parts, triangles of the parts (each once) and of the placed instances (what tamcad counts).
#include <BRepBndLib.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <Poly_Triangulation.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <Standard_Failure.hxx>
#include <TDF_LabelSequence.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kQuality = 0.5;
constexpr double kAngularDegrees = 120.0;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct FileFigures {
    double readSeconds = 0.0;
    double meshSeconds = 0.0;
    double deflection = 0.0;
    int parts = 0;
    long triangles = 0;        // over the parts, each once
    long placedTriangles = 0;  // over the placed instances, as a scene counts them
    bool ok = false;
};

bool readStep(const char* path, Handle(TDocStd_Document) & doc) {
    XCAFApp_Application::GetApplication()->NewDocument("MDTV-XCAF", doc);
    STEPCAFControl_Reader reader;
    reader.SetColorMode(Standard_True);
    reader.SetNameMode(Standard_True);
    reader.SetLayerMode(Standard_True);
    reader.SetPropsMode(Standard_True);
    reader.SetGDTMode(Standard_False);
    if (reader.ReadFile(path) != IFSelect_RetDone)
        return false;
    return reader.Transfer(doc) == Standard_True;
}

// The part shapes of the document: every label that is a shape but not an assembly, once each.
std::vector<TopoDS_Shape> partShapes(const Handle(TDocStd_Document) & doc) {
    Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(doc->Main());
    TDF_LabelSequence labels;
    shapes->GetShapes(labels);
    std::vector<TopoDS_Shape> parts;
    for (TDF_LabelSequence::Iterator it(labels); it.More(); it.Next()) {
        if (XCAFDoc_ShapeTool::IsAssembly(it.Value()))
            continue;
        TopoDS_Shape shape = XCAFDoc_ShapeTool::GetShape(it.Value());
        if (!shape.IsNull())
            parts.push_back(shape);
    }
    return parts;
}

// Diagonal of the box around every placed instance (the free shapes carry the placements).
double modelDiagonal(const Handle(TDocStd_Document) & doc) {
    Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(doc->Main());
    TDF_LabelSequence roots;
    shapes->GetFreeShapes(roots);
    Bnd_Box box;
    for (TDF_LabelSequence::Iterator it(roots); it.More(); it.Next())
        BRepBndLib::Add(XCAFDoc_ShapeTool::GetShape(it.Value()), box);
    if (box.IsVoid())
        return 0.0;
    return std::sqrt(box.SquareExtent());
}

long countTriangles(const TopoDS_Shape& shape) {
    long triangles = 0;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        TopLoc_Location location;
        Handle(Poly_Triangulation) mesh =
            BRep_Tool::Triangulation(TopoDS::Face(it.Current()), location);
        if (!mesh.IsNull())
            triangles += mesh->NbTriangles();
    }
    return triangles;
}

// Triangles of every placed instance: a part placed three times counts three times.
long placedTriangles(const Handle(TDocStd_Document) & doc) {
    Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(doc->Main());
    TDF_LabelSequence roots;
    shapes->GetFreeShapes(roots);
    long triangles = 0;
    for (TDF_LabelSequence::Iterator it(roots); it.More(); it.Next())
        triangles += countTriangles(XCAFDoc_ShapeTool::GetShape(it.Value()));
    return triangles;
}

FileFigures runPipeline(const char* path) {
    FileFigures figures;
    const Clock::time_point readStart = Clock::now();
    Handle(TDocStd_Document) doc;
    const bool read = readStep(path, doc);
    figures.readSeconds = secondsSince(readStart);
    if (!read)
        return figures;

    const Clock::time_point meshStart = Clock::now();
    const double linear = (0.004 * std::pow(1.0 - kQuality, 4) + 0.00005) * modelDiagonal(doc);
    figures.deflection = linear;
    const double angular = kAngularDegrees * M_PI / 180.0;
    for (const TopoDS_Shape& part : partShapes(doc)) {
        if (linear > 0.0)
            BRepMesh_IncrementalMesh(part, linear, Standard_False, angular, Standard_False);
        figures.triangles += countTriangles(part);
        ++figures.parts;
    }
    figures.meshSeconds = secondsSince(meshStart);
    figures.placedTriangles = placedTriangles(doc);
    XCAFApp_Application::GetApplication()->Close(doc);
    figures.ok = true;
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: occt_pipeline_bench FILE...\n");
        return 2;
    }
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_Printer));
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        FileFigures figures;
        try {
            figures = runPipeline(argv[i]);
        } catch (const Standard_Failure& failure) {
            std::fprintf(stderr, "occt_pipeline_bench: %s: %s\n", argv[i], failure.GetMessageString());
        }
        if (!figures.ok)
            ++failures;
        std::printf(
            "%s read %.3f s mesh %.3f s deflection %g parts %d triangles %ld placed %ld%s\n",
            argv[i], figures.readSeconds, figures.meshSeconds, figures.deflection, figures.parts,
            figures.triangles, figures.placedTriangles, figures.ok ? "" : " FAILED");
    }
    return failures == 0 ? 0 : 1;
}
