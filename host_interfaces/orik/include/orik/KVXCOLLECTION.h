// The translator's collection: an ordered group of entities, e.g. a document's user-defined
// properties, each member carrying a name (ATTRIB_XORIK_NAME) and a value (KVXATTRIB_VALUE).
#pragma once

#include <orik/ENTITY.h>

// A collection (made with api_make_collection). Members keep the order they were added in.
// Owned members are deleted with the collection; other members are only referred to, and
// leave the collection when they are deleted themselves.
class KVXCOLLECTION : public ENTITY {
public:
    explicit KVXCOLLECTION(orik::EntityData* data) : ENTITY(data) {}
    int identity() const override { return ORIK_COLLECTION_TYPE; }
    const char* type_name() const override { return "collection"; }

    int member_count() const;
    // Member i (0-based) in order, or null when i is out of range.
    ENTITY* member(int i) const;
    // TRUE when member i is deleted together with the collection.
    logical owns_member(int i) const;

protected:
    ~KVXCOLLECTION() override = default;
};
