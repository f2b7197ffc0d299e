// The per-color geodes that gather a part's free faces, curves and points in body mode.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/sglModelLoader.h>

#include "TamCADLoaderPrivate.h"

void CTamCADLoader::AddToFreeFaces(FACE* face, sglGroup* parent, unsigned int lod) {
    m_uiEntityKind = 2;
    unsigned long packedColor = tam_loader::kDefaultPackedColor;
    sglMonoIndexedTriangleStripSet* strips = ParseFace(face, true, true, &packedColor, lod);
    if (strips == nullptr)
        return;
    if (sglModelLoader::m_sbImportMassProperties) {
        try {
            MeasureArea(face, m_pOptions);
        } catch (const orik_exception&) {
            sglModelLoader::reportError(tam_loader::kMassPropertiesWarning, 0);
        }
    }
    if (lod > 0) {
        AddFaceStrips(face, strips, nullptr, parent, nullptr, lod);
        return;
    }
    // The first face of a color names the geode and starts its area.
    sglGeode*& geode = m_mapFreeFaces[packedColor];
    if (geode != nullptr)
        AddAreaToUserData(geode, m_dArea);
    geode = AddFaceStrips(face, strips, geode, parent, nullptr, lod);
}

void CTamCADLoader::AddToFreeWires(EDGE* edge, sglGroup* parent) {
    m_uiEntityKind = 5;
    sglGeode* geode = FreeGeodeOfCurrentColor(m_mapFreeWires, parent);
    if (OrikEdgeToSgl(edge, geode)) {
        RecordGeode(edge, geode);
        return;
    }
    // An edge that cannot be sampled is shown as its start point in a geode of its own.
    sglGeode* pointGeode = new sglGeode;
    OrikVertexToSgl(edge, pointGeode);
    AddGeodeToGroup(parent, pointGeode, nullptr, true);
    RecordGeode(edge->start() != nullptr ? static_cast<ENTITY*>(edge->start()) : edge, pointGeode);
}

void CTamCADLoader::AddToFreeWires(WIRE* wire, sglGroup* parent) {
    if (wire != nullptr && wire->first_edge() != nullptr)
        AddToFreeWires(wire->first_edge(), parent);
}

void CTamCADLoader::AddToFreePoints(VERTEX* vertex, sglGroup* parent) {
    m_uiEntityKind = 4;
    sglGeode* geode = FreeGeodeOfCurrentColor(m_mapFreePoints, parent);
    OrikVertexToSgl(vertex, geode);
    RecordGeode(vertex, geode);
}

sglGeode* CTamCADLoader::FreeGeodeOfCurrentColor(std::map<unsigned long, sglGeode*>& geodes,
                                                 sglGroup* parent) {
    sglGeode*& geode = geodes[PackedCurrentColor()];
    if (geode == nullptr) {
        geode = new sglGeode;
        AddGeodeToGroup(parent, geode, nullptr, true);
    }
    return geode;
}

void CTamCADLoader::AddFreeCurve(ENTITY* curve, sglGroup* parent) {
    if (is_EDGE(curve)) {
        AddToFreeWires(static_cast<EDGE*>(curve), parent);
        return;
    }
    AddToFreeWires(static_cast<WIRE*>(curve), parent);
}
