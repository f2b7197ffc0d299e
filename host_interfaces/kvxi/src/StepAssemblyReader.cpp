#include "StepAssemblyReader.h"

#include "ModelReader.h"
#include "XcafPartReader.h"

#include <IFSelect_ReturnStatus.hxx>
#include <Interface_EntityIterator.hxx>
#include <Interface_Graph.hxx>
#include <Interface_Static.hxx>
#include <NCollection_DataMap.hxx>
#include <Quantity_Color.hxx>
#include <STEPConstruct_Styles.hxx>
#include <STEPControl_Reader.hxx>
#include <StepBasic_Product.hxx>
#include <StepBasic_ProductDefinition.hxx>
#include <StepBasic_ProductDefinitionFormation.hxx>
#include <StepData_GlobalFactors.hxx>
#include <StepData_StepModel.hxx>
#include <StepGeom_Axis2Placement3d.hxx>
#include <StepGeom_CartesianPoint.hxx>
#include <StepGeom_Direction.hxx>
#include <StepRepr_ItemDefinedTransformation.hxx>
#include <StepRepr_NextAssemblyUsageOccurrence.hxx>
#include <StepRepr_ProductDefinitionShape.hxx>
#include <StepRepr_PropertyDefinition.hxx>
#include <StepRepr_Representation.hxx>
#include <StepRepr_RepresentationRelationshipWithTransformation.hxx>
#include <StepRepr_ShapeRepresentationRelationship.hxx>
#include <StepShape_ContextDependentShapeRepresentation.hxx>
#include <StepShape_ShapeDefinitionRepresentation.hxx>
#include <StepVisual_StyledItem.hxx>
#include <TColStd_MapTransientHasher.hxx>
#include <XSControl_WorkSession.hxx>
#include <gp_Ax3.hxx>

#include <fstream>
#include <vector>

namespace tam {
namespace {

using Definition = Handle(StepBasic_ProductDefinition);

struct Usage {
    Handle(StepRepr_NextAssemblyUsageOccurrence) occurrence;
    gp_Trsf placement;  // of the child in the parent, in file units
};

// The assembly usages of the file: for each parent definition its usages in file order.
struct ProductStructure {
    NCollection_DataMap<Handle(Standard_Transient), std::vector<Usage>, TColStd_MapTransientHasher>
        children;
    NCollection_DataMap<Handle(Standard_Transient), bool, TColStd_MapTransientHasher> isChild;
    std::vector<Definition> parents;  // in order of first appearance
    int usages = 0;
};

std::string Text(const Handle(TCollection_HAsciiString) & text) {
    return text.IsNull() ? std::string() : std::string(text->ToCString());
}

bool ReadDirection(const Handle(StepGeom_Direction) & direction, gp_Dir& out) {
    if (direction.IsNull() || direction->NbDirectionRatios() < 3)
        return false;
    const gp_XYZ xyz(direction->DirectionRatiosValue(1), direction->DirectionRatiosValue(2),
                     direction->DirectionRatiosValue(3));
    if (xyz.Modulus() < gp::Resolution())
        return false;
    out = gp_Dir(xyz);
    return true;
}

// The placement as a frame; a missing axis is z, a missing or parallel reference x.
gp_Ax3 Frame(const Handle(StepGeom_Axis2Placement3d) & axis) {
    gp_Pnt origin;
    const Handle(StepGeom_CartesianPoint)& point = axis->Location();
    if (!point.IsNull() && point->NbCoordinates() >= 3) {
        origin = gp_Pnt(point->CoordinatesValue(1), point->CoordinatesValue(2),
                        point->CoordinatesValue(3));
    }
    gp_Dir z(0, 0, 1);
    gp_Dir x(1, 0, 0);
    if (axis->HasAxis())
        ReadDirection(axis->Axis(), z);
    if (!axis->HasRefDirection() || !ReadDirection(axis->RefDirection(), x) ||
        x.IsParallel(z, 1e-9))
        x = z.IsParallel(gp_Dir(1, 0, 0), 1e-9) ? gp_Dir(0, 1, 0) : gp_Dir(1, 0, 0);
    return gp_Ax3(origin, z, x);
}

// The child's placement: the transformation that takes the first item's frame onto the second.
bool ReadPlacement(const Handle(StepShape_ContextDependentShapeRepresentation) & cdsr,
                   gp_Trsf& out) {
    const auto relation = Handle(StepRepr_RepresentationRelationshipWithTransformation)::DownCast(
        cdsr->RepresentationRelation());
    if (relation.IsNull())
        return false;
    const Handle(StepRepr_ItemDefinedTransformation) transformation =
        relation->TransformationOperator().ItemDefinedTransformation();
    if (transformation.IsNull())
        return false;
    const auto from = Handle(StepGeom_Axis2Placement3d)::DownCast(transformation->TransformItem1());
    const auto to = Handle(StepGeom_Axis2Placement3d)::DownCast(transformation->TransformItem2());
    if (from.IsNull() || to.IsNull())
        return false;
    gp_Trsf toFrame;
    toFrame.SetTransformation(Frame(to), gp_Ax3());
    gp_Trsf fromFrame;
    fromFrame.SetTransformation(Frame(from), gp_Ax3());
    out = toFrame * fromFrame.Inverted();
    return true;
}

void AddUsage(const Handle(StepShape_ContextDependentShapeRepresentation) & cdsr,
              ProductStructure& structure) {
    const Handle(StepRepr_ProductDefinitionShape)& shape = cdsr->RepresentedProductRelation();
    if (shape.IsNull())
        return;
    const auto occurrence = Handle(StepRepr_NextAssemblyUsageOccurrence)::DownCast(
        shape->Definition().ProductDefinitionRelationship());
    Usage usage;
    if (occurrence.IsNull() || !ReadPlacement(cdsr, usage.placement))
        return;
    usage.occurrence = occurrence;
    const Definition parent = occurrence->RelatingProductDefinition();
    const Definition child = occurrence->RelatedProductDefinition();
    if (parent.IsNull() || child.IsNull())
        return;
    if (!structure.children.IsBound(parent)) {
        structure.children.Bind(parent, {});
        structure.parents.push_back(parent);
    }
    structure.children.ChangeFind(parent).push_back(usage);
    structure.isChild.Bind(child, true);
    ++structure.usages;
}

ProductStructure ReadStructure(const Handle(StepData_StepModel) & model) {
    ProductStructure structure;
    for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
        const auto cdsr =
            Handle(StepShape_ContextDependentShapeRepresentation)::DownCast(model->Value(i));
        if (!cdsr.IsNull())
            AddUsage(cdsr, structure);
    }
    return structure;
}

std::string ProductName(const Definition& definition) {
    const Handle(StepBasic_ProductDefinitionFormation)& formation = definition->Formation();
    if (formation.IsNull() || formation->OfProduct().IsNull())
        return "";
    return Text(formation->OfProduct()->Name());
}

class StructureBuilder {
public:
    StructureBuilder(STEPControl_Reader& reader, const ProductStructure& structure,
                     const TranslateOptions& options, AssemblyModel& model)
        : m_reader(reader), m_structure(structure), m_options(options), m_model(model) {
        LoadPartColors();
    }

    void Run() {
        for (const Definition& parent : m_structure.parents) {
            if (m_structure.isChild.IsBound(parent))
                continue;
            AssemblyNode root;
            root.name = ProductName(parent);
            root.product = ProductIndex(parent);
            AddChildren(parent, root, 0);
            m_model.roots.push_back(std::move(root));
        }
        // Placements were read in file units; the transfers have set the file's length factor.
        const double factor = StepData_GlobalFactors::Intance().LengthFactor();
        if (factor != 1.0)
            ScaleTranslations(m_model.roots, factor);
    }

private:
    void AddChildren(const Definition& parent, AssemblyNode& node, int depth) {
        const std::vector<Usage>* usages = m_structure.children.Seek(parent);
        if (!usages || depth > 64)
            return;
        for (const Usage& usage : *usages) {
            const Definition child = usage.occurrence->RelatedProductDefinition();
            AssemblyNode placed;
            placed.name = Text(usage.occurrence->Name());
            if (placed.name.empty())
                placed.name = ProductName(child);
            placed.placement = usage.placement;
            if (m_structure.children.IsBound(child)) {
                placed.product = ProductIndex(child);
                AddChildren(child, placed, depth + 1);
            } else {
                placed.part = PartIndex(child);
                if (placed.part < 0)
                    continue;
                placed.color = m_model.parts[placed.part].content.bodies.empty()
                                   ? std::nullopt
                                   : m_model.parts[placed.part].content.bodies[0].attributes.color;
            }
            node.children.push_back(std::move(placed));
        }
    }

    int ProductIndex(const Definition& definition) {
        if (const int* known = m_products.Seek(definition))
            return *known;
        m_model.products.push_back(ProductName(definition));
        const int index = static_cast<int>(m_model.products.size()) - 1;
        m_products.Bind(definition, index);
        return index;
    }

    // The part of a leaf definition, transferred once; -1 when it keeps nothing.
    int PartIndex(const Definition& definition) {
        if (const int* known = m_parts.Seek(definition))
            return *known;
        int index = -1;
        const int before = m_reader.NbShapes();
        if (m_reader.TransferEntity(definition) && m_reader.NbShapes() > before) {
            AssemblyPart part;
            part.name = ProductName(definition);
            AddShapeToModel(m_reader.Shape(m_reader.NbShapes()), m_options, part.content);
            for (PlacedBody& body : part.content.bodies) {
                body.attributes.name = part.name;
                body.attributes.color = PartColor(definition);
            }
            if (!part.content.IsEmpty()) {
                m_model.parts.push_back(std::move(part));
                index = static_cast<int>(m_model.parts.size()) - 1;
            }
        }
        m_parts.Bind(definition, index);
        return index;
    }

    // Surface colors of styled items, by item.
    void LoadPartColors() {
        STEPConstruct_Styles styles(m_reader.WS());
        if (!styles.LoadStyles())
            return;
        for (Standard_Integer i = 1; i <= styles.NbStyles(); ++i) {
            const Handle(StepVisual_StyledItem) style = styles.Style(i);
            Handle(StepVisual_Colour) surface, boundary, curve, render;
            Standard_Real transparency = 0.0;
            Standard_Boolean component = Standard_False;
            Quantity_Color color;
            if (style.IsNull() || style->Item().IsNull() ||
                !styles.GetColors(style, surface, boundary, curve, render, transparency,
                                  component) ||
                surface.IsNull() || !STEPConstruct_Styles::DecodeColor(surface, color))
                continue;
            m_itemColors.Bind(style->Item(), ToRgb(color));
        }
    }

    // The color of a styled item of the part's shape representation.
    std::optional<RgbColor> PartColor(const Definition& definition) {
        if (m_itemColors.IsEmpty())
            return std::nullopt;
        const Interface_Graph& graph = m_reader.WS()->Graph();
        for (Interface_EntityIterator shapes = graph.Sharings(definition); shapes.More();
             shapes.Next()) {
            if (!shapes.Value()->IsKind(STANDARD_TYPE(StepRepr_ProductDefinitionShape)))
                continue;
            for (Interface_EntityIterator sdrs = graph.Sharings(shapes.Value()); sdrs.More();
                 sdrs.Next()) {
                const auto sdr =
                    Handle(StepShape_ShapeDefinitionRepresentation)::DownCast(sdrs.Value());
                if (sdr.IsNull() || sdr->UsedRepresentation().IsNull())
                    continue;
                const Handle(StepRepr_Representation)& rep = sdr->UsedRepresentation();
                for (Standard_Integer i = 1; i <= rep->NbItems(); ++i) {
                    if (const RgbColor* color = m_itemColors.Seek(rep->ItemsValue(i)))
                        return *color;
                }
            }
        }
        return std::nullopt;
    }

    static void ScaleTranslations(std::vector<AssemblyNode>& nodes, double factor) {
        for (AssemblyNode& node : nodes) {
            node.placement.SetTranslationPart(node.placement.TranslationPart() * factor);
            ScaleTranslations(node.children, factor);
        }
    }

    STEPControl_Reader& m_reader;
    const ProductStructure& m_structure;
    const TranslateOptions& m_options;
    AssemblyModel& m_model;
    NCollection_DataMap<Handle(Standard_Transient), int, TColStd_MapTransientHasher> m_parts;
    NCollection_DataMap<Handle(Standard_Transient), int, TColStd_MapTransientHasher> m_products;
    NCollection_DataMap<Handle(Standard_Transient), RgbColor, TColStd_MapTransientHasher>
        m_itemColors;
};

}  // namespace

bool IsLargeStepAssembly(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    static const std::string kUsage = "NEXT_ASSEMBLY_USAGE_OCCURRENCE(";
    std::string block(1 << 20, '\0');
    std::string carry;
    int usages = 0;
    while (in && usages < kStepRecordWalkThreshold) {
        in.read(&block[0], static_cast<std::streamsize>(block.size()));
        const std::string text = carry + block.substr(0, static_cast<std::size_t>(in.gcount()));
        for (std::size_t at = text.find(kUsage); at != std::string::npos;
             at = text.find(kUsage, at + kUsage.size()))
            ++usages;
        carry = text.size() >= kUsage.size() ? text.substr(text.size() - kUsage.size() + 1) : text;
    }
    return usages >= kStepRecordWalkThreshold;
}

KVXIResult ReadLargeStepAssembly(const std::string& path, const TranslateOptions& options,
                                 ConversionProgress& progress, AssemblyModel& model) {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
        return KVXIResult(KVXIResult::ReadFailed);
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    const ProductStructure structure = ReadStructure(reader.StepModel());
    StructureBuilder(reader, structure, options, model).Run();
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    PruneEmptyAssemblies(model.roots);
    UnwrapSingleRoot(model);
    return KVXIResult();
}

}  // namespace tam
