// Reads what the labels of an XCAF document carry: each part (a referred shape label) once, as
// its body in part coordinates, free shapes, face colors, user properties and layer; and the
// name, layer, visibility and color of an explorer node. Shared by the reader that flattens an
// assembly and the one that keeps its structure.
#pragma once

#include "AssemblyModel.h"
#include "CadModel.h"
#include "TranslateOptions.h"

#include <NCollection_DataMap.hxx>
#include <Quantity_Color.hxx>
#include <ShapeBuild_ReShape.hxx>
#include <TDF_Label.hxx>
#include <TDF_LabelMapHasher.hxx>
#include <TDocStd_Document.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_LayerTool.hxx>
#include <XCAFPrs_DocumentExplorer.hxx>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tam {

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

// A color as the file gave it (sRGB channels rounded to six decimals).
RgbColor ToRgb(const Quantity_Color& color);
// True for an empty instance name or one that exporters generate ("NAUO" + a number): the
// product's name says more then.
bool IsGeneratedInstanceName(const std::string& name);
// The label's name in UTF-8, or "" when it has none.
std::string LabelName(const TDF_Label& label);

class XcafPartReader {
public:
    XcafPartReader(const Handle(TDocStd_Document) & doc, const TranslateOptions& options);

    // The part of a referred label, read on first use; the reference stays valid while the
    // reader lives.
    const PartData& Part(const TDF_Label& label);
    // Name (the instance's, or the product's when the instance has none or a generated one),
    // layer, visibility along the path from the root, and surface color of the current node.
    Attributes NodeAttributes(const XCAFPrs_DocumentExplorer& explorer);
    // The surface (else generic) color set on the label itself, if any.
    std::optional<RgbColor> LabelColor(const TDF_Label& label) const;
    // The part of a referred label as an assembly part called name: its body and free shapes,
    // each with the part's name, layer and the label's own color. Nothing when it has neither.
    std::optional<AssemblyPart> AssemblyPartOf(const TDF_Label& label, const std::string& name);

private:
    bool PathVisible(const XCAFPrs_DocumentExplorer& explorer);
    bool LabelVisible(const TDF_Label& label);
    bool LabelAndLayersVisible(const TDF_Label& label) const;
    std::string FirstLayer(const TDF_Label& label) const;
    PartData MakePart(const TDF_Label& label) const;
    std::vector<FaceColor> FaceColors(const TDF_Label& label, const TopLoc_Location& toBase,
                                      const TopLoc_Location& toBody,
                                      const Handle(ShapeBuild_ReShape) & healed) const;
    std::string SubShapeLayer(const TDF_Label& label) const;

    const TranslateOptions& m_options;
    Handle(XCAFDoc_ColorTool) m_colors;
    Handle(XCAFDoc_LayerTool) m_layers;
    NCollection_DataMap<TDF_Label, PartData, TDF_LabelMapHasher> m_parts;
    NCollection_DataMap<TDF_Label, bool, TDF_LabelMapHasher> m_visibility;
};

}  // namespace tam
