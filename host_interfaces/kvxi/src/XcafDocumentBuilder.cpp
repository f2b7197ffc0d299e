#include "XcafDocumentBuilder.h"

#include "XcafReader.h"

#include <NCollection_DataMap.hxx>
#include <Quantity_Color.hxx>
#include <TCollection_ExtendedString.hxx>
#include <TDataStd_Name.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_LayerTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

namespace tam {
namespace {

Quantity_Color ToOcct(const RgbColor& color) {
    return Quantity_Color(color.red, color.green, color.blue, Quantity_TOC_sRGB);
}

TCollection_ExtendedString FromUtf8(const std::string& text) {
    return TCollection_ExtendedString(text.c_str(), Standard_True);
}

class XcafDocumentBuilder {
public:
    XcafDocumentBuilder(const CadModel& model, bool flat)
        : m_model(model),
          m_flat(flat),
          m_doc(NewXcafDocument()),
          m_shapes(XCAFDoc_DocumentTool::ShapeTool(m_doc->Main())),
          m_colors(XCAFDoc_DocumentTool::ColorTool(m_doc->Main())),
          m_layers(XCAFDoc_DocumentTool::LayerTool(m_doc->Main())) {}

    Handle(TDocStd_Document) Run() {
        if (m_flat) {
            AddFlatBodies();
        } else if (IsSinglePart()) {
            const PlacedBody& body = m_model.bodies.front();
            const TDF_Label part = Part(body);
            SetAttributes(part, body.attributes, false);
        } else if (!m_model.bodies.empty()) {
            AddAssembly();
        }
        for (const FreeShape& free : m_model.freeShapes) {
            const TDF_Label label = m_shapes->AddShape(free.shape, Standard_False);
            SetAttributes(label, free.attributes, free.kind != FreeKind::Surface);
        }
        m_shapes->UpdateAssemblies();
        return m_doc;
    }

private:
    bool IsSinglePart() const {
        return m_model.bodies.size() == 1 && m_model.bodies.front().placement.Form() == gp_Identity;
    }

    void AddFlatBodies() {
        for (const PlacedBody& body : m_model.bodies) {
            const TopoDS_Shape placed = body.shape.Moved(TopLoc_Location(body.placement));
            const TDF_Label label = m_shapes->AddShape(placed, Standard_False);
            SetAttributes(label, body.attributes, false);
        }
    }

    void AddAssembly() {
        const TDF_Label assembly = m_shapes->NewShape();
        TDataStd_Name::Set(assembly, "ASSEMBLY");
        for (const PlacedBody& body : m_model.bodies) {
            const TDF_Label component =
                m_shapes->AddComponent(assembly, Part(body), TopLoc_Location(body.placement));
            SetAttributes(component, body.attributes, false);
        }
    }

    // The part label of a body's shape, made on first use with the first body's face colors.
    TDF_Label Part(const PlacedBody& body) {
        if (const TDF_Label* known = m_parts.Seek(body.shape))
            return *known;
        const TDF_Label part = m_shapes->AddShape(body.shape, Standard_False);
        if (!body.attributes.name.empty()) {
            TDataStd_Name::Set(part, FromUtf8(body.attributes.name));
        }
        for (const FaceColor& faceColor : body.faceColors) {
            const TDF_Label face = m_shapes->AddSubShape(part, faceColor.face);
            if (!face.IsNull())
                m_colors->SetColor(face, ToOcct(faceColor.color), XCAFDoc_ColorSurf);
        }
        m_parts.Bind(body.shape, part);
        return part;
    }

    void SetAttributes(const TDF_Label& label, const Attributes& attributes, bool curve) {
        if (!attributes.name.empty())
            TDataStd_Name::Set(label, FromUtf8(attributes.name));
        // OCCT 7.6's STEP writer crashes on a hidden shape without a style, so a hidden
        // shape always gets a color (the kernel's default one when it has none).
        const RgbColor kDefault{0.8, 0.8, 0.9};
        if (attributes.color || !attributes.visible) {
            m_colors->SetColor(label, ToOcct(attributes.color.value_or(kDefault)),
                               curve ? XCAFDoc_ColorCurv : XCAFDoc_ColorSurf);
        }
        if (!attributes.layer.empty())
            m_layers->SetLayer(label, FromUtf8(attributes.layer));
        if (!attributes.visible)
            m_colors->SetVisibility(label, Standard_False);
    }

    const CadModel& m_model;
    bool m_flat;
    Handle(TDocStd_Document) m_doc;
    Handle(XCAFDoc_ShapeTool) m_shapes;
    Handle(XCAFDoc_ColorTool) m_colors;
    Handle(XCAFDoc_LayerTool) m_layers;
    NCollection_DataMap<TopoDS_Shape, TDF_Label, TopTools_ShapeMapHasher> m_parts;
};

}  // namespace

Handle(TDocStd_Document) BuildXcafDocument(const CadModel& model, bool flat) {
    return XcafDocumentBuilder(model, flat).Run();
}

}  // namespace tam
