// Generic named attributes and colors.
#include "ApiFrame.h"
#include "EntityData.h"
#include "Kernel.h"

#include <orik/OrikAttribApi.h>

#include <cstring>

using orik::EntityStore;
using orik::Kernel;
using orik::require;
using orik::requireAlive;
using orik::runApi;

namespace {

// Attaches the attribute that make() builds, replacing an attribute of the same name.
template <class Make>
outcome attach(ENTITY* entity, const char* name, Make&& make) {
    return runApi("api_add_generic_named_attribute", [entity, name, &make] {
        requireAlive(entity);
        require(name != nullptr, ORIK_BAD_ARGUMENT);
        std::unique_ptr<ATTRIB_GEN_NAME> attrib(make());
        if (attrib->identity() == ATTRIB_GEN_ENTITY_TYPE) {
            requireAlive(static_cast<ATTRIB_GEN_ENTITY*>(attrib.get())->value());
            EntityStore::instance().noteReferrer(entity);
        }
        auto& attributes = entity->data().attributes;
        for (auto& existing : attributes) {
            if (std::strcmp(existing->name(), name) == 0) {
                existing = std::move(attrib);
                return outcome();
            }
        }
        attributes.push_back(std::move(attrib));
        return outcome();
    });
}

}  // namespace

outcome api_find_named_attribute(const ENTITY* entity, const char* name, ATTRIB_GEN_NAME*& attrib,
                                 OrikOptions*) {
    attrib = nullptr;
    return runApi("api_find_named_attribute", [entity, name, &attrib] {
        requireAlive(entity);
        require(name != nullptr, ORIK_BAD_ARGUMENT);
        for (const auto& existing : entity->data().attributes) {
            if (std::strcmp(existing->name(), name) == 0) {
                attrib = existing.get();
                break;
            }
        }
        return outcome();
    });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_NAME(name); });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, int value, OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_INTEGER(name, value); });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, double value,
                                        OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_REAL(name, value); });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const char* value,
                                        OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_STRING(name, value); });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const wchar_t* value,
                                        OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_WSTRING(name, value); });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const SPAposition& value,
                                        OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_POSITION(name, value); });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const SPAvector& value,
                                        OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_VECTOR(name, value); });
}

outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, ENTITY* value,
                                        OrikOptions*) {
    return attach(entity, name, [&] { return new ATTRIB_GEN_ENTITY(name, value); });
}

outcome api_add_attribute_copy(ENTITY* entity, const ATTRIB_GEN_NAME& attrib, OrikOptions*) {
    return attach(entity, attrib.name(), [&attrib] { return attrib.copy(); });
}

outcome api_remove_generic_named_attribute(ENTITY* entity, const char* name, OrikOptions*) {
    return runApi("api_remove_generic_named_attribute", [entity, name] {
        requireAlive(entity);
        require(name != nullptr, ORIK_BAD_ARGUMENT);
        auto& attributes = entity->data().attributes;
        for (auto it = attributes.begin(); it != attributes.end(); ++it) {
            if (std::strcmp((*it)->name(), name) == 0) {
                attributes.erase(it);
                break;
            }
        }
        return outcome();
    });
}

outcome api_rh_set_entity_rgb(ENTITY* entity, const rgb_color& color, OrikOptions*) {
    return runApi("api_rh_set_entity_rgb", [entity, &color] {
        requireAlive(entity);
        entity->data().color = color;
        return outcome();
    });
}

outcome api_rh_remove_entity_rgb(ENTITY* entity, OrikOptions*) {
    return runApi("api_rh_remove_entity_rgb", [entity] {
        requireAlive(entity);
        entity->data().color.reset();
        return outcome();
    });
}

outcome api_rh_get_entity_rgb(const ENTITY* entity, rgb_color& color, logical inherit,
                              logical& found, OrikOptions*) {
    found = FALSE;
    return runApi("api_rh_get_entity_rgb", [entity, &color, inherit, &found] {
        requireAlive(entity);
        color = Kernel::instance().defaultColor;
        for (const ENTITY* e = entity; e != nullptr; e = inherit ? e->owner() : nullptr) {
            if (e->data().color) {
                color = *e->data().color;
                found = TRUE;
                break;
            }
        }
        return outcome();
    });
}

outcome api_rh_set_default_rgb(const rgb_color& color) {
    return runApi("api_rh_set_default_rgb", [&color] {
        Kernel::instance().defaultColor = color;
        return outcome();
    });
}

outcome api_rh_get_default_rgb(rgb_color& color) {
    return runApi("api_rh_get_default_rgb", [&color] {
        color = Kernel::instance().defaultColor;
        return outcome();
    });
}
