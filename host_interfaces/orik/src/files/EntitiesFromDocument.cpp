#include "DocumentConversion.h"

#include "EntityData.h"
#include "EntityStore.h"
#include "Faceter.h"

#include <orik/ATTRIB_GEN_NAME.h>
#include <orik/OrikOcctBridge.h>
#include <orik/orik_exception.h>
#include <orik/outcome.h>

#include <Standard_SStream.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <gp_Ax3.hxx>

#include <cmath>
#include <locale>
#include <memory>
#include <unordered_set>

namespace orik {
namespace files {

namespace {

void requireSound(bool condition) {
    if (!condition)
        throw orik_exception(ORIK_FILE_DAMAGED);
}

bool finite(const std::array<double, 3>& values) {
    return std::isfinite(values[0]) && std::isfinite(values[1]) && std::isfinite(values[2]);
}

TopAbs_ShapeEnum shapeTypeOf(SubEntityKind kind) {
    static const TopAbs_ShapeEnum types[] = {TopAbs_FACE, TopAbs_EDGE, TopAbs_WIRE, TopAbs_VERTEX};
    return types[int(kind)];
}

// Checks that a document holds together before anything is made from it.
class DocumentCheck {
public:
    explicit DocumentCheck(const KernelDocument& document)
        : document_(document), subCounts_(document.entities.size()) {}

    void run() {
        std::unordered_set<int32_t> owned;
        std::vector<int32_t> owner(document_.entities.size(), -1);
        for (size_t i = 0; i < document_.entities.size(); ++i) {
            const EntityRecord& record = document_.entities[i];
            checkGeometry(record);
            checkDecorations(record.decorations);
            for (const SubEntityRecord& sub : record.subEntities) {
                requireSound(sub.index < subCount(int32_t(i), sub.kind));
                checkDecorations(sub.decorations);
            }
            requireSound(record.members.empty() || record.type == ORIK_COLLECTION_TYPE);
            for (const MemberRecord& member : record.members) {
                checkRef(member.entity);
                if (member.owned) {
                    // An owned member is a top-level entity of one collection only.
                    requireSound(!member.entity.sub && member.entity.record != int32_t(i));
                    requireSound(owned.insert(member.entity.record).second);
                    owner[size_t(member.entity.record)] = int32_t(i);
                }
            }
        }
        for (const EntityRef& ref : document_.list)
            checkRef(ref);
        checkOwnership(owner);
    }

private:
    // Ownership must form trees no deeper than kMaxCollectionNesting: the kernel deletes and
    // copies owned members by recursion. Each record has one owner at most (checked above), so
    // walking up from every record finds a loop or the depth; known depths end the walk early.
    static void checkOwnership(const std::vector<int32_t>& owner) {
        std::vector<int32_t> depth(owner.size(), -1);
        for (size_t start = 0; start < owner.size(); ++start) {
            std::vector<int32_t> path;
            int32_t node = int32_t(start);
            for (; node >= 0 && depth[size_t(node)] < 0; node = owner[size_t(node)]) {
                if (path.size() == owner.size())
                    throw orik_exception(ORIK_FILE_NESTING);  // owned by itself in the end
                path.push_back(node);
            }
            int32_t level = node >= 0 ? depth[size_t(node)] : -1;
            for (auto it = path.rbegin(); it != path.rend(); ++it) {
                depth[size_t(*it)] = ++level;
                if (level >= kMaxCollectionNesting)
                    throw orik_exception(ORIK_FILE_NESTING);
            }
        }
    }

    void checkGeometry(const EntityRecord& record) {
        static const TopAbs_ShapeEnum freeTypes[] = {TopAbs_FACE, TopAbs_EDGE, TopAbs_WIRE,
                                                     TopAbs_VERTEX};
        switch (record.type) {
            case ORIK_BODY_TYPE:
                requireSound(shapeOf(record) != nullptr);
                requireSound(toTransform(record.placement).Form() != gp_Other);
                break;
            case ORIK_FACE_TYPE:
            case ORIK_EDGE_TYPE:
            case ORIK_WIRE_TYPE:
            case ORIK_VERTEX_TYPE: {
                const TopoDS_Shape* shape = shapeOf(record);
                requireSound(shape != nullptr &&
                             shape->ShapeType() == freeTypes[record.type - ORIK_FACE_TYPE]);
                toTransform(record.placement);
                break;
            }
            case ORIK_WCS_TYPE:
                requireSound(record.shape < 0 && record.subEntities.empty());
                checkAxes(record.axes);
                break;
            case ORIK_COLLECTION_TYPE:
                requireSound(record.shape < 0 && record.subEntities.empty());
                break;
            default:
                requireSound(false);
        }
    }

    const TopoDS_Shape* shapeOf(const EntityRecord& record) const {
        if (record.shape < 0 || size_t(record.shape) >= document_.shapes.size())
            return nullptr;
        const TopoDS_Shape& shape = document_.shapes[size_t(record.shape)];
        return shape.IsNull() ? nullptr : &shape;
    }

    static void checkAxes(const AxesRecord& axes) {
        requireSound(finite(axes.origin) && finite(axes.xDirection) && finite(axes.zDirection) &&
                     finite(axes.yDirection));
        const gp_XYZ x(axes.xDirection[0], axes.xDirection[1], axes.xDirection[2]);
        const gp_XYZ z(axes.zDirection[0], axes.zDirection[1], axes.zDirection[2]);
        requireSound(std::abs(x.Modulus() - 1.0) < 1e-9 && std::abs(z.Modulus() - 1.0) < 1e-9 &&
                     std::abs(x.Dot(z)) < 1e-9);
    }

    void checkDecorations(const Decorations& decorations) {
        if (decorations.color)
            requireSound(finite(*decorations.color));
        for (const AttributeRecord& attribute : decorations.attributes) {
            requireSound(attribute.kind >= ATTRIB_GEN_NAME_TYPE &&
                         attribute.kind <= ATTRIB_GEN_VECTOR_TYPE);
            if (attribute.kind == ATTRIB_GEN_ENTITY_TYPE && !attribute.entity.none())
                checkRef(attribute.entity);
        }
    }

    void checkRef(const EntityRef& ref) {
        requireSound(ref.record >= 0 && size_t(ref.record) < document_.entities.size());
        if (ref.sub)
            requireSound(ref.index < subCount(ref.record, ref.kind));
    }

    // How many sub-entities of a kind the record's entity will have (as the kernel indexes them).
    uint32_t subCount(int32_t record, SubEntityKind kind) {
        auto& counts = subCounts_[size_t(record)];
        if (!counts) {
            counts = std::make_unique<std::array<uint32_t, kSubEntityKindCount>>();
            const TopoDS_Shape* shape = shapeOf(document_.entities[size_t(record)]);
            for (int k = 0; k < kSubEntityKindCount; ++k) {
                TopTools_IndexedMapOfShape map;
                if (shape)
                    TopExp::MapShapes(*shape, shapeTypeOf(SubEntityKind(k)), map);
                (*counts)[size_t(k)] = uint32_t(map.Extent());
            }
        }
        return (*counts)[size_t(kind)];
    }

    const KernelDocument& document_;
    std::vector<std::unique_ptr<std::array<uint32_t, kSubEntityKindCount>>> subCounts_;
};

// Makes the entities of a checked document; deletes them again unless released.
class EntityMaker {
public:
    explicit EntityMaker(const KernelDocument& document) : document_(document) {}
    ~EntityMaker() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            if (*it && EntityStore::instance().alive(*it))
                EntityStore::instance().destroy(*it);
        }
    }

    void makeAll(ENTITY_LIST& out) {
        for (const EntityRecord& record : document_.entities)
            made_.push_back(makeTopLevel(record));
        for (size_t i = 0; i < made_.size(); ++i) {
            const EntityRecord& record = document_.entities[i];
            decorate(made_[i], record.decorations);
            for (const SubEntityRecord& sub : record.subEntities) {
                const SubTable& table = subTable(made_[i], SubKind(sub.kind));
                requireSound(sub.index < table.entities.size());
                decorate(table.entities[sub.index], sub.decorations);
            }
            for (const MemberRecord& member : record.members)
                made_[i]->data().members.push_back({resolve(member.entity), member.owned});
        }
        std::vector<ENTITY*> listed;
        for (const EntityRef& ref : document_.list)
            listed.push_back(resolve(ref));
        for (ENTITY* entity : listed)
            out.add(entity);
        made_.clear();  // the caller owns them now
    }

private:
    ENTITY* makeTopLevel(const EntityRecord& record) {
        EntityStore& store = EntityStore::instance();
        switch (record.type) {
            case ORIK_WCS_TYPE:
                return store.makeWcs(axesOf(record.axes));
            case ORIK_COLLECTION_TYPE:
                return store.makeCollection();
            case ORIK_BODY_TYPE: {
                BODY* body = orik_make_body(document_.shapes[size_t(record.shape)],
                                            toTransform(record.placement));
                requireSound(body != nullptr);
                return body;
            }
            default: {
                const gp_Trsf placement = toTransform(record.placement);
                ENTITY* entity = store.makeTopLevel(
                    OrikEntityType(record.type), document_.shapes[size_t(record.shape)], placement);
                entity->data().sourceLocation = TopLoc_Location(placement);
                return entity;
            }
        }
    }

    static gp_Ax3 axesOf(const AxesRecord& record) {
        auto point = [](const std::array<double, 3>& v) { return gp_Pnt(v[0], v[1], v[2]); };
        auto dir = [](const std::array<double, 3>& v) { return gp_Dir(v[0], v[1], v[2]); };
        gp_Ax3 axes(point(record.origin), dir(record.zDirection), dir(record.xDirection));
        const gp_XYZ y(record.yDirection[0], record.yDirection[1], record.yDirection[2]);
        if (axes.YDirection().XYZ().Dot(y) < 0.0)
            axes.YReverse();
        return axes;
    }

    void decorate(ENTITY* entity, const Decorations& decorations) {
        EntityData& data = entity->data();
        if (decorations.color) {
            const auto& c = *decorations.color;
            data.color = rgb_color(c[0], c[1], c[2]);
        }
        for (const AttributeRecord& attribute : decorations.attributes) {
            data.attributes.emplace_back(makeAttribute(attribute));
            if (attribute.kind == ATTRIB_GEN_ENTITY_TYPE)
                EntityStore::instance().noteReferrer(entity);
        }
    }

    ATTRIB_GEN_NAME* makeAttribute(const AttributeRecord& a) const {
        const char* name = a.name.c_str();
        switch (a.kind) {
            case ATTRIB_GEN_ENTITY_TYPE:
                return new ATTRIB_GEN_ENTITY(name, a.entity.none() ? nullptr : resolve(a.entity));
            case ATTRIB_GEN_INTEGER_TYPE:
                return new ATTRIB_GEN_INTEGER(name, a.integer);
            case ATTRIB_GEN_REAL_TYPE:
                return new ATTRIB_GEN_REAL(name, a.real);
            case ATTRIB_GEN_POSITION_TYPE:
                return new ATTRIB_GEN_POSITION(name, SPAposition(a.xyz[0], a.xyz[1], a.xyz[2]));
            case ATTRIB_GEN_VECTOR_TYPE:
                return new ATTRIB_GEN_VECTOR(name, SPAvector(a.xyz[0], a.xyz[1], a.xyz[2]));
            case ATTRIB_GEN_STRING_TYPE:
                return new ATTRIB_GEN_STRING(name, a.text.c_str());
            case ATTRIB_GEN_WSTRING_TYPE:
                return new ATTRIB_GEN_WSTRING(name, a.wideText.c_str());
            default:
                return new ATTRIB_GEN_NAME(name);
        }
    }

    ENTITY* resolve(const EntityRef& ref) const {
        ENTITY* root = made_[size_t(ref.record)];
        if (!ref.sub)
            return root;
        const SubTable& table = subTable(root, SubKind(ref.kind));
        requireSound(ref.index < table.entities.size());
        return table.entities[ref.index];
    }

    const KernelDocument& document_;
    std::vector<ENTITY*> made_;
};

}  // namespace

void makeEntities(const KernelDocument& document, ENTITY_LIST& out) {
    DocumentCheck(document).run();
    EntityMaker(document).makeAll(out);
    for (const MeshRecord& mesh : document.meshes) {
        facet::MeshParameters parameters;
        parameters.linearDeflection = mesh.linearDeflection;
        parameters.angularDeflectionDeg = mesh.angularDeflectionDeg;
        parameters.maxEdgeLength = mesh.maxEdgeLength;
        Faceter::instance().adoptMesh(document.shapes[size_t(mesh.shape)], parameters);
    }
}

// OCCT restores a transform field by field only from its own dump, so the fields go that way:
// building it from a matrix would recompute the scale and lose the last bits.
gp_Trsf toTransform(const TransformRecord& record) {
    bool sound = record.form >= int32_t(gp_Identity) && record.form <= int32_t(gp_Other) &&
                 std::isfinite(record.scale) && record.scale != 0.0 && finite(record.translation);
    for (double value : record.matrix)
        sound = sound && std::isfinite(value);
    requireSound(sound);
    Standard_SStream dump;
    dump.imbue(std::locale::classic());
    dump.precision(17);
    dump << "\"Location\": [" << record.translation[0] << ", " << record.translation[1] << ", "
         << record.translation[2] << "], \"Matrix\": [";
    for (size_t i = 0; i < 9; ++i)
        dump << (i ? ", " : "") << record.matrix[i];
    dump << "], \"shape\": " << record.form << ", \"scale\": " << record.scale;
    gp_Trsf transform;
    Standard_Integer position = 1;
    requireSound(transform.InitFromJson(dump, position));
    return transform;
}

}  // namespace files
}  // namespace orik
