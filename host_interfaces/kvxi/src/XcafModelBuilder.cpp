#include "XcafModelBuilder.h"

#include "ShapeSplitter.h"

#include <NCollection_DataMap.hxx>
#include <Quantity_Color.hxx>
#include <ShapeBuild_ReShape.hxx>
#include <ShapeFix_Shape.hxx>
#include <TColStd_DataMapOfStringInteger.hxx>
#include <TColStd_HSequenceOfExtendedString.hxx>
#include <TCollection_AsciiString.hxx>
#include <TDF_LabelMapHasher.hxx>
#include <TDataStd_DataMapOfStringReal.hxx>
#include <TDataStd_DataMapOfStringString.hxx>
#include <TDataStd_Name.hxx>
#include <TDataStd_NamedData.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_LayerTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <XCAFPrs.hxx>
#include <XCAFPrs_DocumentExplorer.hxx>
#include <XCAFPrs_IndexedDataMapOfShapeStyle.hxx>

#include <cmath>

namespace tam {
namespace {

// A channel as the file gave it. XCAF keeps colors as linear floats, so the file's (sRGB) value
// comes back with float noise: 1.0 would read 0.99999994 and pack to 254 instead of 255.
double FileChannel(double channel) {
    return std::round(channel * 1e6) / 1e6;
}

RgbColor ToRgb(const Quantity_Color& color) {
    RgbColor rgb;
    color.Values(rgb.red, rgb.green, rgb.blue, Quantity_TOC_sRGB);
    rgb.red = FileChannel(rgb.red);
    rgb.green = FileChannel(rgb.green);
    rgb.blue = FileChannel(rgb.blue);
    return rgb;
}

std::string LabelName(const TDF_Label& label) {
    Handle(TDataStd_Name) name;
    if (label.IsNull() || !label.FindAttribute(TDataStd_Name::GetID(), name))
        return "";
    return ToUtf8(name->Get());
}

// Exporters name instances "NAUO" + a number when the user gave them no name; the product's
// name says more then.
bool IsGeneratedInstanceName(const std::string& name) {
    if (name.empty())
        return true;
    if (name.compare(0, 4, "NAUO") != 0 || name.size() == 4)
        return false;
    return name.find_first_not_of("0123456789", 4) == std::string::npos;
}

// What one part (a referred label) becomes, computed once and shared by its instances.
struct PartData {
    TopoDS_Shape bodyShape;      // without location; null when the part has no body
    gp_Trsf bodyInPart;          // body placement inside the part
    TopLoc_Location freeInPart;  // location of the free shapes inside the part
    std::vector<std::pair<FreeKind, TopoDS_Shape>> freeShapes;
    std::vector<FaceColor> faceColors;  // keyed by faces of bodyShape
    std::vector<NamedValue> properties;
    std::string layer;  // layer found on a sub-shape label of the part
};

class XcafModelBuilder {
public:
    XcafModelBuilder(const Handle(TDocStd_Document) & doc, const TranslateOptions& options,
                     CadModel& model)
        : m_doc(doc),
          m_options(options),
          m_model(model),
          m_colors(XCAFDoc_DocumentTool::ColorTool(doc->Main())),
          m_layers(XCAFDoc_DocumentTool::LayerTool(doc->Main())) {}

    void Run() {
        XCAFPrs_DocumentExplorer explorer(m_doc, XCAFPrs_DocumentExplorerFlags_OnlyLeafNodes);
        for (; explorer.More(); explorer.Next())
            AddLeaf(explorer);
    }

private:
    void AddLeaf(const XCAFPrs_DocumentExplorer& explorer) {
        const XCAFPrs_DocumentNode& node = explorer.Current();
        Attributes attributes = ReadAttributes(explorer);
        if (!attributes.visible && !m_options.hiddenEntities)
            return;
        const PartData& part = Part(node.RefLabel);
        if (attributes.layer.empty())
            attributes.layer = part.layer;
        const gp_Trsf world = node.Location.Transformation();
        if (!part.bodyShape.IsNull())
            AddBody(part, world, attributes);
        AddFreeShapes(part, world, attributes, node.Style);
    }

    void AddBody(const PartData& part, const gp_Trsf& world, const Attributes& attributes) {
        PlacedBody body;
        body.shape = part.bodyShape;
        body.placement = world * part.bodyInPart;
        body.attributes = attributes;
        if (!m_options.overrideFaceColorWithBodyColor || !attributes.color) {
            body.faceColors = part.faceColors;
        }
        body.properties = part.properties;
        m_model.bodies.push_back(std::move(body));
    }

    void AddFreeShapes(const PartData& part, const gp_Trsf& world, const Attributes& attributes,
                       const XCAFPrs_Style& style) {
        const TopLoc_Location location = TopLoc_Location(world) * part.freeInPart;
        for (const auto& free : part.freeShapes) {
            FreeShape shape;
            shape.kind = free.first;
            shape.shape = free.second.Moved(location);
            shape.attributes = attributes;
            if (free.first != FreeKind::Surface && style.IsSetColorCurv()) {
                shape.attributes.color = ToRgb(style.GetColorCurv());
            }
            m_model.freeShapes.push_back(std::move(shape));
        }
    }

    Attributes ReadAttributes(const XCAFPrs_DocumentExplorer& explorer) {
        const XCAFPrs_DocumentNode& node = explorer.Current();
        Attributes attributes;
        attributes.name = LabelName(node.Label);
        if (IsGeneratedInstanceName(attributes.name))
            attributes.name = LabelName(node.RefLabel);
        attributes.layer = FirstLayer(node.Label);
        if (attributes.layer.empty())
            attributes.layer = FirstLayer(node.RefLabel);
        attributes.visible = PathVisible(explorer);
        if (node.Style.IsSetColorSurf())
            attributes.color = ToRgb(node.Style.GetColorSurf());
        return attributes;
    }

    // Hidden when any instance or part on the way from the root is hidden, or on a hidden layer.
    bool PathVisible(const XCAFPrs_DocumentExplorer& explorer) {
        for (int depth = 0; depth <= explorer.CurrentDepth(); ++depth) {
            const XCAFPrs_DocumentNode& node = explorer.Current(depth);
            if (!LabelVisible(node.Label) || !LabelVisible(node.RefLabel))
                return false;
        }
        return true;
    }

    // Visibility of one instance or part label, looked up once per label: assemblies repeat the
    // same parents on the path of every leaf.
    bool LabelVisible(const TDF_Label& label) {
        if (const bool* known = m_visibility.Seek(label))
            return *known;
        const bool visible = LabelAndLayersVisible(label);
        m_visibility.Bind(label, visible);
        return visible;
    }

    bool LabelAndLayersVisible(const TDF_Label& label) const {
        if (!m_colors->IsVisible(label))
            return false;
        TDF_LabelSequence layers;
        m_layers->GetLayers(label, layers);
        for (const TDF_Label& layer : layers) {
            if (!m_layers->IsVisible(layer))
                return false;
        }
        return true;
    }

    std::string FirstLayer(const TDF_Label& label) const {
        Handle(TColStd_HSequenceOfExtendedString) names = new TColStd_HSequenceOfExtendedString;
        if (!m_layers->GetLayers(label, names) || names->IsEmpty())
            return "";
        return ToUtf8(names->First());
    }

    const PartData& Part(const TDF_Label& label) {
        if (const PartData* known = m_parts.Seek(label))
            return *known;
        return *m_parts.Bound(label, MakePart(label));
    }

    PartData MakePart(const TDF_Label& label) const {
        PartData part;
        const TopoDS_Shape located = XCAFDoc_ShapeTool::GetShape(label);
        if (located.IsNull())
            return part;
        const TopLoc_Location partLocation = located.Location();
        TopoDS_Shape base = located.Located(TopLoc_Location());
        Handle(ShapeBuild_ReShape) healed;
        if (m_options.healing && !HasMeshOnlyFace(base))
            base = Heal(base, healed);
        SplitShape split = SplitPartShape(base, m_options);
        part.freeInPart = partLocation;
        part.freeShapes = std::move(split.freeShapes);
        part.properties = ReadProperties(label);
        part.layer = SubShapeLayer(label);
        if (split.body.IsNull())
            return part;
        const TopLoc_Location inner = split.body.Location();
        part.bodyShape = split.body.Located(TopLoc_Location());
        part.bodyInPart = (partLocation * inner).Transformation();
        part.faceColors = FaceColors(label, partLocation.Inverted(), inner.Inverted(), healed);
        return part;
    }

    static TopoDS_Shape Heal(const TopoDS_Shape& shape, Handle(ShapeBuild_ReShape) & context) {
        Handle(ShapeFix_Shape) fixer = new ShapeFix_Shape(shape);
        fixer->Perform();
        context = fixer->Context();
        return fixer->Shape();
    }

    // Face colors of a part from its sub-shape labels; a face's own color beats its solid's.
    std::vector<FaceColor> FaceColors(const TDF_Label& label, const TopLoc_Location& toBase,
                                      const TopLoc_Location& toBody,
                                      const Handle(ShapeBuild_ReShape) & healed) const {
        XCAFPrs_IndexedDataMapOfShapeStyle styles;
        XCAFPrs::CollectStyleSettings(label, TopLoc_Location(), styles);
        const TopoDS_Shape whole = XCAFDoc_ShapeTool::GetShape(label);
        NCollection_DataMap<TopoDS_Shape, RgbColor, TopTools_ShapeMapHasher> byFace;
        std::vector<TopoDS_Shape> order;
        for (int pass = 0; pass < 2; ++pass) {
            for (XCAFPrs_DataMapIteratorOfIndexedDataMapOfShapeStyle it(styles); it.More();
                 it.Next()) {
                const TopoDS_Shape& key = it.Key();
                if (!it.Value().IsSetColorSurf() || key.IsSame(whole))
                    continue;
                if ((key.ShapeType() == TopAbs_FACE) != (pass == 1))
                    continue;
                const RgbColor color = ToRgb(it.Value().GetColorSurf());
                for (TopExp_Explorer faces(key, TopAbs_FACE); faces.More(); faces.Next()) {
                    TopoDS_Shape face = faces.Current().Moved(toBase);
                    if (!healed.IsNull())
                        face = healed->Value(face);
                    face = face.Moved(toBody);
                    if (face.ShapeType() != TopAbs_FACE)
                        continue;
                    if (!byFace.IsBound(face))
                        order.push_back(face);
                    byFace.Bind(face, color);
                }
            }
        }
        std::vector<FaceColor> colors;
        for (const TopoDS_Shape& face : order)
            colors.push_back({face, byFace.Find(face)});
        return colors;
    }

    std::string SubShapeLayer(const TDF_Label& label) const {
        TDF_LabelSequence subLabels;
        XCAFDoc_ShapeTool::GetSubShapes(label, subLabels);
        for (const TDF_Label& sub : subLabels) {
            const TopAbs_ShapeEnum type = XCAFDoc_ShapeTool::GetShape(sub).ShapeType();
            if (type != TopAbs_SOLID && type != TopAbs_SHELL && type != TopAbs_COMPOUND)
                continue;
            const std::string layer = FirstLayer(sub);
            if (!layer.empty())
                return layer;
        }
        return "";
    }

    static std::vector<NamedValue> ReadProperties(const TDF_Label& label) {
        std::vector<NamedValue> properties;
        Handle(TDataStd_NamedData) data;
        if (!label.FindAttribute(TDataStd_NamedData::GetID(), data))
            return properties;
        data->LoadDeferredData();
        if (data->HasStrings()) {
            for (TDataStd_DataMapIteratorOfDataMapOfStringString it(data->GetStringsContainer());
                 it.More(); it.Next()) {
                properties.push_back({ToUtf8(it.Key()), ToUtf8(it.Value())});
            }
        }
        if (data->HasIntegers()) {
            for (TColStd_DataMapIteratorOfDataMapOfStringInteger it(data->GetIntegersContainer());
                 it.More(); it.Next()) {
                properties.push_back({ToUtf8(it.Key()), std::to_string(it.Value())});
            }
        }
        if (data->HasReals()) {
            for (TDataStd_DataMapIteratorOfDataMapOfStringReal it(data->GetRealsContainer());
                 it.More(); it.Next()) {
                properties.push_back({ToUtf8(it.Key()), std::to_string(it.Value())});
            }
        }
        return properties;
    }

    Handle(TDocStd_Document) m_doc;
    const TranslateOptions& m_options;
    CadModel& m_model;
    Handle(XCAFDoc_ColorTool) m_colors;
    Handle(XCAFDoc_LayerTool) m_layers;
    NCollection_DataMap<TDF_Label, PartData, TDF_LabelMapHasher> m_parts;
    NCollection_DataMap<TDF_Label, bool, TDF_LabelMapHasher> m_visibility;
};

}  // namespace

std::string ToUtf8(const TCollection_ExtendedString& text) {
    return TCollection_AsciiString(text).ToCString();
}

void BuildModelFromXcaf(const Handle(TDocStd_Document) & doc, const TranslateOptions& options,
                        CadModel& model) {
    XcafModelBuilder(doc, options, model).Run();
}

}  // namespace tam
