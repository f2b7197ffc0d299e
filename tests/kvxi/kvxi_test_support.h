// Shared helpers of the translator tests: a running kernel and translator, conversions into
// entity lists, and what the tests read back from entities.
#pragma once

#include <kvxi/kvxi.h>
#include <orik/OrikOcctBridge.h>
#include <orik/orik.h>
#include <platform/CodePage.h>

#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>
#include <gp_Trsf.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace kvxitest {

// Starts the kernel and the translator for one test suite.
class KernelSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        api_start_modeller(0);
        KVXISystem::Initialize();
    }
    static void TearDownTestSuite() {
        KVXISystem::Shutdown();
        api_stop_modeller();
    }
};

// A converted entity list, deleted through the kernel with the holder.
struct Entities {
    KVXIResult result;
    ENTITY_LIST* list = nullptr;

    Entities() = default;
    Entities(const Entities&) = delete;
    Entities& operator=(const Entities&) = delete;
    ~Entities() {
        if (!list)
            return;
        api_del_entity_list(*list);
        delete list;
    }
    int Count() const { return list ? list->count() : 0; }
    ENTITY* operator[](int i) const { return (*list)[i]; }
};

inline KVXIOptions EntityOptions(bool freeGeometry = true, bool hidden = true) {
    KVXIOptions options;
    options.Add("TranslateAttributes", true);
    options.Add("Healing", false);
    options.Add("TranslateFreePoints", freeGeometry);
    options.Add("TranslateFreeCurves", freeGeometry);
    options.Add("TranslateFreeSurfaces", freeGeometry);
    options.Add("TranslateSheetBodies", freeGeometry);
    options.Add("TranslateHiddenEntities", hidden);
    options.Add("TimeLimitSeconds", 300);
    options.Add(KVXIOptionName::Representation, "Brep+Assembly");
    return options;
}

// Converts a file into kernel entities (type tag optional).
inline void Convert(const std::string& path, const char* type, const KVXIOptions& options,
                    Entities& out) {
    KVXIDocument source(path);
    source.SetType(type);
    KVXIOrikDocument target;
    target.SetUnit(4);
    KVXIConverter converter;
    converter.SetOptions(options);
    out.result = converter.Convert(source, target);
    target.GetEntities(out.list);
}

// Writes the entities to a file (type tag optional), with their attributes.
inline KVXIResult WriteEntities(const Entities& entities, const std::string& path,
                                const char* type = nullptr) {
    KVXIOrikDocument source(entities.list);
    KVXIDocument target{KVXIFile(path)};
    target.SetType(type);
    KVXIOptions options;
    options.Add("TranslateAttributes", true);
    KVXIConverter converter;
    converter.SetOptions(options);
    return converter.Convert(source, target);
}

inline int CountBodies(const Entities& entities) {
    int bodies = 0;
    for (int i = 0; i < entities.Count(); ++i)
        bodies += is_BODY(entities[i]) ? 1 : 0;
    return bodies;
}

// Text of a string or wide-string attribute as UTF-8 ("" when absent).
inline std::string TextAttribute(const ENTITY* entity, const char* name) {
    ATTRIB_GEN_NAME* attrib = nullptr;
    api_find_named_attribute(entity, name, attrib);
    if (!attrib)
        return "";
    if (attrib->identity() == ATTRIB_GEN_WSTRING_TYPE) {
        return tam::WideToUtf8Replacing(static_cast<ATTRIB_GEN_WSTRING*>(attrib)->value());
    }
    if (attrib->identity() == ATTRIB_GEN_STRING_TYPE) {
        return static_cast<ATTRIB_GEN_STRING*>(attrib)->value();
    }
    return "";
}

// The first entity of the list with the name, nullptr when none has it.
inline ENTITY* FindByName(const Entities& entities, const std::string& name) {
    for (int i = 0; i < entities.Count(); ++i) {
        if (TextAttribute(entities[i], "ATTRIB_XORIK_NAME") == name)
            return entities[i];
    }
    return nullptr;
}

// The entity's own color, if it has one.
inline bool OwnColor(const ENTITY* entity, rgb_color& color) {
    logical found = FALSE;
    api_rh_get_entity_rgb(entity, color, FALSE, found);
    return found == TRUE;
}

// World bounding box of every body and free entity.
inline Bnd_Box WorldBox(const Entities& entities) {
    Bnd_Box box;
    for (int i = 0; i < entities.Count(); ++i) {
        const TopoDS_Shape shape = orik_entity_shape(entities[i]);
        if (shape.IsNull())
            continue;
        BRepBndLib::Add(shape.Moved(TopLoc_Location(orik_entity_placement(entities[i]))), box);
    }
    return box;
}

// Largest difference between the 3x4 matrices of two transformations.
inline double MatrixDistance(const gp_Trsf& a, const gp_Trsf& b) {
    double distance = 0.0;
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= 4; ++column)
            distance = std::max(distance, std::abs(a.Value(row, column) - b.Value(row, column)));
    }
    return distance;
}

}  // namespace kvxitest
