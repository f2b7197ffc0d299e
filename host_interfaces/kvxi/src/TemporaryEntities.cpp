#include "TemporaryEntities.h"

#include <orik/ENTITY_LIST.h>
#include <orik/OrikTopologyApi.h>

namespace tam {

TemporaryEntities::~TemporaryEntities() {
    if (entities.empty())
        return;
    ENTITY_LIST list;
    for (ENTITY* entity : entities)
        list.add(entity);
    api_del_entity_list(list);
}

}  // namespace tam
