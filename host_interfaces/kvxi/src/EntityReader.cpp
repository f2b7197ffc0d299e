#include "EntityReader.h"

#include <orik/ATTRIB_GEN_NAME.h>
#include <orik/ENTITY_LIST.h>
#include <orik/OrikAttribApi.h>
#include <orik/OrikOcctBridge.h>
#include <orik/OrikTopologyApi.h>
#include <platform/CodePage.h>

namespace tam {
namespace {

std::string TextAttribute(const ENTITY* entity, const char* name) {
    ATTRIB_GEN_NAME* attrib = nullptr;
    if (!api_find_named_attribute(entity, name, attrib).ok() || !attrib)
        return "";
    switch (attrib->identity()) {
        case ATTRIB_GEN_WSTRING_TYPE:
            return tam::WideToUtf8Replacing(
                static_cast<const ATTRIB_GEN_WSTRING*>(attrib)->value());
        case ATTRIB_GEN_STRING_TYPE:
            return static_cast<const ATTRIB_GEN_STRING*>(attrib)->value();
        case ATTRIB_GEN_INTEGER_TYPE:
            return std::to_string(static_cast<const ATTRIB_GEN_INTEGER*>(attrib)->value());
        default:
            return "";
    }
}

std::optional<RgbColor> OwnColor(const ENTITY* entity) {
    rgb_color color;
    logical found = FALSE;
    if (!api_rh_get_entity_rgb(entity, color, FALSE, found).ok() || !found)
        return std::nullopt;
    return RgbColor{color.red(), color.green(), color.blue()};
}

Attributes ReadAttributes(const ENTITY* entity) {
    Attributes attributes;
    attributes.name = TextAttribute(entity, "ATTRIB_XORIK_NAME");
    attributes.layer = TextAttribute(entity, "ATTRIB_XORIK_LAYER");
    attributes.visible = TextAttribute(entity, "ATTRIB_XORIK_SHOW") != "0";
    attributes.color = OwnColor(entity);
    return attributes;
}

std::vector<FaceColor> ReadFaceColors(ENTITY* body) {
    std::vector<FaceColor> colors;
    ENTITY_LIST faces;
    api_get_faces(body, faces);
    for (int i = 0; i < faces.count(); ++i) {
        if (auto color = OwnColor(faces[i])) {
            colors.push_back({orik_entity_shape(faces[i]), *color});
        }
    }
    return colors;
}

FreeKind KindOf(const ENTITY* entity) {
    if (is_VERTEX(entity))
        return FreeKind::Point;
    if (is_FACE(entity))
        return FreeKind::Surface;
    return FreeKind::Curve;
}

}  // namespace

KVXIResult ReadEntities(const std::vector<ENTITY*>& entities, CadModel& model) {
    KVXIResult result;
    for (ENTITY* entity : entities) {
        const TopoDS_Shape shape = orik_entity_shape(entity);
        if (shape.IsNull()) {
            if (!is_KVXCOLLECTION(entity))
                result &= KVXIResult(KVXIResult::WarningEntitiesSkipped);
            continue;
        }
        if (is_BODY(entity)) {
            PlacedBody body;
            body.shape = shape;
            body.placement = orik_entity_placement(entity);
            body.attributes = ReadAttributes(entity);
            body.faceColors = ReadFaceColors(entity);
            model.bodies.push_back(std::move(body));
        } else {
            FreeShape free;
            free.kind = KindOf(entity);
            free.shape = shape.Moved(TopLoc_Location(orik_entity_placement(entity)));
            free.attributes = ReadAttributes(entity);
            model.freeShapes.push_back(std::move(free));
        }
    }
    if (model.IsEmpty())
        return KVXIResult(KVXIResult::NoEntities);
    return result;
}

}  // namespace tam
