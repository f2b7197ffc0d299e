// An ordered list of entity pointers without duplicates. The list never owns its entities:
// api_del_entity_list deletes them through the kernel.
#pragma once

#include <orik/ORIK_OBJECT.h>

class ENTITY;
namespace orik {
class EntityListData;
}

// Entity list, allocated through the kernel's allocator (new ENTITY_LIST). Indexes are 0-based
// and follow the order of addition; removing an entity closes the gap.
class ENTITY_LIST : public ORIK_OBJECT {
public:
    ENTITY_LIST();
    ENTITY_LIST(const ENTITY_LIST& other);
    ENTITY_LIST& operator=(const ENTITY_LIST& other);
    ~ENTITY_LIST() override;

    // Number of entities in the list.
    int count() const;
    // Entity at index i, or null when i is out of range.
    ENTITY* operator[](int i) const;
    // Appends the entity unless it is already listed or null; returns its index (-1 for null).
    int add(ENTITY* entity);
    // Appends every entity of another list (add() for each, in order).
    void add(const ENTITY_LIST& other);
    // Removes the entity if listed; returns its former index, or -1.
    int remove(ENTITY* entity);
    // Index of the entity, or -1 when it is not listed.
    int lookup(const ENTITY* entity) const;
    // Empties the list (the entities are not touched).
    void clear();

    // Iteration: init() rewinds, next() returns the following entity or null at the end.
    void init() const;
    ENTITY* next() const;

private:
    orik::EntityListData* data_;
};
