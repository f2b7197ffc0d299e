#include <orik/ENTITY_LIST.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace orik {

// Entities in order, a set for the duplicate test, and the iteration cursor.
class EntityListData {
public:
    std::vector<ENTITY*> entities;
    std::unordered_set<const ENTITY*> members;
    size_t cursor = 0;
};

}  // namespace orik

ENTITY_LIST::ENTITY_LIST() : data_(new orik::EntityListData) {}

ENTITY_LIST::ENTITY_LIST(const ENTITY_LIST& other)
    : ORIK_OBJECT(other), data_(new orik::EntityListData(*other.data_)) {}

ENTITY_LIST& ENTITY_LIST::operator=(const ENTITY_LIST& other) {
    if (this != &other)
        *data_ = *other.data_;
    return *this;
}

ENTITY_LIST::~ENTITY_LIST() {
    delete data_;
}

int ENTITY_LIST::count() const {
    return int(data_->entities.size());
}

ENTITY* ENTITY_LIST::operator[](int i) const {
    if (i < 0 || i >= count())
        return nullptr;
    return data_->entities[size_t(i)];
}

int ENTITY_LIST::add(ENTITY* entity) {
    if (entity == nullptr)
        return -1;
    if (!data_->members.insert(entity).second)
        return lookup(entity);
    data_->entities.push_back(entity);
    return count() - 1;
}

void ENTITY_LIST::add(const ENTITY_LIST& other) {
    if (&other == this)
        return;
    for (ENTITY* entity : other.data_->entities)
        add(entity);
}

int ENTITY_LIST::remove(ENTITY* entity) {
    const int index = lookup(entity);
    if (index < 0)
        return -1;
    data_->entities.erase(data_->entities.begin() + index);
    data_->members.erase(entity);
    // Keep an iteration in progress on the entity that followed the removed one.
    if (data_->cursor > size_t(index))
        --data_->cursor;
    return index;
}

int ENTITY_LIST::lookup(const ENTITY* entity) const {
    if (entity == nullptr || data_->members.count(entity) == 0)
        return -1;
    const auto& entities = data_->entities;
    return int(std::find(entities.begin(), entities.end(), entity) - entities.begin());
}

void ENTITY_LIST::clear() {
    data_->entities.clear();
    data_->members.clear();
    data_->cursor = 0;
}

void ENTITY_LIST::init() const {
    data_->cursor = 0;
}

ENTITY* ENTITY_LIST::next() const {
    if (data_->cursor >= data_->entities.size())
        return nullptr;
    return data_->entities[data_->cursor++];
}
