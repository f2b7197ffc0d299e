#include "XcafModelBuilder.h"

#include "XcafPartReader.h"

#include <TCollection_AsciiString.hxx>
#include <XCAFPrs_DocumentExplorer.hxx>

namespace tam {
namespace {

class XcafModelBuilder {
public:
    XcafModelBuilder(const Handle(TDocStd_Document) & doc, const TranslateOptions& options,
                     CadModel& model)
        : m_doc(doc), m_options(options), m_model(model), m_reader(doc, options) {}

    void Run() {
        XCAFPrs_DocumentExplorer explorer(m_doc, XCAFPrs_DocumentExplorerFlags_OnlyLeafNodes);
        for (; explorer.More(); explorer.Next())
            AddLeaf(explorer);
    }

private:
    void AddLeaf(const XCAFPrs_DocumentExplorer& explorer) {
        const XCAFPrs_DocumentNode& node = explorer.Current();
        Attributes attributes = m_reader.NodeAttributes(explorer);
        if (!attributes.visible && !m_options.hiddenEntities)
            return;
        const PartData& part = m_reader.Part(node.RefLabel);
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

    Handle(TDocStd_Document) m_doc;
    const TranslateOptions& m_options;
    CadModel& m_model;
    XcafPartReader m_reader;
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
