// Base of all kernel entities: bodies, their faces, edges, wires and vertices, free geometry,
// coordinate systems and collections.
#pragma once

#include <orik/ORIK_OBJECT.h>
#include <orik/OrikTypes.h>

class ATTRIB_GEN_NAME;
namespace orik {
class EntityData;
class EntityStore;
}  // namespace orik

// Type identifiers of the concrete entity classes (ENTITY::identity()).
enum OrikEntityType {
    ORIK_BODY_TYPE = 1,
    ORIK_FACE_TYPE = 2,
    ORIK_EDGE_TYPE = 3,
    ORIK_WIRE_TYPE = 4,
    ORIK_VERTEX_TYPE = 5,
    ORIK_WCS_TYPE = 6,
    ORIK_COLLECTION_TYPE = 7,
};

// A kernel entity. Entities are made and deleted by the kernel only (api_* calls and the OCCT
// bridge); they exist while the modeller runs and are deleted by api_delent/api_del_entity_list
// or, at the latest, by api_stop_modeller. A face, edge, wire or vertex of a body is owned by
// that body and lives exactly as long as it; queries return the same pointer each time.
class ENTITY : public ORIK_OBJECT {
public:
    ENTITY(const ENTITY&) = delete;
    ENTITY& operator=(const ENTITY&) = delete;

    // The concrete type (OrikEntityType).
    virtual int identity() const = 0;
    // The type's name ("body", "face", "edge", "wire", "vertex", "wcs", "collection").
    virtual const char* type_name() const = 0;

    // The entity that owns this one (the body of a face, edge, wire or vertex; the wire or edge
    // of a free wire's edges), or null for a top-level entity.
    ENTITY* owner() const;
    // The top-level entity at the end of the owner chain (this entity when it has no owner).
    ENTITY* root() const;

    // Generic named attributes in the order they were attached; the entity owns them.
    int attribute_count() const;
    // Attribute i (0-based), or null when i is out of range.
    ATTRIB_GEN_NAME* attribute(int i) const;

    // Kernel-internal state; opaque outside the kernel's own sources.
    orik::EntityData& data() const { return *data_; }

protected:
    // Takes ownership of the entity's data.
    explicit ENTITY(orik::EntityData* data);
    ~ENTITY() override;

private:
    friend class orik::EntityStore;
    orik::EntityData* data_;
};

// Type tests; each is FALSE for a null pointer.
logical is_BODY(const ENTITY* entity);
logical is_FACE(const ENTITY* entity);
logical is_EDGE(const ENTITY* entity);
logical is_WIRE(const ENTITY* entity);
logical is_VERTEX(const ENTITY* entity);
logical is_WCS(const ENTITY* entity);
logical is_KVXCOLLECTION(const ENTITY* entity);
