#include "TessellatedParts.h"

#include "StepRecordText.h"
#include "TessellatedShapes.h"

#include <BRep_Builder.hxx>
#include <Interface_EntityIterator.hxx>
#include <Interface_Graph.hxx>
#include <Interface_ReportEntity.hxx>
#include <Interface_UndefinedContent.hxx>
#include <Quantity_Color.hxx>
#include <STEPConstruct_Styles.hxx>
#include <StepBasic_ProductDefinition.hxx>
#include <StepRepr_CharacterizedDefinition.hxx>
#include <StepRepr_PropertyDefinition.hxx>
#include <StepRepr_RepresentationContext.hxx>
#include <StepRepr_RepresentationRelationshipWithTransformation.hxx>
#include <StepRepr_RepresentedDefinition.hxx>
#include <StepRepr_ShapeRepresentationRelationship.hxx>
#include <StepShape_ShapeDefinitionRepresentation.hxx>
#include <StepShape_ShapeRepresentation.hxx>
#include <StepVisual_OverRidingStyledItem.hxx>
#include <StepVisual_StyledItem.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Shell.hxx>
#include <TransferBRep.hxx>
#include <Transfer_TransientProcess.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <XSControl_TransferReader.hxx>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tam {
namespace {

using Transient = Handle(Standard_Transient);

// Tessellated records referred to anywhere in a raw record, its nested lists included.
void CollectTessellatedReferences(const Handle(StepData_UndefinedEntity) & record, int depth,
                                  std::vector<Transient>& found) {
    if (record.IsNull() || depth > 8)
        return;
    const Handle(Interface_UndefinedContent) content = record->UndefinedContent();
    for (int i = 1; i <= content->NbParams(); ++i) {
        if (!content->IsParamEntity(i))
            continue;
        const Transient entity = content->ParamEntity(i);
        const auto nested = Handle(StepData_UndefinedEntity)::DownCast(entity);
        if (!nested.IsNull() && nested->IsSub()) {
            CollectTessellatedReferences(nested, depth + 1, found);
        } else if (KindOfTessellated(entity) != TessellatedKind::None) {
            found.push_back(entity);
        }
    }
    if (record->IsComplex())
        CollectTessellatedReferences(record->Next(), depth + 1, found);
}

// The raw content the parser kept of a record it could not read, or null.
Handle(StepData_UndefinedEntity) FailedRecord(const Handle(StepData_StepModel) & model, int index) {
    if (!model->IsErrorEntity(index))
        return nullptr;
    const Handle(Interface_ReportEntity) report = model->ReportEntity(index);
    return report.IsNull() ? nullptr
                           : Handle(StepData_UndefinedEntity)::DownCast(report->Content());
}

Handle(StepBasic_ProductDefinition)
    ProductOf(const Handle(StepShape_ShapeDefinitionRepresentation) & definition) {
    const Handle(StepRepr_PropertyDefinition) property =
        definition->Definition().PropertyDefinition();
    return property.IsNull() ? nullptr : property->Definition().ProductDefinition();
}

// A tessellated item with the scale of the representation it came from.
struct ScaledItem {
    Transient record;
    double scale = 1.0;
};

// The tessellated items one part receives.
struct PartItems {
    TDF_Label label;
    std::vector<ScaledItem> items;
};

class TessellatedPartBuilder {
public:
    TessellatedPartBuilder(const Handle(XSControl_WorkSession) & session,
                           const Handle(TDocStd_Document) & doc, const std::string& path)
        : m_session(session),
          m_path(path),
          m_model(Handle(StepData_StepModel)::DownCast(session->Model())),
          m_process(session->TransferReader()->TransientProcess()),
          m_shapeTool(XCAFDoc_DocumentTool::ShapeTool(doc->Main())),
          m_colorTool(XCAFDoc_DocumentTool::ColorTool(doc->Main())) {}

    bool Run() {
        if (m_model.IsNull() || m_process.IsNull())
            return false;
        for (int i = 1; i <= m_model->NbEntities(); ++i)
            CollectOwner(i);
        bool added = false;
        for (const PartItems& part : m_parts)
            added |= SetPartShape(part);
        if (added)
            ApplyColors();
        return added;
    }

private:
    // A record that failed because it refers to tessellated records names the part they belong
    // to: a shape representation holding them as items, a relationship from a part's shape
    // representation to a tessellated one, or a part's shape definition using a tessellated one.
    void CollectOwner(int index) {
        const Handle(StepData_UndefinedEntity) raw = FailedRecord(m_model, index);
        std::vector<Transient> references;
        CollectTessellatedReferences(raw, 0, references);
        if (references.empty())
            return;
        const Transient concerned = m_model->Value(index);
        if (const auto shapeRep = Handle(StepShape_ShapeRepresentation)::DownCast(concerned)) {
            const double scale = TessellatedShapes::LengthScale(shapeRep->ContextOfItems());
            AddItems(ProductOfRepresentation(shapeRep), TessellatedShapes::RepresentationItems(raw),
                     scale);
        } else if (const auto relation =
                       Handle(StepRepr_ShapeRepresentationRelationship)::DownCast(concerned)) {
            if (relation->IsKind(
                    STANDARD_TYPE(StepRepr_RepresentationRelationshipWithTransformation)))
                return;
            const Handle(StepRepr_Representation) known =
                relation->Rep1().IsNull() ? relation->Rep2() : relation->Rep1();
            AddRepresentations(ProductOfRepresentation(known), references);
        } else if (const auto definition =
                       Handle(StepShape_ShapeDefinitionRepresentation)::DownCast(concerned)) {
            AddRepresentations(ProductOf(definition), references);
        }
    }

    void AddRepresentations(const Handle(StepBasic_ProductDefinition) & product,
                            const std::vector<Transient>& references) {
        for (const Transient& reference : references) {
            if (KindOfTessellated(reference) != TessellatedKind::Representation)
                continue;
            const auto representation = Handle(StepData_UndefinedEntity)::DownCast(reference);
            const Transient context = representation->UndefinedContent()->NbParams() >= 3 &&
                                              representation->UndefinedContent()->IsParamEntity(3)
                                          ? representation->UndefinedContent()->ParamEntity(3)
                                          : Transient();
            AddItems(product, TessellatedShapes::RepresentationItems(representation),
                     TessellatedShapes::LengthScale(context));
        }
    }

    void AddItems(const Handle(StepBasic_ProductDefinition) & product,
                  const std::vector<Transient>& items, double scale) {
        const TDF_Label label = PartLabel(product);
        if (label.IsNull() || items.empty())
            return;
        PartItems& part = PartFor(label);
        for (const Transient& item : items) {
            const bool known =
                std::any_of(part.items.begin(), part.items.end(),
                            [&item](const ScaledItem& added) { return added.record == item; });
            if (!known)
                part.items.push_back({item, scale});
        }
    }

    PartItems& PartFor(const TDF_Label& label) {
        for (PartItems& part : m_parts) {
            if (part.label == label)
                return part;
        }
        m_parts.push_back({label, {}});
        return m_parts.back();
    }

    // The product a part's shape representation describes: through its shape definition, or
    // through a relationship (without placement) to a representation that has one.
    Handle(StepBasic_ProductDefinition)
        ProductOfRepresentation(const Handle(StepRepr_Representation) & representation) const {
        if (representation.IsNull())
            return nullptr;
        if (const auto product = DirectProduct(representation))
            return product;
        const Interface_Graph& graph = m_session->Graph();
        for (Interface_EntityIterator it = graph.Sharings(representation); it.More(); it.Next()) {
            const auto relation =
                Handle(StepRepr_ShapeRepresentationRelationship)::DownCast(it.Value());
            if (relation.IsNull() || relation->IsKind(STANDARD_TYPE(
                                         StepRepr_RepresentationRelationshipWithTransformation)))
                continue;
            const Handle(StepRepr_Representation) other =
                relation->Rep1() == representation ? relation->Rep2() : relation->Rep1();
            if (const auto product = other.IsNull() ? nullptr : DirectProduct(other))
                return product;
        }
        return nullptr;
    }

    Handle(StepBasic_ProductDefinition)
        DirectProduct(const Handle(StepRepr_Representation) & representation) const {
        const Interface_Graph& graph = m_session->Graph();
        for (Interface_EntityIterator it = graph.Sharings(representation); it.More(); it.Next()) {
            const auto definition =
                Handle(StepShape_ShapeDefinitionRepresentation)::DownCast(it.Value());
            if (const auto product = definition.IsNull() ? nullptr : ProductOf(definition))
                return product;
        }
        return nullptr;
    }

    // The XCAF label of a part (not an assembly) made from a product definition.
    TDF_Label PartLabel(const Handle(StepBasic_ProductDefinition) & product) const {
        if (product.IsNull())
            return TDF_Label();
        const TopoDS_Shape shape = TransferBRep::ShapeResult(m_process, product);
        TDF_Label label;
        if (shape.IsNull() || !m_shapeTool->FindShape(shape, label) ||
            m_shapeTool->IsAssembly(label))
            return TDF_Label();
        return label;
    }

    // The part's new shape: its solids and shells, one shell of its loose faces, and what the
    // reader had made of it before (when that is not empty).
    bool SetPartShape(const PartItems& part) {
        BRep_Builder builder;
        std::vector<TopoDS_Shape> pieces;
        TopoDS_Shell looseFaces;
        builder.MakeShell(looseFaces);
        bool hasLooseFaces = false;
        for (const ScaledItem& item : part.items) {
            const TopoDS_Shape shape = m_shapes.ItemShape(item.record, item.scale);
            if (shape.IsNull())
                continue;
            if (shape.ShapeType() == TopAbs_FACE) {
                builder.Add(looseFaces, shape);
                hasLooseFaces = true;
            } else {
                pieces.push_back(shape);
            }
            RecordOwner(shape, part.label);
        }
        if (hasLooseFaces)
            pieces.push_back(looseFaces);
        if (pieces.empty())
            return false;
        const TopoDS_Shape before = XCAFDoc_ShapeTool::GetShape(part.label);
        if (!before.IsNull() && TopoDS_Iterator(before).More())
            pieces.push_back(before);
        m_shapeTool->SetShape(part.label, pieces.size() == 1 ? pieces.front() : Compound(pieces));
        return true;
    }

    static TopoDS_Shape Compound(const std::vector<TopoDS_Shape>& pieces) {
        BRep_Builder builder;
        TopoDS_Compound compound;
        builder.MakeCompound(compound);
        for (const TopoDS_Shape& piece : pieces)
            builder.Add(compound, piece);
        return compound;
    }

    // Remembers the part of an item and of each of its faces, for the styles naming them.
    void RecordOwner(const TopoDS_Shape& shape, const TDF_Label& label) {
        m_owners.Bind(m_shapes.RecordOf(shape), label);
        for (TopExp_Explorer faces(shape, TopAbs_FACE); faces.More(); faces.Next()) {
            const Transient face = m_shapes.RecordOf(faces.Current());
            if (!face.IsNull())
                m_owners.Bind(face, label);
        }
    }

    // Surface colors styled on tessellated items; overriding styles are applied last. The
    // parser leaves the item of such a style empty, so it is read from the file's text. A style
    // that another one overrides colors the faces of its item one by one: as the color of a
    // whole body it would hide the overriding face colors wherever body colors win.
    void ApplyColors() {
        const std::unordered_map<int, Transient> targets = StyledTargets();
        const std::unordered_set<int> overridden = OverriddenStyles(targets);
        const STEPConstruct_Styles styles(m_session);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 1; i <= m_model->NbEntities(); ++i) {
                const auto styled = Handle(StepVisual_StyledItem)::DownCast(m_model->Value(i));
                if (styled.IsNull() ||
                    styled->IsKind(STANDARD_TYPE(StepVisual_OverRidingStyledItem)) != (pass == 1))
                    continue;
                const int number = m_model->IdentLabel(styled);
                const auto target = targets.find(number);
                if (target != targets.end())
                    ApplyColor(styles, styled, target->second, overridden.count(number) != 0);
            }
        }
    }

    // The numbers of the styles that an overriding style with a tessellated item replaces.
    std::unordered_set<int> OverriddenStyles(
        const std::unordered_map<int, Transient>& targets) const {
        std::unordered_set<int> overridden;
        for (int i = 1; i <= m_model->NbEntities(); ++i) {
            const auto overriding =
                Handle(StepVisual_OverRidingStyledItem)::DownCast(m_model->Value(i));
            if (overriding.IsNull() || overriding->OverRiddenStyle().IsNull() ||
                targets.count(m_model->IdentLabel(overriding)) == 0)
                continue;
            overridden.insert(m_model->IdentLabel(overriding->OverRiddenStyle()));
        }
        return overridden;
    }

    // The tessellated item of every styled item whose item the parser could not type.
    std::unordered_map<int, Transient> StyledTargets() const {
        std::unordered_set<int> styledNumbers;
        std::unordered_map<int, Transient> tessellated;
        for (int i = 1; i <= m_model->NbEntities(); ++i) {
            const Transient entity = m_model->Value(i);
            const auto styled = Handle(StepVisual_StyledItem)::DownCast(entity);
            if (!styled.IsNull() && styled->ItemAP242().Value().IsNull())
                styledNumbers.insert(m_model->IdentLabel(entity));
            if (m_owners.IsBound(entity))
                tessellated.emplace(m_model->IdentLabel(entity), entity);
        }
        std::unordered_map<int, Transient> targets;
        const int itemPosition = 2;  // name, styles, item
        for (const auto& reference : ReferencesAtParameter(m_path, styledNumbers, itemPosition)) {
            const auto item = tessellated.find(reference.second);
            if (item != tessellated.end())
                targets.emplace(reference.first, item->second);
        }
        return targets;
    }

    void ApplyColor(const STEPConstruct_Styles& styles,
                    const Handle(StepVisual_StyledItem) & styled, const Transient& target,
                    bool faceByFace) {
        const TDF_Label* owner = m_owners.Seek(target);
        Quantity_Color color;
        if (!owner || !SurfaceColor(styles, styled, color))
            return;
        const TopoDS_Shape shape = m_shapes.BuiltShape(target);
        if (!faceByFace) {
            SetShapeColor(*owner, shape, color);
            return;
        }
        for (TopExp_Explorer faces(shape, TopAbs_FACE); faces.More(); faces.Next())
            SetShapeColor(*owner, faces.Current(), color);
    }

    static bool SurfaceColor(const STEPConstruct_Styles& styles,
                             const Handle(StepVisual_StyledItem) & styled, Quantity_Color& color) {
        Handle(StepVisual_Colour) surface, boundary, curve, render;
        Standard_Real transparency = 0.0;
        Standard_Boolean isComponent = Standard_False;
        return styles.GetColors(styled, surface, boundary, curve, render, transparency,
                                isComponent) &&
               !surface.IsNull() && STEPConstruct_Styles::DecodeColor(surface, color);
    }

    // Colors a part's whole shape on its label, any other of its shapes on a sub-shape label.
    void SetShapeColor(const TDF_Label& owner, const TopoDS_Shape& shape,
                       const Quantity_Color& color) {
        if (shape.IsSame(XCAFDoc_ShapeTool::GetShape(owner))) {
            m_colorTool->SetColor(owner, color, XCAFDoc_ColorSurf);
            return;
        }
        TDF_Label sub;
        if (!m_shapeTool->FindSubShape(owner, shape, sub))
            m_shapeTool->AddSubShape(owner, shape, sub);
        if (!sub.IsNull())
            m_colorTool->SetColor(sub, color, XCAFDoc_ColorSurf);
    }

    Handle(XSControl_WorkSession) m_session;
    std::string m_path;
    Handle(StepData_StepModel) m_model;
    Handle(Transfer_TransientProcess) m_process;
    Handle(XCAFDoc_ShapeTool) m_shapeTool;
    Handle(XCAFDoc_ColorTool) m_colorTool;
    TessellatedShapes m_shapes;
    std::vector<PartItems> m_parts;
    NCollection_DataMap<Transient, TDF_Label> m_owners;
};

bool HasTessellatedRecords(const Handle(Interface_InterfaceModel) & model) {
    for (int i = 1; i <= model->NbEntities(); ++i) {
        if (KindOfTessellated(model->Value(i)) != TessellatedKind::None)
            return true;
    }
    return false;
}

}  // namespace

bool AddTessellatedParts(const Handle(XSControl_WorkSession) & session,
                         const Handle(TDocStd_Document) & doc, const std::string& path) {
    if (session.IsNull() || session->Model().IsNull() || !HasTessellatedRecords(session->Model()))
        return false;
    return TessellatedPartBuilder(session, doc, path).Run();
}

bool IsTessellatedReferenceFailure(const Handle(StepData_StepModel) & model, int index) {
    std::vector<Transient> references;
    CollectTessellatedReferences(FailedRecord(model, index), 0, references);
    return !references.empty();
}

}  // namespace tam
