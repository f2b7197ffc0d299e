// Generic named attributes and colors of entities.
#pragma once

#include <orik/ATTRIB_GEN_NAME.h>
#include <orik/OrikOptions.h>
#include <orik/outcome.h>

class ENTITY;

// Finds the entity's attribute of this name (exact, case-sensitive); attrib is set to it, or to
// null when the entity has none (still a success). The attribute stays owned by the entity.
outcome api_find_named_attribute(const ENTITY* entity, const char* name, ATTRIB_GEN_NAME*& attrib,
                                 OrikOptions* options = nullptr);

// Attaches a named attribute of the kind given by the value's type; an attribute of the same
// name on the entity is replaced. Null entity or name: ORIK_NULL_ENTITY / ORIK_BAD_ARGUMENT.
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name,
                                        OrikOptions* options = nullptr);
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, int value,
                                        OrikOptions* options = nullptr);
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, double value,
                                        OrikOptions* options = nullptr);
// Narrow text (null is stored as "").
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const char* value,
                                        OrikOptions* options = nullptr);
// Wide text (null is stored as "").
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const wchar_t* value,
                                        OrikOptions* options = nullptr);
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const SPAposition& value,
                                        OrikOptions* options = nullptr);
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, const SPAvector& value,
                                        OrikOptions* options = nullptr);
// A reference to another entity (not owned); null value: ORIK_NULL_ENTITY.
outcome api_add_generic_named_attribute(ENTITY* entity, const char* name, ENTITY* value,
                                        OrikOptions* options = nullptr);
// Attaches a copy of an existing attribute (any kind); the caller keeps the original.
outcome api_add_attribute_copy(ENTITY* entity, const ATTRIB_GEN_NAME& attrib,
                               OrikOptions* options = nullptr);
// Removes the entity's attribute of this name; no such attribute is still a success.
outcome api_remove_generic_named_attribute(ENTITY* entity, const char* name,
                                           OrikOptions* options = nullptr);

// Gives the entity its own color.
outcome api_rh_set_entity_rgb(ENTITY* entity, const rgb_color& color,
                              OrikOptions* options = nullptr);
// Removes the entity's own color (it then inherits again).
outcome api_rh_remove_entity_rgb(ENTITY* entity, OrikOptions* options = nullptr);
// The entity's color. Its own color if it has one; else, with inherit TRUE, the first color up
// its owners (a face's body). found tells whether a color was found; when not, color is the
// default color.
outcome api_rh_get_entity_rgb(const ENTITY* entity, rgb_color& color, logical inherit,
                              logical& found, OrikOptions* options = nullptr);
// The default color, (0.8, 0.8, 0.9) when the modeller starts unless set otherwise.
outcome api_rh_set_default_rgb(const rgb_color& color);
outcome api_rh_get_default_rgb(rgb_color& color);
