#include "EntityBuilder.h"

#include <orik/KVXCOLLECTION.h>
#include <orik/OrikAttribApi.h>
#include <orik/OrikOcctBridge.h>
#include <orik/OrikTopologyApi.h>
#include <platform/CodePage.h>

#include <NCollection_Map.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TopoDS_Shape.hxx>

namespace tam {
namespace {

rgb_color ToKernelColor(const RgbColor& color) {
    return rgb_color(color.red, color.green, color.blue);
}

void AddText(ENTITY* entity, const char* name, const std::string& utf8) {
    const std::wstring wide = tam::Utf8ToWideReplacing(utf8);
    api_add_generic_named_attribute(entity, name, wide.c_str());
}

void AddAttributes(ENTITY* entity, const Attributes& attributes) {
    if (!attributes.name.empty())
        AddText(entity, "ATTRIB_XORIK_NAME", attributes.name);
    if (!attributes.layer.empty())
        AddText(entity, "ATTRIB_XORIK_LAYER", attributes.layer);
    if (!attributes.visible)
        api_add_generic_named_attribute(entity, "ATTRIB_XORIK_SHOW", "0");
    if (attributes.color)
        api_rh_set_entity_rgb(entity, ToKernelColor(*attributes.color));
}

void ColorFaces(BODY* body, const std::vector<FaceColor>& faceColors) {
    for (const FaceColor& faceColor : faceColors) {
        ENTITY* face = orik_find_sub_entity(body, faceColor.face);
        if (face)
            api_rh_set_entity_rgb(face, ToKernelColor(faceColor.color));
    }
}

// A collection whose members are empty collections carrying a name and a value each.
KVXCOLLECTION* MakePropertyCollection(const std::vector<NamedValue>& properties) {
    KVXCOLLECTION* collection = nullptr;
    if (!api_make_collection(collection).ok() || !collection)
        return nullptr;
    for (const NamedValue& property : properties) {
        KVXCOLLECTION* member = nullptr;
        if (!api_make_collection(member).ok() || !member)
            continue;
        AddText(member, "ATTRIB_XORIK_NAME", property.name);
        AddText(member, "KVXATTRIB_VALUE", property.value);
        api_add_to_collection(collection, member, TRUE);
    }
    return collection;
}

ENTITY* MakeFreeEntity(const FreeShape& free) {
    switch (free.shape.ShapeType()) {
        case TopAbs_VERTEX:
            return orik_make_free_vertex(free.shape);
        case TopAbs_EDGE:
            return orik_make_free_edge(free.shape);
        case TopAbs_WIRE:
            return orik_make_free_wire(free.shape);
        case TopAbs_FACE:
            return orik_make_free_face(free.shape);
        default:
            return nullptr;
    }
}

}  // namespace

KVXIResult BuildEntities(const CadModel& model, const TranslateOptions& options,
                         std::vector<ENTITY*>& entities) {
    KVXIResult result;
    NCollection_Map<TopoDS_Shape, TopTools_ShapeMapHasher> partsWithProperties;
    for (const PlacedBody& placed : model.bodies) {
        BODY* body = orik_make_body(placed.shape, placed.placement);
        if (!body) {
            result &= KVXIResult(KVXIResult::WarningEntitiesSkipped);
            continue;
        }
        entities.push_back(body);
        if (!options.translateAttributes)
            continue;
        AddAttributes(body, placed.attributes);
        ColorFaces(body, placed.faceColors);
        if (placed.properties.empty() || !partsWithProperties.Add(placed.shape))
            continue;
        if (KVXCOLLECTION* collection = MakePropertyCollection(placed.properties)) {
            AddText(collection, "ATTRIB_XORIK_NAME", placed.attributes.name);
            entities.push_back(collection);
        }
    }
    for (const FreeShape& free : model.freeShapes) {
        ENTITY* entity = MakeFreeEntity(free);
        if (!entity) {
            result &= KVXIResult(KVXIResult::WarningEntitiesSkipped);
            continue;
        }
        entities.push_back(entity);
        if (options.translateAttributes)
            AddAttributes(entity, free.attributes);
    }
    if (entities.empty() && !model.IsEmpty())
        return KVXIResult(KVXIResult::KernelError);
    return result;
}

}  // namespace tam
