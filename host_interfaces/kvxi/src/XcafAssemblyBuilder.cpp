#include "XcafAssemblyBuilder.h"

#include "XcafPartReader.h"

#include <XCAFPrs_DocumentExplorer.hxx>

namespace tam {
namespace {

class XcafAssemblyBuilder {
public:
    XcafAssemblyBuilder(const Handle(TDocStd_Document) & doc, const TranslateOptions& options,
                        AssemblyModel& model)
        : m_doc(doc), m_options(options), m_model(model), m_reader(doc, options) {}

    void Run() {
        // The explorer goes depth first; m_path holds the open sub-assemblies above the current
        // node (null for one that was left out, so that its whole subtree is left out too).
        XCAFPrs_DocumentExplorer explorer(m_doc, XCAFPrs_DocumentExplorerFlags_None);
        for (; explorer.More(); explorer.Next()) {
            m_path.resize(static_cast<std::size_t>(explorer.CurrentDepth()));
            AddNode(explorer);
        }
        PruneEmptyAssemblies(m_model.roots);
        UnwrapSingleRoot(m_model);
    }

private:
    struct OpenAssembly {
        AssemblyNode* node = nullptr;
        gp_Trsf world;
    };

    void AddNode(const XCAFPrs_DocumentExplorer& explorer) {
        const XCAFPrs_DocumentNode& current = explorer.Current();
        const bool inSkipped = !m_path.empty() && m_path.back().node == nullptr;
        const Attributes attributes = m_reader.NodeAttributes(explorer);
        const bool keep = !inSkipped && (attributes.visible || m_options.hiddenEntities);
        if (!keep) {
            m_path.push_back(OpenAssembly());
            return;
        }
        const gp_Trsf world = current.Location.Transformation();
        AssemblyNode node;
        node.name = attributes.name;
        node.color = attributes.color;
        node.placement = m_path.empty() ? world : m_path.back().world.Inverted() * world;
        if (current.IsAssembly)
            node.product = ProductIndex(current.RefLabel);
        else
            node.part = PartIndex(current.RefLabel);
        std::vector<AssemblyNode>& siblings =
            m_path.empty() ? m_model.roots : m_path.back().node->children;
        if (!current.IsAssembly && node.part < 0)
            return;
        siblings.push_back(std::move(node));
        if (current.IsAssembly)
            m_path.push_back({&siblings.back(), world});
    }

    int ProductIndex(const TDF_Label& label) {
        if (const int* known = m_productIndex.Seek(label))
            return *known;
        m_model.products.push_back(LabelName(label));
        const int index = static_cast<int>(m_model.products.size()) - 1;
        m_productIndex.Bind(label, index);
        return index;
    }

    // The index of the label's part, made on first use; -1 when the part keeps nothing.
    int PartIndex(const TDF_Label& label) {
        if (const int* known = m_partIndex.Seek(label))
            return *known;
        const int index = MakePart(label);
        m_partIndex.Bind(label, index);
        return index;
    }

    int MakePart(const TDF_Label& label) {
        std::optional<AssemblyPart> part = m_reader.AssemblyPartOf(label, LabelName(label));
        if (!part)
            return -1;
        m_model.parts.push_back(std::move(*part));
        return static_cast<int>(m_model.parts.size()) - 1;
    }

    Handle(TDocStd_Document) m_doc;
    const TranslateOptions& m_options;
    AssemblyModel& m_model;
    XcafPartReader m_reader;
    std::vector<OpenAssembly> m_path;
    NCollection_DataMap<TDF_Label, int, TDF_LabelMapHasher> m_partIndex;
    NCollection_DataMap<TDF_Label, int, TDF_LabelMapHasher> m_productIndex;
};

}  // namespace

void BuildAssemblyFromXcaf(const Handle(TDocStd_Document) & doc, const TranslateOptions& options,
                           AssemblyModel& model) {
    XcafAssemblyBuilder(doc, options, model).Run();
}

}  // namespace tam
