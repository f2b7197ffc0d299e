#include "XcafPartReader.h"

#include "ShapeSplitter.h"
#include "XcafModelBuilder.h"

#include <ShapeFix_Shape.hxx>
#include <TColStd_DataMapOfStringInteger.hxx>
#include <TColStd_HSequenceOfExtendedString.hxx>
#include <TDataStd_DataMapOfStringReal.hxx>
#include <TDataStd_DataMapOfStringString.hxx>
#include <TDataStd_Name.hxx>
#include <TDataStd_NamedData.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <XCAFPrs.hxx>
#include <XCAFPrs_IndexedDataMapOfShapeStyle.hxx>

#include <cmath>

namespace tam {
namespace {

// A channel as the file gave it. XCAF keeps colors as linear floats, so the file's (sRGB) value
// comes back with float noise: 1.0 would read 0.99999994 and pack to 254 instead of 255.
double FileChannel(double channel) {
    return std::round(channel * 1e6) / 1e6;
}

TopoDS_Shape Heal(const TopoDS_Shape& shape, Handle(ShapeBuild_ReShape) & context) {
    Handle(ShapeFix_Shape) fixer = new ShapeFix_Shape(shape);
    fixer->Perform();
    context = fixer->Context();
    return fixer->Shape();
}

std::vector<NamedValue> ReadProperties(const TDF_Label& label) {
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
        for (TDataStd_DataMapIteratorOfDataMapOfStringReal it(data->GetRealsContainer()); it.More();
             it.Next()) {
            properties.push_back({ToUtf8(it.Key()), std::to_string(it.Value())});
        }
    }
    return properties;
}

}  // namespace

RgbColor ToRgb(const Quantity_Color& color) {
    RgbColor rgb;
    color.Values(rgb.red, rgb.green, rgb.blue, Quantity_TOC_sRGB);
    rgb.red = FileChannel(rgb.red);
    rgb.green = FileChannel(rgb.green);
    rgb.blue = FileChannel(rgb.blue);
    return rgb;
}

bool IsGeneratedInstanceName(const std::string& name) {
    if (name.empty())
        return true;
    if (name.compare(0, 4, "NAUO") != 0 || name.size() == 4)
        return false;
    return name.find_first_not_of("0123456789", 4) == std::string::npos;
}

std::string LabelName(const TDF_Label& label) {
    Handle(TDataStd_Name) name;
    if (label.IsNull() || !label.FindAttribute(TDataStd_Name::GetID(), name))
        return "";
    return ToUtf8(name->Get());
}

XcafPartReader::XcafPartReader(const Handle(TDocStd_Document) & doc,
                               const TranslateOptions& options)
    : m_options(options),
      m_colors(XCAFDoc_DocumentTool::ColorTool(doc->Main())),
      m_layers(XCAFDoc_DocumentTool::LayerTool(doc->Main())) {}

Attributes XcafPartReader::NodeAttributes(const XCAFPrs_DocumentExplorer& explorer) {
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

std::optional<RgbColor> XcafPartReader::LabelColor(const TDF_Label& label) const {
    Quantity_Color color;
    if (m_colors->GetColor(label, XCAFDoc_ColorSurf, color) ||
        m_colors->GetColor(label, XCAFDoc_ColorGen, color))
        return ToRgb(color);
    return std::nullopt;
}

// Hidden when any instance or part on the way from the root is hidden, or on a hidden layer.
bool XcafPartReader::PathVisible(const XCAFPrs_DocumentExplorer& explorer) {
    for (int depth = 0; depth <= explorer.CurrentDepth(); ++depth) {
        const XCAFPrs_DocumentNode& node = explorer.Current(depth);
        if (!LabelVisible(node.Label) || !LabelVisible(node.RefLabel))
            return false;
    }
    return true;
}

// Visibility of one instance or part label, looked up once per label: assemblies repeat the
// same parents on the path of every leaf.
bool XcafPartReader::LabelVisible(const TDF_Label& label) {
    if (const bool* known = m_visibility.Seek(label))
        return *known;
    const bool visible = LabelAndLayersVisible(label);
    m_visibility.Bind(label, visible);
    return visible;
}

bool XcafPartReader::LabelAndLayersVisible(const TDF_Label& label) const {
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

std::string XcafPartReader::FirstLayer(const TDF_Label& label) const {
    Handle(TColStd_HSequenceOfExtendedString) names = new TColStd_HSequenceOfExtendedString;
    if (!m_layers->GetLayers(label, names) || names->IsEmpty())
        return "";
    return ToUtf8(names->First());
}

const PartData& XcafPartReader::Part(const TDF_Label& label) {
    if (const PartData* known = m_parts.Seek(label))
        return *known;
    return *m_parts.Bound(label, MakePart(label));
}

PartData XcafPartReader::MakePart(const TDF_Label& label) const {
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

// Face colors of a part from its sub-shape labels; a face's own color beats its solid's.
std::vector<FaceColor> XcafPartReader::FaceColors(const TDF_Label& label,
                                                  const TopLoc_Location& toBase,
                                                  const TopLoc_Location& toBody,
                                                  const Handle(ShapeBuild_ReShape) & healed) const {
    XCAFPrs_IndexedDataMapOfShapeStyle styles;
    XCAFPrs::CollectStyleSettings(label, TopLoc_Location(), styles);
    const TopoDS_Shape whole = XCAFDoc_ShapeTool::GetShape(label);
    NCollection_DataMap<TopoDS_Shape, RgbColor, TopTools_ShapeMapHasher> byFace;
    std::vector<TopoDS_Shape> order;
    for (int pass = 0; pass < 2; ++pass) {
        for (XCAFPrs_DataMapIteratorOfIndexedDataMapOfShapeStyle it(styles); it.More(); it.Next()) {
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

std::string XcafPartReader::SubShapeLayer(const TDF_Label& label) const {
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

std::optional<AssemblyPart> XcafPartReader::AssemblyPartOf(const TDF_Label& label,
                                                           const std::string& name) {
    const PartData& data = Part(label);
    if (data.bodyShape.IsNull() && data.freeShapes.empty())
        return std::nullopt;
    AssemblyPart part;
    part.name = name;
    part.properties = data.properties;
    Attributes attributes;
    attributes.name = name;
    attributes.layer = data.layer;
    attributes.color = LabelColor(label);
    if (!data.bodyShape.IsNull()) {
        PlacedBody body;
        body.shape = data.bodyShape;
        body.placement = data.bodyInPart;
        body.attributes = attributes;
        body.faceColors = data.faceColors;
        body.properties = data.properties;
        part.content.bodies.push_back(std::move(body));
    }
    for (const auto& free : data.freeShapes)
        part.content.freeShapes.push_back(
            {free.first, free.second.Moved(data.freeInPart), attributes});
    return part;
}

}  // namespace tam
