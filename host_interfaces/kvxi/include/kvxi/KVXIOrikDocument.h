// A document of kernel entities in memory: the target that receives converted entities, or a
// source over the caller's entity list.
#pragma once

#include <kvxi/KVXIDocument.h>
#include <kvxi/KVXIResult.h>

#include <vector>

class ENTITY;
class ENTITY_LIST;

class KVXIOrikDocument : public KVXIDocument {
public:
    // An empty document, to be filled by KVXIConverter::Convert.
    KVXIOrikDocument();
    // A document over `entities`, which it reads and never changes, frees or keeps beyond the
    // entities' own lifetime; null gives an empty document.
    explicit KVXIOrikDocument(ENTITY_LIST* entities);
    // Deletes through the kernel the converted entities that were not handed out.
    ~KVXIOrikDocument() override;

    KVXIOrikDocument(const KVXIOrikDocument&) = delete;
    KVXIOrikDocument& operator=(const KVXIOrikDocument&) = delete;

    // Hands out the converted top-level entities as a new list that the caller owns (delete the
    // entities with api_del_entity_list, then the list). Sets `entities` to null and returns
    // NoEntities when the document holds none; a second call hands out nothing.
    // For a document over a caller's list, hands out a new list of the same entities (not owned).
    KVXIResult GetEntities(ENTITY_LIST*& entities);

    // Number of top-level entities the document holds now.
    int GetEntityCount() const { return static_cast<int>(m_entities.size()); }
    // The entities held now (read only; ownership unchanged).
    const std::vector<ENTITY*>& GetEntityPointers() const { return m_entities; }

    bool IsOrikDocument() const override { return true; }

    // Used by the converter: takes ownership of `entities`, deleting those held before.
    void AdoptEntities(std::vector<ENTITY*> entities);

private:
    void DeleteOwnedEntities();

    std::vector<ENTITY*> m_entities;
    bool m_ownsEntities = false;
};
