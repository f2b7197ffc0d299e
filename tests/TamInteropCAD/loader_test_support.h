// Test support for CTamCADLoader: kernel entities built from OCCT primitives, attributes and
// colors, and read-back of the scene graphs the loader builds.
#pragma once

#include <gtest/gtest.h>
#include <orik/OrikOcctBridge.h>
#include <orik/orik.h>
#include <tamkernel/CTamPreferences.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamLog.h>
#include <tamsgdb/CTamUserData.h>

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Builder.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tools_test_support.h"

namespace tamtest {

// Releases a scene node the test owns (one that nothing else references).
struct NodeRelease {
    void operator()(sglObject* node) const {
        node->ref();
        node->unref();
    }
};
using GroupPtr = std::unique_ptr<sglGroup, NodeRelease>;

inline BODY* BoxBody(double dx, double dy, double dz, const gp_Trsf& placement = gp_Trsf()) {
    return orik_make_body(BRepPrimAPI_MakeBox(dx, dy, dz).Shape(), placement);
}

inline BODY* CylinderBody(double radius, double height) {
    return orik_make_body(BRepPrimAPI_MakeCylinder(radius, height).Shape());
}

// A planar rectangle [0, du] x [0, dv] in the plane z = z0.
inline TopoDS_Shape RectangleFace(double du, double dv, double z0 = 0.0) {
    return BRepBuilderAPI_MakeFace(gp_Pln(gp_Pnt(0, 0, z0), gp::DZ()), 0.0, du, 0.0, dv).Shape();
}

inline TopoDS_Shape Segment(const gp_Pnt& from, const gp_Pnt& to) {
    return BRepBuilderAPI_MakeEdge(from, to).Shape();
}

inline TopoDS_Shape Circle(double radius) {
    return BRepBuilderAPI_MakeEdge(gp_Circ(gp::XOY(), radius)).Shape();
}

inline TopoDS_Shape Compound(const std::vector<TopoDS_Shape>& shapes) {
    TopoDS_Compound compound;
    BRep_Builder builder;
    builder.MakeCompound(compound);
    for (const TopoDS_Shape& shape : shapes)
        builder.Add(compound, shape);
    return compound;
}

inline void Name(ENTITY* entity, const wchar_t* name) {
    api_add_generic_named_attribute(entity, "ATTRIB_XORIK_NAME", name).ignore();
}

inline void Color(ENTITY* entity, double r, double g, double b) {
    api_rh_set_entity_rgb(entity, rgb_color(r, g, b)).ignore();
}

// The index-th face of an entity (in the kernel's stable order).
inline FACE* FaceOf(ENTITY* entity, int index = 0) {
    ENTITY_LIST faces;
    api_get_faces(entity, faces).ignore();
    return static_cast<FACE*>(faces[index]);
}

// Every node of kind T below (and including) node, depth first in child order.
template <class T>
void Collect(sglNode* node, std::vector<T*>& found) {
    if (auto* hit = dynamic_cast<T*>(node))
        found.push_back(hit);
    if (auto* group = dynamic_cast<sglGroup*>(node)) {
        for (unsigned int i = 0; i < group->getNumChildren(); ++i)
            Collect(group->getChild(i), found);
    }
}

inline std::vector<sglGeode*> Geodes(sglNode* node) {
    std::vector<sglGeode*> geodes;
    if (node != nullptr)
        Collect(node, geodes);
    return geodes;
}

inline const CTamUserData& Record(const sglNode* node) {
    static const CTamUserData none;
    const auto* record = dynamic_cast<const CTamUserData*>(node->getUserData());
    return record != nullptr ? *record : none;
}

inline unsigned int TriangleCount(const sglGeode* geode) {
    unsigned int triangles = 0;
    for (unsigned int i = 0; i < geode->getNumGeometries(); ++i) {
        if (auto* strips = dynamic_cast<sglMonoIndexedTriangleStripSet*>(geode->getGeometry(i)))
            triangles += strips->getNumTriangles();
    }
    return triangles;
}

// Translates one STEP file into an entity list that is deleted with this object.
class TranslatedFile {
public:
    explicit TranslatedFile(const std::filesystem::path& path)
        : m_list(CTamCADTools::InitializeConnectEntityList(path.wstring().c_str(), L"STEP")) {}
    ~TranslatedFile() {
        CTamCADTools::DeleteENTITY_LIST(m_list);
        delete m_list;
    }
    TranslatedFile(const TranslatedFile&) = delete;
    TranslatedFile& operator=(const TranslatedFile&) = delete;
    ENTITY_LIST* list() const { return m_list; }

private:
    ENTITY_LIST* m_list;
};

// Loader tests run with a running kernel, default host settings and preferences, an empty
// log and recording host callbacks.
class LoaderTest : public RunningKernelTest {
protected:
    void SetUp() override {
        RunningKernelTest::SetUp();
        GetTamPreferences()->Reset();
        gTamLog.Clear();
    }
    void TearDown() override {
        GetTamPreferences()->Reset();
        RunningKernelTest::TearDown();
    }

    // Walks the entities with the test's loader into a group the test owns.
    GroupPtr Parse(std::vector<ENTITY*> entities, const std::wstring& path = L"/parts/part.stp") {
        ENTITY_LIST list;
        for (ENTITY* entity : entities)
            list.add(entity);
        return GroupPtr(loader.ParseEntities(list, path));
    }

    CTamCADLoader loader;
};

}  // namespace tamtest
