// Conversion of one body: its placement, its faces (one geode per face, or one per body in body
// mode) and, for bodies without faces, its edges, wires or vertices.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/sglModelLoader.h>

void CTamCADLoader::ParseBody(BODY* body, sglGroup* parent, unsigned int lod) {
    // Every geode of a placed body gets its own transform node with this matrix.
    sglMat4<float> matrix;
    sglMat4<float>* placement = nullptr;
    if (body->transform() != nullptr) {
        TransfToSGLMatrix4(*body->transform(), matrix);
        if (!matrix.isIdentity())
            placement = &matrix;
    }

    ENTITY_LIST faces;
    api_get_faces(body, faces, 0, m_pOptions).ignore();
    if (faces.count() > 0) {
        ParseBodyFaces(body, faces, parent, placement, lod);
        return;
    }
    if (lod > 0)
        return;

    // A body without faces shows its edges, else its wires, else its vertices.
    if (sglModelLoader::m_sbImportCurves) {
        ENTITY_LIST edges;
        api_get_edges(body, edges, 0, m_pOptions).ignore();
        if (ParseBodyCurves(body, edges, parent, placement) > 0)
            return;
        ENTITY_LIST wires;
        api_get_wires(body, wires, 0, m_pOptions).ignore();
        if (ParseBodyCurves(body, wires, parent, placement) > 0)
            return;
    }
    if (sglModelLoader::m_sbImportPoints)
        ParseBodyVertices(body, parent, placement);
}

void CTamCADLoader::ParseBodyFaces(BODY* body, ENTITY_LIST& faces, sglGroup* parent,
                                   sglMat4<float>* matrix, unsigned int lod) {
    const bool bodyMode = sglModelLoader::m_sbImportAsBodies;
    if (bodyMode && faces.count() == 1 && matrix == nullptr) {
        // A lone unplaced face is shown with the part's free faces of its color.
        if (lod == 0 || m_bCreateLODForFaces) {
            m_uiEntityKind = 2;
            AddToFreeFaces(static_cast<FACE*>(faces[0]), parent, lod);
        }
        return;
    }
    sglGeode* bodyGeode = nullptr;
    if (!bodyMode) {
        m_uiEntityKind = 2;
    } else {
        if (lod == 0) {
            bodyGeode = new sglGeode;
            AddGeodeToGroup(parent, bodyGeode, matrix, false);
            RecordGeode(body, bodyGeode);
        }
        m_uiEntityKind = is_closed_solid_body(body) == 1 ? 1 : 2;
        if (sglModelLoader::m_sbImportMassProperties)
            UpdateCurrentCofg(body);
        SetCurrentProperties(bodyGeode);
        if (lod > 0 && m_uiEntityKind == 2 && !m_bCreateLODForFaces)
            return;
    }
    for (int i = 0; i < faces.count(); ++i)
        ParseBodyFace(static_cast<FACE*>(faces[i]), bodyGeode, parent, matrix, lod);
}

void CTamCADLoader::ParseBodyFace(FACE* face, sglGeode* bodyGeode, sglGroup* parent,
                                  sglMat4<float>* matrix, unsigned int lod) {
    api_set_entity_refinement(face, m_pRefinement, TRUE, m_pOptions).ignore();
    unsigned long packedColor = 0;
    sglMonoIndexedTriangleStripSet* strips = ParseFace(face, true, false, &packedColor, lod);
    if (strips == nullptr)
        return;
    if (sglModelLoader::m_sbImportMassProperties) {
        MeasureArea(face, nullptr);
        if (bodyGeode != nullptr)
            AddAreaToUserData(bodyGeode, m_dArea);
    }
    AddFaceStrips(face, strips, bodyGeode, parent, matrix, lod);
}

unsigned int CTamCADLoader::ParseBodyCurves(BODY* body, ENTITY_LIST& curves, sglGroup* parent,
                                            sglMat4<float>* matrix) {
    const int count = curves.count();
    if (count == 0)
        return 0;
    m_uiEntityKind = 5;
    const bool bodyMode = sglModelLoader::m_sbImportAsBodies;
    if (bodyMode && count == 1 && matrix == nullptr) {
        AddFreeCurve(curves[0], parent);
        return 1;
    }
    sglGeode* curveGeode = nullptr;
    if (bodyMode) {
        curveGeode = new sglGeode;
        SetCurrentProperties(curveGeode);
    }
    for (int i = 0; i < count; ++i) {
        if (curveGeode != nullptr)
            AddCurveToBodyGeode(curves[i], curveGeode, parent, matrix);
        else
            AddCurveGeode(curves[i], parent, matrix);
    }
    if (curveGeode != nullptr) {
        AddGeodeToGroup(parent, curveGeode, matrix, false);
        RecordGeode(body, curveGeode);
    }
    return static_cast<unsigned int>(count);
}

void CTamCADLoader::AddCurveToBodyGeode(ENTITY* curve, sglGeode* curveGeode, sglGroup* parent,
                                        sglMat4<float>* matrix) {
    if (CurveToSgl(curve, curveGeode)) {
        RecordGeode(curve, curveGeode);
        return;
    }
    // A curve that cannot be sampled is shown as its start point in a geode of its own.
    sglGeode* pointGeode = new sglGeode;
    CurveStartToSgl(curve, pointGeode);
    AddGeodeToGroup(parent, pointGeode, matrix, true);
    RecordGeode(curve, pointGeode);
}

void CTamCADLoader::AddCurveGeode(ENTITY* curve, sglGroup* parent, sglMat4<float>* matrix) {
    sglGeode* geode = new sglGeode;
    if (!CurveToSgl(curve, geode))
        CurveStartToSgl(curve, geode);
    AddGeodeToGroup(parent, geode, matrix, true);
    RecordGeode(curve, geode);
}

void CTamCADLoader::ParseBodyVertices(BODY* body, sglGroup* parent, sglMat4<float>* matrix) {
    ENTITY_LIST vertices;
    api_get_vertices(body, vertices, 0, m_pOptions).ignore();
    if (vertices.count() == 0)
        return;
    m_uiEntityKind = 4;
    for (int i = 0; i < vertices.count(); ++i) {
        sglGeode* geode = new sglGeode;
        OrikVertexToSgl(static_cast<VERTEX*>(vertices[i]), geode);
        AddGeodeToGroup(parent, geode, matrix, true);
        RecordGeode(vertices[i], geode);
    }
}
