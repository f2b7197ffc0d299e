#include "DocumentConversion.h"

#include "EntityData.h"
#include "EntityStore.h"
#include "Faceter.h"

#include <orik/ATTRIB_GEN_NAME.h>

#include <map>
#include <unordered_map>
#include <utility>

namespace orik {
namespace files {

namespace {

class DocumentBuilder {
public:
    KernelDocument build(const ENTITY_LIST& list) {
        for (int i = 0; i < list.count(); ++i) {
            if (EntityStore::instance().alive(list[i]))
                addRecord(list[i]->root());
        }
        // Collections own their members: those go with them, and may own more in turn.
        for (size_t i = 0; i < roots_.size(); ++i) {
            for (const Member& member : roots_[i]->data().members) {
                if (member.owned && EntityStore::instance().alive(member.entity))
                    addRecord(member.entity->root());
            }
        }
        for (ENTITY* root : roots_)
            document_.entities.push_back(recordOf(root));
        for (int i = 0; i < list.count(); ++i) {
            const EntityRef ref = refOf(list[i]);
            if (!ref.none())
                document_.list.push_back(ref);
        }
        return std::move(document_);
    }

private:
    void addRecord(ENTITY* root) {
        if (records_.emplace(root, int32_t(roots_.size())).second)
            roots_.push_back(root);
    }

    int32_t shapeIndexOf(const TopoDS_Shape& shape) {
        if (shape.IsNull())
            return -1;
        const auto key = std::make_pair(shape.TShape().get(), int(shape.Orientation()));
        const auto found = shapes_.find(key);
        if (found != shapes_.end())
            return found->second;
        document_.shapes.push_back(shape);
        const int32_t index = int32_t(document_.shapes.size() - 1);
        shapes_.emplace(key, index);
        return index;
    }

    EntityRecord recordOf(ENTITY* root) {
        const EntityData& data = root->data();
        EntityRecord record;
        record.type = root->identity();
        record.shape = shapeIndexOf(data.shape);
        record.placement = transformRecordOf(data.placement);
        record.axes = axesRecordOf(data.axes);
        record.decorations = decorationsOf(root);
        for (int kind = 0; kind < kSubEntityKindCount; ++kind) {
            const SubTable& table = data.subTables[kind];
            for (size_t i = 0; i < table.entities.size(); ++i) {
                ENTITY* sub = table.entities[i];
                if (sub == root)
                    continue;
                SubEntityRecord subRecord{SubEntityKind(kind), uint32_t(i), decorationsOf(sub)};
                if (!subRecord.decorations.empty())
                    record.subEntities.push_back(std::move(subRecord));
            }
        }
        for (const Member& member : data.members) {
            const EntityRef ref = refOf(member.entity);
            if (!ref.none())
                record.members.push_back({ref, member.owned});
        }
        return record;
    }

    static AxesRecord axesRecordOf(const gp_Ax3& axes) {
        auto triple = [](const gp_XYZ& v) { return std::array<double, 3>{v.X(), v.Y(), v.Z()}; };
        return {triple(axes.Location().XYZ()), triple(axes.XDirection().XYZ()),
                triple(axes.YDirection().XYZ()), triple(axes.Direction().XYZ())};
    }

    Decorations decorationsOf(const ENTITY* entity) {
        const EntityData& data = entity->data();
        Decorations decorations;
        if (data.color)
            decorations.color = {data.color->red(), data.color->green(), data.color->blue()};
        for (const auto& attribute : data.attributes)
            decorations.attributes.push_back(attributeRecordOf(*attribute));
        return decorations;
    }

    AttributeRecord attributeRecordOf(const ATTRIB_GEN_NAME& attribute) {
        AttributeRecord record;
        record.kind = attribute.identity();
        record.name = attribute.name();
        switch (record.kind) {
            case ATTRIB_GEN_ENTITY_TYPE:
                record.entity = refOf(static_cast<const ATTRIB_GEN_ENTITY&>(attribute).value());
                break;
            case ATTRIB_GEN_INTEGER_TYPE:
                record.integer = static_cast<const ATTRIB_GEN_INTEGER&>(attribute).value();
                break;
            case ATTRIB_GEN_REAL_TYPE:
                record.real = static_cast<const ATTRIB_GEN_REAL&>(attribute).value();
                break;
            case ATTRIB_GEN_POSITION_TYPE: {
                const SPAposition& p = static_cast<const ATTRIB_GEN_POSITION&>(attribute).value();
                record.xyz = {p.x(), p.y(), p.z()};
                break;
            }
            case ATTRIB_GEN_VECTOR_TYPE: {
                const SPAvector& v = static_cast<const ATTRIB_GEN_VECTOR&>(attribute).value();
                record.xyz = {v.x(), v.y(), v.z()};
                break;
            }
            case ATTRIB_GEN_STRING_TYPE:
                record.text = static_cast<const ATTRIB_GEN_STRING&>(attribute).value();
                break;
            case ATTRIB_GEN_WSTRING_TYPE:
                record.wideText = static_cast<const ATTRIB_GEN_WSTRING&>(attribute).value();
                break;
            default:  // the plain kind, and kinds of others saved as plain names
                record.kind = ATTRIB_GEN_NAME_TYPE;
                break;
        }
        return record;
    }

    // The entity as a record, or as a sub-entity of one; none when it is not saved.
    EntityRef refOf(const ENTITY* entity) const {
        EntityRef ref;
        if (!EntityStore::instance().alive(entity))
            return ref;
        ENTITY* root = entity->root();
        const auto found = records_.find(root);
        if (found == records_.end())
            return ref;
        ref.record = found->second;
        if (entity == root)
            return ref;
        for (int kind = 0; kind < kSubEntityKindCount; ++kind) {
            const SubTable& table = root->data().subTables[kind];
            const int index = table.shapes.FindIndex(entity->data().shape);
            if (index > 0 && table.entities[size_t(index - 1)] == entity) {
                ref.sub = true;
                ref.kind = SubEntityKind(kind);
                ref.index = uint32_t(index - 1);
                return ref;
            }
        }
        return EntityRef();
    }

    KernelDocument document_;
    std::vector<ENTITY*> roots_;
    std::unordered_map<const ENTITY*, int32_t> records_;
    std::map<std::pair<const TopoDS_TShape*, int>, int32_t> shapes_;
};

}  // namespace

bool EntityRef::operator==(const EntityRef& other) const {
    return record == other.record && sub == other.sub &&
           (!sub || (kind == other.kind && index == other.index));
}

KernelDocument documentOf(const ENTITY_LIST& list, bool withMeshes) {
    KernelDocument document = DocumentBuilder().build(list);
    if (!withMeshes)
        return document;
    for (size_t i = 0; i < document.shapes.size(); ++i) {
        const std::optional<facet::MeshParameters> parameters =
            Faceter::instance().uniformMesh(document.shapes[i]);
        if (!parameters)
            continue;
        MeshRecord mesh;
        mesh.shape = int32_t(i);
        mesh.linearDeflection = parameters->linearDeflection;
        mesh.angularDeflectionDeg = parameters->angularDeflectionDeg;
        mesh.maxEdgeLength = parameters->maxEdgeLength;
        document.meshes.push_back(mesh);
    }
    return document;
}

TransformRecord transformRecordOf(const gp_Trsf& transform) {
    TransformRecord record;
    record.form = int32_t(transform.Form());
    record.scale = transform.ScaleFactor();
    const gp_Mat& matrix = transform.HVectorialPart();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            record.matrix[size_t(3 * row + column)] = matrix.Value(row + 1, column + 1);
    }
    const gp_XYZ& t = transform.TranslationPart();
    record.translation = {t.X(), t.Y(), t.Z()};
    return record;
}

}  // namespace files
}  // namespace orik
