// The entity walk: level-of-detail passes over an entity list and the conversion of one
// top-level entity (face, vertex, wire, edge or body) into geodes.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <platform/CodePage.h>
#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamOptimizer.h>
#include <tamgeometry/CTamGeomTools.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/CTamLog.h>
#include <tamsgdb/sglModelLoader.h>

#include <algorithm>
#include <cwchar>
#include <exception>
#include <string>

namespace {

constexpr unsigned int kMaxLevelsOfDetail = 5;

// The host's faceting values scaled for one pass. Saves them on construction and puts them
// back on destruction, so the host settings are unchanged once the pass's refinement is set.
class ScaledRefinementSettings {
public:
    ScaledRefinementSettings()
        : m_refinement(sglModelLoader::m_fRefinement),
          m_chordalError(sglModelLoader::m_fChordalErrorValue),
          m_normalDeviation(sglModelLoader::m_fNormalDeviationValue),
          m_edgeLength(sglModelLoader::m_fEdgeLengthValue) {}
    ~ScaledRefinementSettings() {
        sglModelLoader::m_fRefinement = m_refinement;
        sglModelLoader::m_fChordalErrorValue = m_chordalError;
        sglModelLoader::m_fNormalDeviationValue = m_normalDeviation;
        sglModelLoader::m_fEdgeLengthValue = m_edgeLength;
    }
    ScaledRefinementSettings(const ScaledRefinementSettings&) = delete;
    ScaledRefinementSettings& operator=(const ScaledRefinementSettings&) = delete;

    // Coarser values for pass lod (> 0) of passes: the slider divided by lod + 1, the chordal
    // error and edge length multiplied by it, the normal deviation raised towards 60 degrees.
    static void Scale(unsigned int lod, unsigned int passes) {
        const float factor = static_cast<float>(lod + 1);
        sglModelLoader::m_fRefinement /= factor;
        if (sglModelLoader::m_sbSetChordalError)
            sglModelLoader::m_fChordalErrorValue *= factor;
        if (sglModelLoader::m_sbSetNormalDeviation) {
            float& deviation = sglModelLoader::m_fNormalDeviationValue;
            if (deviation <= 40.0f) {
                deviation =
                    static_cast<float>(deviation + lod * ((60.0 - deviation) / (passes - 1)));
            } else {
                deviation = std::min(factor * deviation, 180.0f);
            }
        }
        if (sglModelLoader::m_sbSetEdgeLength)
            sglModelLoader::m_fEdgeLengthValue *= factor;
    }

private:
    float m_refinement;
    float m_chordalError;
    float m_normalDeviation;
    float m_edgeLength;
};

// Progress over all passes: entities done divided by (entities x passes), so the host's bar
// rises monotonically and reaches exactly 1.0 after the last entity of the last pass.
class WalkProgress {
public:
    WalkProgress(int entities, unsigned int passes)
        : m_total(static_cast<float>(entities) * static_cast<float>(passes)) {}
    void EntityDone() {
        ++m_done;
        if (sglModelLoader::s_callbackProgress != nullptr)
            sglModelLoader::s_callbackProgress(m_done / m_total, nullptr);
    }

private:
    float m_total;
    float m_done = 0.0f;
};

// Clamps the host's level-of-detail count to 1..5 and writes the clamped value back.
unsigned int ClampLevelsOfDetail() {
    unsigned int& passes = sglModelLoader::m_suiNbLOD;
    passes = std::min(std::max(passes, 1u), kMaxLevelsOfDetail);
    return passes;
}

void LogEntityCount(int count) {
    wchar_t line[96];
    std::swprintf(line, sizeof(line) / sizeof(line[0]),
                  L"ParseEntities() Number of read entities %d", count);
    gTamLog.WriteInfos(line, true, false);
}

}  // namespace

sglGroup* CTamCADLoader::ParseEntities(ENTITY_LIST& entities, const std::wstring& filePath) {
    if (sglModelLoader::m_sbCancelImport)
        return nullptr;
    LogEntityCount(entities.count());
    if (entities.count() == 0)
        return nullptr;
    m_strFileName = filePath;
    if (!m_bIsAssembly)
        m_uiNameCounter = 0;
    sglGroup* group = new sglGroup;
    try {
        group = BuildPartGroup(entities, filePath, group);
    } catch (const std::exception& failure) {
        // Only resource exhaustion can get here (the kernel traps its own failures).
        sglModelLoader::reportError(L"*** ERROR ***  " + tam::ToWide(failure.what()), 0);
        group->unref();
        group = nullptr;
    }
    return group;
}

sglGroup* CTamCADLoader::BuildPartGroup(ENTITY_LIST& entities, const std::wstring& filePath,
                                        sglGroup* group) {
    if (!m_bIsAssembly) {
        UpdateRefinement(entities);
    } else if (sglModelLoader::m_suiNbLOD > 1 && !m_bboxAssembly.isEmpty()) {
        UpdateRefinement(m_bboxAssembly);
    }
    m_mapFreeFaces.clear();
    m_mapFreeWires.clear();
    m_mapFreePoints.clear();
    // Geodes of an earlier walk may be gone with their group, and the kernel reuses the
    // addresses of deleted entities: a later pass must only find geodes of this walk.
    m_mapEntityGeodes.clear();
    const unsigned int passes = ClampLevelsOfDetail();
    m_bEdgeMeshed = false;
    WalkProgress progress(entities.count(), passes);
    for (unsigned int lod = 0; lod < passes; ++lod) {
        if (lod > 0)
            UpdatePassRefinement(entities, filePath, lod, passes);
        for (int i = 0; i < entities.count(); ++i) {
            // A cancel request stops the walk between entities; nothing half-built is returned.
            if (sglModelLoader::m_sbCancelImport) {
                group->unref();
                return nullptr;
            }
            ParsePassEntity(entities[i], group, lod);
            progress.EntityDone();
        }
    }
    if (passes > 1)
        CTamGeomTools::AddLODToSceneGraph(group);
    if (!sglModelLoader::m_sbMergeFileInOneActor)
        return group;
    CTamOptimizer optimizer;
    return optimizer.FactorizeGraph(group, CTamIO::GetFileBase(m_strFileName, true));
}

void CTamCADLoader::UpdatePassRefinement(ENTITY_LIST& entities, const std::wstring& filePath,
                                         unsigned int lod, unsigned int passes) {
    ScaledRefinementSettings restoreAfterUpdate;
    ScaledRefinementSettings::Scale(lod, passes);
    if (!m_bIsAssembly) {
        UpdateRefinement(entities);
        return;
    }
    // Edges sampled in pass 0 of such parts keep the refinement they were sampled with.
    CString extension = CTamIO::GetFileExtension(filePath, false);
    extension.MakeLower();
    const bool keepRefinement = extension == L"mrxpart" && m_bEdgeMeshed;
    if (!keepRefinement)
        UpdateRefinement(m_bboxAssembly);
}

void CTamCADLoader::ParsePassEntity(ENTITY* entity, sglGroup* group, unsigned int lod) {
    // A coarser pass must not find the finer facets of the previous one.
    if (lod > 0)
        api_delete_entity_facets(entity, TRUE, m_pOptions).ignore();
    ParseEntity(entity, group, lod);
}

void CTamCADLoader::ParseEntity(ENTITY* entity, sglGroup* parent, unsigned int lod) {
    if (parent == nullptr)
        return;
    m_uiEntityKind = 0;
    api_set_entity_refinement(entity, m_pRefinement, TRUE, m_pOptions).ignore();
    SetDefaultAttribs();
    UpdateCurrentNames(entity, is_BODY(entity) != FALSE);
    UpdateCurrentVisibility(entity);
    UpdateCurrentColor(entity);
    if (sglModelLoader::m_sbImportMetas)
        UpdateMetaProperties(entity, parent);

    if (is_FACE(entity)) {
        ParseTopLevelFace(static_cast<FACE*>(entity), parent, lod);
    } else if (is_VERTEX(entity)) {
        if (sglModelLoader::m_sbImportPoints && lod == 0)
            ParseTopLevelVertex(static_cast<VERTEX*>(entity), parent);
    } else if (is_WIRE(entity) || is_EDGE(entity)) {
        if (sglModelLoader::m_sbImportCurves && lod == 0)
            ParseTopLevelCurve(entity, parent);
    } else if (is_BODY(entity)) {
        ParseBody(static_cast<BODY*>(entity), parent, lod);
    }
}

void CTamCADLoader::ParseTopLevelFace(FACE* face, sglGroup* parent, unsigned int lod) {
    if (sglModelLoader::m_sbImportAsBodies) {
        if (lod == 0 || m_bCreateLODForFaces)
            AddToFreeFaces(face, parent, lod);
        return;
    }
    m_uiEntityKind = 2;
    unsigned long packedColor = 0;
    sglMonoIndexedTriangleStripSet* strips = ParseFace(face, true, true, &packedColor, lod);
    if (strips == nullptr)
        return;
    if (lod == 0 && sglModelLoader::m_sbImportMassProperties)
        MeasureArea(face, m_pOptions);
    AddFaceStrips(face, strips, nullptr, parent, nullptr, lod);
}

void CTamCADLoader::ParseTopLevelVertex(VERTEX* vertex, sglGroup* parent) {
    sglGeode* geode = new sglGeode;
    OrikVertexToSgl(vertex, geode);
    AddGeodeToGroup(parent, geode, nullptr, true);
    RecordGeode(vertex, geode);
}

void CTamCADLoader::ParseTopLevelCurve(ENTITY* curve, sglGroup* parent) {
    if (sglModelLoader::m_sbImportAsBodies) {
        AddFreeCurve(curve, parent);
        return;
    }
    sglGeode* geode = new sglGeode;
    if (!CurveToSgl(curve, geode))
        CurveStartToSgl(curve, geode);
    AddGeodeToGroup(parent, geode, nullptr, true);
    RecordGeode(curve, geode);
}
