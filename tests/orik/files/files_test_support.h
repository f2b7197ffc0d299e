// A list of entities of every kind, with attributes and colors everywhere, for file tests.
#pragma once

#include "orik_test_support.h"

#include <orik/OrikFiles.h>

#include <TopoDS.hxx>
#include <gp_Ax1.hxx>

#include <string>

namespace filestest {

// Index of attribute kinds the sample carries on its first body.
struct Sample {
    BODY* first = nullptr;   // box, placed (rotated, scaled, moved), all attribute kinds
    BODY* second = nullptr;  // the same box placed elsewhere: shares the geometry
    ENTITY* secondFace = nullptr;
    ENTITY* freeFace = nullptr;
    ENTITY* freeWire = nullptr;
    WCS* wcs = nullptr;
    KVXCOLLECTION* collection = nullptr;
    ENTITY_LIST list;
};

inline gp_Trsf placement(double angle, double scale, gp_Vec move) {
    gp_Trsf t;
    t.SetRotation(gp_Ax1(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 0.3)), angle);
    t.SetScaleFactor(scale);
    t.SetTranslationPart(move);
    return t;
}

inline Sample makeSample() {
    using oriktest::pos;
    Sample s;
    const TopoDS_Shape box = oriktest::boxShape(10, 20, 30);
    s.first = orik_make_body(box, placement(0.7, 2.5, gp_Vec(5, -3, 8)));
    s.second = orik_make_body(box, placement(-1.2, 1.0, gp_Vec(100, 0, 0)));
    ENTITY_LIST faces, edges, vertices;
    api_get_faces(s.second, faces);
    api_get_edges(s.second, edges);
    api_get_vertices(s.second, vertices);
    s.secondFace = faces[3];
    api_rh_set_entity_rgb(s.secondFace, rgb_color(1, 0, 0));
    api_add_generic_named_attribute(s.secondFace, "Name", "top \"face\"");
    api_add_generic_named_attribute(edges[5], "Layer", 7);
    api_rh_set_entity_rgb(vertices[2], rgb_color(0, 0.5, 1.0 / 3.0));

    ENTITY* body = s.first;
    api_rh_set_entity_rgb(body, rgb_color(0.1, 0.2, 0.3));
    api_add_generic_named_attribute(body, "flag");
    api_add_generic_named_attribute(body, "count", -42);
    api_add_generic_named_attribute(body, "ratio", 0.1);
    api_add_generic_named_attribute(body, "label", "Bolt M8\tx\xe9");
    api_add_generic_named_attribute(body, "title", L"Schraube \u00fc\u4e2d\U0001F600 \"q\"");
    api_add_generic_named_attribute(body, "where", pos(1.5, -2.25, 1e-300));
    api_add_generic_named_attribute(body, "up", SPAvector(0, 0, 1));
    api_add_generic_named_attribute(body, "partner", s.secondFace);

    s.freeFace = orik_make_free_face(TopoDS::Face(
        oriktest::faceWithHole().Moved(TopLoc_Location(placement(0.3, 1, gp_Vec(0, 0, 9))))));
    api_add_generic_named_attribute(s.freeFace, "Name", L"loose");
    const TopoDS_Wire wire =
        BRepBuilderAPI_MakePolygon(gp_Pnt(0, 0, 0), gp_Pnt(5, 0, 0), gp_Pnt(5, 5, 0)).Wire();
    s.freeWire = orik_make_free_wire(wire);
    ENTITY_LIST wireEdges;
    api_get_edges(s.freeWire, wireEdges);
    api_add_generic_named_attribute(wireEdges[1], "Name", "second edge");
    ENTITY* freeEdge =
        orik_make_free_edge(BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(0, 9, 0)));
    ENTITY* freeVertex = orik_make_free_vertex(BRepBuilderAPI_MakeVertex(gp_Pnt(4, 5, 6)));
    api_rh_set_entity_rgb(freeVertex, rgb_color(1, 1, 0));

    api_wcs_create(pos(1, 1, 1), pos(2, 1, 1), pos(1, 2, 1), s.wcs);
    api_add_generic_named_attribute(s.wcs, "Name", "origin");

    WCS* ownedWcs = nullptr;
    api_wcs_create(pos(0, 0, 0), pos(0, 1, 0), pos(0, 0, 1), ownedWcs);
    api_add_generic_named_attribute(ownedWcs, "value", 3.5);
    api_make_collection(s.collection);
    api_add_to_collection(s.collection, ownedWcs, TRUE);
    api_add_to_collection(s.collection, s.first, FALSE);
    api_add_generic_named_attribute(s.collection, "Name", "properties");

    for (ENTITY* e :
         {static_cast<ENTITY*>(s.collection), body, s.secondFace, static_cast<ENTITY*>(s.second),
          s.freeFace, s.freeWire, freeEdge, freeVertex, static_cast<ENTITY*>(s.wcs)}) {
        s.list.add(e);
    }
    return s;
}

// The bytes of a saved list (fails the test on error).
inline std::string saved(const ENTITY_LIST& list, bool binary) {
    std::string bytes;
    EXPECT_EQ(api_save_entity_list_to_bytes(list, binary, bytes).error_number(), ORIK_OK);
    return bytes;
}

// The files' checksum (64-bit FNV-1a), to write test files whose damage it cannot see.
inline uint64_t checksum(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// A text file's payload without its checksum line and geometry section.
inline std::string withoutGeometry(const std::string& text) {
    const size_t entities = text.find("\nentities ");
    return entities == std::string::npos ? text : text.substr(entities);
}

}  // namespace filestest
