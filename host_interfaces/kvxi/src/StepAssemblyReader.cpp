#include "StepAssemblyReader.h"

#include "NestingWalk.h"
#include "StepRecords.h"
#include "StepStructureCheck.h"
#include "XcafPartReader.h"
#include "XcafReader.h"

#include <IFSelect_ReturnStatus.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <STEPControl_Reader.hxx>
#include <TDF_LabelSequence.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <gp_Ax3.hxx>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace tam {
namespace {

struct Usage {
    int occurrence = 0;
    int parent = 0;  // PRODUCT_DEFINITION records
    int child = 0;
    std::string name;
    gp_Trsf placement;  // of the child in the parent, in millimetres
};

// What the walk reads from the records: usages per parent, representations per definition,
// and the reverse references that a part's records need to be read on their own.
class ProductStructure {
public:
    explicit ProductStructure(const StepRecords& records) : m_records(records) {
        std::unordered_map<int, int> shapeDefinition;  // PRODUCT_DEFINITION_SHAPE -> definition
        std::vector<int> cdsrs;
        std::vector<int> sdrs;
        for (const int id : records.Ids()) {
            const std::string_view type = records.Type(id);
            if (type == "PRODUCT_DEFINITION_SHAPE") {
                const auto params = records.Params(id);
                if (params.size() == 3)
                    shapeDefinition[id] = StepRecords::Ref(params[2]);
            } else if (type == "CONTEXT_DEPENDENT_SHAPE_REPRESENTATION") {
                cdsrs.push_back(id);
            } else if (type == "SHAPE_DEFINITION_REPRESENTATION") {
                sdrs.push_back(id);
            } else if (type == "SHAPE_REPRESENTATION_RELATIONSHIP") {
                for (const int ref : records.References(id))
                    m_relationshipsOf[ref].push_back(id);
            } else if (type == "STYLED_ITEM" || type == "OVER_RIDING_STYLED_ITEM") {
                const auto params = records.Params(id);
                if (params.size() >= 3)
                    m_stylesOf[StepRecords::Ref(params[2])].push_back(id);
            } else if (type == "MECHANICAL_DESIGN_GEOMETRIC_PRESENTATION_REPRESENTATION") {
                const auto params = records.Params(id);
                if (params.size() == 3 && m_styleContext < 0)
                    m_styleContext = StepRecords::Ref(params[2]);
            }
        }
        for (const int sdr : sdrs) {
            const auto params = records.Params(sdr);
            if (params.size() != 2)
                continue;
            const auto definition = shapeDefinition.find(StepRecords::Ref(params[0]));
            if (definition != shapeDefinition.end()) {
                m_sdrOf.emplace(definition->second, sdr);
                m_representationOf.emplace(definition->second, StepRecords::Ref(params[1]));
            }
        }
        for (const int cdsr : cdsrs)
            AddUsage(cdsr, shapeDefinition);
    }

    const std::vector<int>& Parents() const { return m_parents; }
    const std::vector<Usage>* Children(int definition) const {
        const auto found = m_children.find(definition);
        return found == m_children.end() ? nullptr : &found->second;
    }
    bool IsChild(int definition) const { return m_isChild.count(definition) > 0; }

    std::string ProductName(int definition) const {
        const auto pd = m_records.Params(definition);  // PRODUCT_DEFINITION(id,desc,#pdf,#ctx)
        if (pd.size() < 3)
            return "";
        const auto pdf = m_records.Params(StepRecords::Ref(pd[2]));  // (id,desc,#product)
        if (pdf.size() < 3)
            return "";
        const auto product = m_records.Params(StepRecords::Ref(pdf[2]));  // (id,name,...)
        if (product.size() < 2)
            return "";
        const std::string name = StepRecords::Text(product[1]);
        return name.empty() ? StepRecords::Text(product[0]) : name;
    }

    // A STEP file of the records that describe one leaf product: its shape definition with
    // everything it refers to, the representation relationships of its representations, and
    // the styled items of its items under one presentation of their own.
    std::string PartFile(int definition) const {
        const auto sdr = m_sdrOf.find(definition);
        if (sdr == m_sdrOf.end())
            return "";
        std::set<int> taken;
        std::vector<int> queue{sdr->second};
        std::vector<int> styles;
        auto take = [&](int id) {
            if (id > 0 && taken.insert(id).second)
                queue.push_back(id);
        };
        taken.insert(sdr->second);
        while (!queue.empty()) {
            const int id = queue.back();
            queue.pop_back();
            for (const int ref : m_records.References(id))
                take(ref);
            if (const auto found = m_relationshipsOf.find(id); found != m_relationshipsOf.end()) {
                for (const int relationship : found->second)
                    take(relationship);
            }
            if (const auto found = m_stylesOf.find(id); found != m_stylesOf.end()) {
                for (const int style : found->second) {
                    if (!taken.count(style))
                        styles.push_back(style);
                    take(style);
                }
            }
        }
        std::string extra;
        if (!styles.empty() && m_styleContext > 0) {
            take(m_styleContext);
            while (!queue.empty()) {
                const int id = queue.back();
                queue.pop_back();
                for (const int ref : m_records.References(id))
                    take(ref);
            }
            extra = "#" + std::to_string(m_records.NextFreeId()) +
                    "=MECHANICAL_DESIGN_GEOMETRIC_PRESENTATION_REPRESENTATION('',(";
            for (std::size_t i = 0; i < styles.size(); ++i)
                extra += (i ? ",#" : "#") + std::to_string(styles[i]);
            extra += "),#" + std::to_string(m_styleContext) + ");\n";
        }
        return m_records.FileOf(std::vector<int>(taken.begin(), taken.end()), extra);
    }

private:
    void AddUsage(int cdsr, const std::unordered_map<int, int>& shapeDefinition) {
        const auto params = m_records.Params(cdsr);  // (#relationship, #product_definition_shape)
        if (params.size() != 2)
            return;
        const auto pds = shapeDefinition.find(StepRecords::Ref(params[1]));
        if (pds == shapeDefinition.end())
            return;
        Usage usage;
        usage.occurrence = pds->second;
        const auto nauo = m_records.Params(usage.occurrence);  // (id,name,desc,#parent,#child,$)
        if (m_records.Type(usage.occurrence) != "NEXT_ASSEMBLY_USAGE_OCCURRENCE" || nauo.size() < 5)
            return;
        // The instance's name as Open CASCADE reads it: description, else name, else id.
        for (const int field : {2, 1, 0}) {
            usage.name = StepRecords::Text(nauo[field]);
            if (!usage.name.empty())
                break;
        }
        usage.parent = StepRecords::Ref(nauo[3]);
        usage.child = StepRecords::Ref(nauo[4]);
        if (usage.parent <= 0 || usage.child <= 0 ||
            !ReadPlacement(StepRecords::Ref(params[0]), usage))
            return;
        auto& children = m_children[usage.parent];
        if (children.empty())
            m_parents.push_back(usage.parent);
        children.push_back(std::move(usage));
        m_isChild.insert(children.back().child);
    }

    // The transformation taking the first item's frame onto the second's; inverted when the
    // relationship names the parent's representation first.
    bool ReadPlacement(int relationship, Usage& usage) const {
        const auto reps = m_records.Params(relationship, "REPRESENTATION_RELATIONSHIP");
        const auto with =
            m_records.Params(relationship, "REPRESENTATION_RELATIONSHIP_WITH_TRANSFORMATION");
        if (reps.size() != 4 || with.size() != 1)
            return false;
        const auto items =
            m_records.Params(StepRecords::Ref(with[0]));  // ITEM_DEFINED_TRANSFORMATION
        if (items.size() != 4)
            return false;
        gp_Ax3 from;
        gp_Ax3 to;
        if (!Frame(StepRecords::Ref(items[2]), from) || !Frame(StepRecords::Ref(items[3]), to))
            return false;
        gp_Trsf toFrame;
        toFrame.SetTransformation(to, gp_Ax3());
        gp_Trsf fromFrame;
        fromFrame.SetTransformation(from, gp_Ax3());
        usage.placement = toFrame * fromFrame.Inverted();
        const auto parentRep = m_representationOf.find(usage.parent);
        if (parentRep != m_representationOf.end() && StepRecords::Ref(reps[2]) == parentRep->second)
            usage.placement.Invert();
        if (parentRep != m_representationOf.end()) {
            const double millimetres = RepresentationUnit(parentRep->second);
            usage.placement.SetTranslationPart(usage.placement.TranslationPart() * millimetres);
        }
        return true;
    }

    // Millimetres per length unit of a representation's context (1 when none is found).
    double RepresentationUnit(int representation) const {
        const auto rep = m_records.Params(representation);
        if (rep.size() != 3)
            return 1.0;
        const int context = StepRecords::Ref(rep[2]);
        const auto known = m_units.find(context);
        if (known != m_units.end())
            return known->second;
        double unit = 1.0;
        const auto units = m_records.Params(context, "GLOBAL_UNIT_ASSIGNED_CONTEXT");
        if (units.size() == 1) {
            for (const int candidate : m_records.References(context)) {
                if (!m_records.Params(candidate, "LENGTH_UNIT").empty() &&
                    units[0].find("#" + std::to_string(candidate)) != std::string_view::npos) {
                    unit = UnitInMillimetres(candidate, 0);
                    break;
                }
            }
        }
        m_units.emplace(context, unit);
        return unit;
    }

    // An SI unit with its prefix, or a unit defined by a measure of another one.
    double UnitInMillimetres(int unit, int depth) const {
        const auto si = m_records.Params(unit, "SI_UNIT");
        if (si.size() == 2) {
            static const std::pair<const char*, double> kPrefixes[] = {
                {".KILO.", 1e6},   {".CENTI.", 10.0}, {".MILLI.", 1.0},
                {".MICRO.", 1e-3}, {".NANO.", 1e-6},  {".DECI.", 100.0}};
            for (const auto& prefix : kPrefixes) {
                if (si[0].find(prefix.first) != std::string_view::npos)
                    return prefix.second;
            }
            return 1000.0;
        }
        const auto converted = m_records.Params(unit, "CONVERSION_BASED_UNIT");
        if (converted.size() != 2 || depth > 4)
            return 1.0;
        const auto measure = m_records.Params(StepRecords::Ref(converted[1]));
        if (measure.size() != 2)  // (LENGTH_MEASURE(25.4),#unit)
            return 1.0;
        const std::size_t open = measure[0].find('(');
        const std::vector<double> value = open == std::string_view::npos
                                              ? std::vector<double>()
                                              : StepRecords::Numbers(measure[0].substr(open));
        const double factor = value.empty() ? 1.0 : value[0];
        return factor * UnitInMillimetres(StepRecords::Ref(measure[1]), depth + 1);
    }

    // An AXIS2_PLACEMENT_3D as a frame; a missing axis is z, a missing or parallel reference x.
    bool Frame(int axis, gp_Ax3& frame) const {
        const auto params = m_records.Params(axis);
        if (m_records.Type(axis) != "AXIS2_PLACEMENT_3D" || params.size() != 4)
            return false;
        const std::vector<double> origin = Coordinates(params[1]);
        if (origin.size() < 3)
            return false;
        gp_Dir z(0, 0, 1);
        gp_Dir x(1, 0, 0);
        Direction(params[2], z);
        if (!Direction(params[3], x) || x.IsParallel(z, 1e-9))
            x = z.IsParallel(gp_Dir(1, 0, 0), 1e-9) ? gp_Dir(0, 1, 0) : gp_Dir(1, 0, 0);
        frame = gp_Ax3(gp_Pnt(origin[0], origin[1], origin[2]), z, x);
        return true;
    }

    std::vector<double> Coordinates(std::string_view param) const {
        const auto point = m_records.Params(StepRecords::Ref(param));
        return point.size() == 2 ? StepRecords::Numbers(point[1]) : std::vector<double>();
    }

    bool Direction(std::string_view param, gp_Dir& out) const {
        const std::vector<double> xyz = Coordinates(param);
        if (xyz.size() < 3 || gp_XYZ(xyz[0], xyz[1], xyz[2]).Modulus() < gp::Resolution())
            return false;
        out = gp_Dir(xyz[0], xyz[1], xyz[2]);
        return true;
    }

    const StepRecords& m_records;
    std::unordered_map<int, std::vector<Usage>> m_children;
    std::unordered_set<int> m_isChild;
    std::vector<int> m_parents;  // in order of first usage
    std::unordered_map<int, int> m_sdrOf;
    std::unordered_map<int, int> m_representationOf;
    std::unordered_map<int, std::vector<int>> m_relationshipsOf;
    std::unordered_map<int, std::vector<int>> m_stylesOf;
    int m_styleContext = -1;
    mutable std::unordered_map<int, double> m_units;  // millimetres per context's length unit
};

// Reads the records of one part through XCAF, as a document of its own.
KVXIResult ReadPartFile(const std::string& text, ConversionProgress& progress,
                        Handle(TDocStd_Document) & doc) {
    STEPCAFControl_Reader reader;
    reader.SetColorMode(Standard_True);
    reader.SetNameMode(Standard_True);
    reader.SetLayerMode(Standard_True);
    reader.SetPropsMode(Standard_False);
    reader.SetGDTMode(Standard_False);
    reader.SetMatMode(Standard_False);
    reader.SetViewMode(Standard_False);
    std::istringstream stream(text);
    if (reader.ChangeReader().ReadStream("part", stream) != IFSelect_RetDone)
        return KVXIResult(KVXIResult::ReadFailed);
    if (!reader.Transfer(doc, progress.Start()))
        return KVXIResult(KVXIResult::TransferFailed);
    return KVXIResult();
}

class StructureBuilder {
public:
    StructureBuilder(const ProductStructure& structure, const TranslateOptions& options,
                     ConversionProgress& progress, AssemblyModel& model)
        : m_structure(structure), m_options(options), m_progress(progress), m_model(model) {}

    KVXIResult Run() {
        // A product used inside itself, or nesting past any real assembly, is no structure to
        // write: the file is refused as damaged, with the cause the XCAF road gives.
        const NestingFault fault = FindNestingFault(UsageGraph(), kMaxProductNesting);
        if (fault.kind != NestingFault::None)
            return KVXIResult(KVXIResult::ReadFailed, Refusal(fault));
        for (const int parent : m_structure.Parents()) {
            if (m_structure.IsChild(parent))
                continue;
            AssemblyNode root;
            root.name = m_structure.ProductName(parent);
            root.product = ProductIndex(parent);
            AddChildren(parent, root);
            m_model.roots.push_back(std::move(root));
        }
        return m_result;
    }

private:
    std::map<int, std::vector<int>> UsageGraph() const {
        std::map<int, std::vector<int>> graph;
        for (const int parent : m_structure.Parents()) {
            for (const Usage& usage : *m_structure.Children(parent))
                graph[parent].push_back(usage.child);
        }
        return graph;
    }

    std::string Refusal(const NestingFault& fault) const {
        const std::string name = m_structure.ProductName(fault.node);
        const std::string product = "product '" + (name.empty() ? "?" : name) + "'";
        if (fault.kind == NestingFault::Loop)
            return "the product structure loops: " + product + " is used inside itself";
        return "the product structure nests deeper than " + std::to_string(kMaxProductNesting) +
               " levels (at " + product + ")";
    }

    void AddChildren(int parent, AssemblyNode& node) {
        const std::vector<Usage>* usages = m_structure.Children(parent);
        if (!usages)
            return;
        for (const Usage& usage : *usages) {
            AssemblyNode placed;
            placed.name = usage.name;
            if (IsGeneratedInstanceName(placed.name))
                placed.name = m_structure.ProductName(usage.child);
            placed.placement = usage.placement;
            if (m_structure.Children(usage.child)) {
                placed.product = ProductIndex(usage.child);
                AddChildren(usage.child, placed);
            } else {
                placed.part = PartIndex(usage.child);
                if (placed.part < 0)
                    continue;
                placed.color = m_partColors[placed.part];
            }
            node.children.push_back(std::move(placed));
        }
    }

    int ProductIndex(int definition) {
        const auto known = m_products.find(definition);
        if (known != m_products.end())
            return known->second;
        m_model.products.push_back(m_structure.ProductName(definition));
        const int index = static_cast<int>(m_model.products.size()) - 1;
        m_products.emplace(definition, index);
        return index;
    }

    // The part of a leaf definition, read once from its own records; -1 when it keeps nothing.
    int PartIndex(int definition) {
        const auto known = m_parts.find(definition);
        if (known != m_parts.end())
            return known->second;
        const int index = MakePart(definition);
        m_parts.emplace(definition, index);
        return index;
    }

    int MakePart(int definition) {
        Handle(TDocStd_Document) doc = NewXcafDocument();
        const KVXIResult read = ReadPartFile(m_structure.PartFile(definition), m_progress, doc);
        if (read.IsFailure()) {
            m_result &= KVXIResult(KVXIResult::WarningEntitiesSkipped);
            return -1;
        }
        TDF_LabelSequence labels;
        XCAFDoc_DocumentTool::ShapeTool(doc->Main())->GetFreeShapes(labels);
        if (labels.IsEmpty())
            return -1;
        XcafPartReader reader(doc, m_options);
        const TDF_Label label = labels.First();
        std::optional<AssemblyPart> part =
            reader.AssemblyPartOf(label, m_structure.ProductName(definition));
        if (!part)
            return -1;
        m_model.parts.push_back(std::move(*part));
        m_partColors.push_back(reader.LabelColor(label));
        return static_cast<int>(m_model.parts.size()) - 1;
    }

    const ProductStructure& m_structure;
    const TranslateOptions& m_options;
    ConversionProgress& m_progress;
    AssemblyModel& m_model;
    KVXIResult m_result;
    std::unordered_map<int, int> m_parts;
    std::unordered_map<int, int> m_products;
    std::vector<std::optional<RgbColor>> m_partColors;
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
    StepRecords records;
    if (!records.Load(path))
        return KVXIResult(KVXIResult::ReadFailed);
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    const ProductStructure structure(records);
    KVXIResult result = StructureBuilder(structure, options, progress, model).Run();
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    PruneEmptyAssemblies(model.roots);
    UnwrapSingleRoot(model);
    return result;
}

}  // namespace tam
