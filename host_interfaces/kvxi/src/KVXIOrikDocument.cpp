#include <kvxi/KVXIOrikDocument.h>

#include <orik/ENTITY_LIST.h>
#include <orik/OrikTopologyApi.h>

KVXIOrikDocument::KVXIOrikDocument() = default;

KVXIOrikDocument::KVXIOrikDocument(ENTITY_LIST* entities) {
    if (!entities)
        return;
    for (int i = 0; i < entities->count(); ++i) {
        if (ENTITY* entity = (*entities)[i])
            m_entities.push_back(entity);
    }
}

KVXIOrikDocument::~KVXIOrikDocument() {
    DeleteOwnedEntities();
}

KVXIResult KVXIOrikDocument::GetEntities(ENTITY_LIST*& entities) {
    entities = nullptr;
    if (m_entities.empty())
        return KVXIResult(KVXIResult::NoEntities);
    entities = new ENTITY_LIST;
    for (ENTITY* entity : m_entities)
        entities->add(entity);
    if (m_ownsEntities) {
        m_entities.clear();
        m_ownsEntities = false;
    }
    return KVXIResult();
}

void KVXIOrikDocument::AdoptEntities(std::vector<ENTITY*> entities) {
    DeleteOwnedEntities();
    m_entities = std::move(entities);
    m_ownsEntities = true;
}

void KVXIOrikDocument::DeleteOwnedEntities() {
    if (!m_ownsEntities || m_entities.empty())
        return;
    ENTITY_LIST list;
    for (ENTITY* entity : m_entities)
        list.add(entity);
    api_del_entity_list(list);
    m_entities.clear();
    m_ownsEntities = false;
}
