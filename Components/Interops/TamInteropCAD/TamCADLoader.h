// CTamCADLoader: turns kernel entities into the host's scene graph, one object per load.
#pragma once

#include "TamInteropCADExport.h"

#include <tamsg/sglBoxBound.h>
#include <tamsg/sglMat4.h>
#include <tamsg/sglVec3.h>

#include <list>
#include <map>
#include <string>

class ENTITY;
class BODY;
class FACE;
class EDGE;
class WIRE;
class VERTEX;
class ENTITY_LIST;
class REFINEMENT;
class OrikOptions;
class KVXtransf;
class SPAposition;
class mass_props;

class sglNode;
class sglGroup;
class sglGeode;
class sglGeoSet;
class sglMonoIndexedTriangleStripSet;
class CTamDBRoot;

// The per-load converter from kernel entities to an sglGroup of geodes. It keeps the current
// attributes (name, layer, visibility, color, kind, mass properties) of the entity being converted,
// the kernel refinement used for all faceting and the maps that later level-of-detail passes need.
class TAMINTEROPCAD_API CTamCADLoader {
public:
    // A loader in its default state: no refinement yet, default color, not an assembly.
    CTamCADLoader();
    // Member-wise copy: maps are copied (same geode pointers), the refinement is shared.
    CTamCADLoader(const CTamCADLoader& other);
    // Member-wise assignment as for the copy; self-assignment changes nothing.
    CTamCADLoader& operator=(const CTamCADLoader& other);
    // Leaves the scene-graph nodes and the kernel refinement alone.
    virtual ~CTamCADLoader();

    // Sets the current layer name; the next top-level entity clears it again.
    void SetLayerName(const std::wstring& layerName);
    // Assembly mode: refinement from the assembly box, name counter running on across parts.
    void SetIsAssembly(bool isAssembly);
    // Whether free faces and sheet bodies also get the coarser level-of-detail passes.
    void SetCreateLODForFaces(bool createLODForFaces);
    // The assembly bounding box (empty until an assembly parser sets it).
    const sglBoxBound& GetBBoxAssembly() const;
    // Copies the box into the assembly bounding box.
    void SetBBoxAssembly(const sglBoxBound& box);

    // Builds a new part group for all entities of the list (one to five level-of-detail passes),
    // or returns null when the list is empty or the import is cancelled. The caller owns the group.
    // Progress after each entity: entities done over all passes / (entities x passes), rising
    // to exactly 1.0. The host's faceting settings are as before once it returns.
    sglGroup* ParseEntities(ENTITY_LIST& entities, const std::wstring& filePath);
    // Converts one top-level entity for pass lod (0 finest) and adds what it makes to parent;
    // nothing for a null parent.
    void ParseEntity(ENTITY* entity, sglGroup* parent, unsigned int lod);

    // Facets one face into a lit strip set in the current (or the face's own) color, tagged with
    // the pass number; stores the packed color used in packedColor when not null. Null when the
    // face is null, has no surface or facets into nothing. The caller owns the result.
    sglMonoIndexedTriangleStripSet* ParseFace(FACE* face, bool applyFaceColor, bool readFaceName,
                                              unsigned long* packedColor, unsigned int lod);

    // Adds the name/value pairs of a kernel collection's members to the group's metadata.
    // Nothing for a null group or an entity that is not a collection.
    static void UpdateMetaProperties(ENTITY* entity, sglGroup* group);
    // Stamps assembly name and label on copies of the user data of every geode below node.
    static void SetUserData(sglNode* node, const std::wstring& assemblyName,
                            const std::wstring& label);
    // Changes the user data of every geode below node in place: assembly name, label, layer -1.
    static void AddAssemblyNameToUserdata(sglNode* node, const std::wstring& assemblyName,
                                          const std::wstring& label);

    // Sets the kernel refinement from a bounding box and the host's tolerance settings; creates
    // the refinement on first use and updates it in place afterwards.
    void UpdateRefinement(sglBoxBound box);

    // Bounding box of the entities; the zero box when the list is empty or cannot be bounded.
    sglBoxBound GetBBox(ENTITY_LIST& entities) const;
    // Moves every geode below node into target, its accumulated placement baked into its
    // vertices. Nothing when either is null.
    static void TransformGeodeToGlobal(sglNode* node, sglGroup* target);
    // Flattens an "Assembly" root whose one child is "assembly-FreeParts" into one group of geodes
    // in world coordinates and drops the XML document; any other root is left alone.
    static void ChangeFreePartsStructure(CTamDBRoot* root);

    // Loads a kernel text file into a new model root (null scene root when nothing loaded).
    CTamDBRoot* loadOKT(const wchar_t* path);
    // Loads a kernel binary file into a new model root (null scene root when nothing loaded).
    CTamDBRoot* loadOKB(const wchar_t* path);
    // Reads a kernel file into a new entity list owned by the caller, or null.
    ENTITY_LIST* loadEntitiesOKB(const wchar_t* path) const;
    // Writes the entities to path in the format the path implies; false when the write failed.
    bool writeOKB(const std::wstring& path, const ENTITY_LIST* entities) const;
    // Routes a CAD file to the host registry's model loader for its type; the registry's result.
    static CTamDBRoot* LoadModelCAD(const wchar_t* path, unsigned int flags);
    // Routes a CAD file to the host registry's entity loader for its type; the registry's result.
    static ENTITY_LIST* LoadEntitiesCAD(const wchar_t* path, unsigned int flags);
    // Converts a CAD file into another format through the registry; true when written.
    static bool Translate(const wchar_t* sourcePath, const wchar_t* targetPath);
    // Converts a CAD file into every target (not null) and returns the scene graph of the source
    // in a new model root owned by the caller.
    static CTamDBRoot* TranslateInListFile(const std::wstring& sourcePath,
                                           std::list<std::wstring>* targetPaths);

private:
    // The sources call downward only: the walk (Walk) calls the body conversion (Body), both call
    // the free geodes of body mode (FreeGeometry), and all three call the shared helpers below
    // them (Geodes, Curves, Faces, MassProperties, Attributes, Refinement, Transforms), which
    // call no concern above them.

    // The entity walk.
    sglGroup* BuildPartGroup(ENTITY_LIST& entities, const std::wstring& filePath, sglGroup* group);
    void UpdatePassRefinement(ENTITY_LIST& entities, const std::wstring& filePath, unsigned int lod,
                              unsigned int passes);
    void ParsePassEntity(ENTITY* entity, sglGroup* group, unsigned int lod);
    void ParseTopLevelFace(FACE* face, sglGroup* parent, unsigned int lod);
    void ParseTopLevelVertex(VERTEX* vertex, sglGroup* parent);
    void ParseTopLevelCurve(ENTITY* curve, sglGroup* parent);

    // Bodies.
    void ParseBody(BODY* body, sglGroup* parent, unsigned int lod);
    void ParseBodyFaces(BODY* body, ENTITY_LIST& faces, sglGroup* parent, sglMat4<float>* matrix,
                        unsigned int lod);
    void ParseBodyFace(FACE* face, sglGeode* bodyGeode, sglGroup* parent, sglMat4<float>* matrix,
                       unsigned int lod);
    unsigned int ParseBodyCurves(BODY* body, ENTITY_LIST& curves, sglGroup* parent,
                                 sglMat4<float>* matrix);
    void AddCurveToBodyGeode(ENTITY* curve, sglGeode* curveGeode, sglGroup* parent,
                             sglMat4<float>* matrix);
    void AddCurveGeode(ENTITY* curve, sglGroup* parent, sglMat4<float>* matrix);
    void ParseBodyVertices(BODY* body, sglGroup* parent, sglMat4<float>* matrix);

    // Free faces, curves and points gathered per color in body mode.
    void AddToFreeFaces(FACE* face, sglGroup* parent, unsigned int lod);
    void AddFreeCurve(ENTITY* curve, sglGroup* parent);
    void AddToFreeWires(EDGE* edge, sglGroup* parent);
    void AddToFreeWires(WIRE* wire, sglGroup* parent);
    void AddToFreePoints(VERTEX* vertex, sglGroup* parent);
    sglGeode* FreeGeodeOfCurrentColor(std::map<unsigned long, sglGeode*>& geodes, sglGroup* parent);

    // Geodes of a walk: the entity-to-geode record, coarser strips onto the pass-0 geode.
    void RecordGeode(ENTITY* entity, sglGeode* geode);
    void AddStripsToFirstGeode(ENTITY* entity, sglGeoSet* strips) const;
    // A face's strips: in a coarser pass without geode, onto the face's pass-0 geode (null is
    // returned); else into geode, or into a new geode hung under parent (placed by matrix when
    // not null). Records and returns the geode that holds them.
    sglGeode* AddFaceStrips(FACE* face, sglMonoIndexedTriangleStripSet* strips, sglGeode* geode,
                            sglGroup* parent, sglMat4<float>* matrix, unsigned int lod);

    // Points and line strips of vertices, edges and wires.
    bool CurveToSgl(ENTITY* curve, sglGeode* geode);
    bool CurveStartToSgl(ENTITY* curve, sglGeode* geode);
    void OrikVertexToVec3f(const VERTEX* vertex, sglVec3<float>& point) const;
    bool OrikVertexToSgl(const VERTEX* vertex, sglGeode* geode);
    bool OrikVertexToSgl(const EDGE* edge, sglGeode* geode);
    bool OrikVertexToSgl(const WIRE* wire, sglGeode* geode);
    bool OrikEdgeToSgl(const EDGE* edge, sglGeode* geode);
    bool OrikWireToSgl(const WIRE* wire, sglGeode* geode);
    void AddPointSet(const sglVec3<float>& point, sglGeode* geode) const;
    void AddLineStrip(const SPAposition* samples, int count, sglGeode* geode) const;
    double EdgeSamplingTolerance(const EDGE* edge) const;

    // Faceting.
    sglMonoIndexedTriangleStripSet* FacetFace(FACE* face, bool applyFaceColor, bool readFaceName,
                                              unsigned long* packedColor, unsigned int lod);
    sglGeoSet* MeshFace(FACE* face);

    // Mass properties.
    void UpdateCurrentCofg(BODY* body);
    void StoreMassProperties(const mass_props& props);
    void MeasureArea(ENTITY* face, OrikOptions* options);

    // Current attributes: names, layers, colors and user data.
    void SetDefaultAttribs();
    unsigned long PackedCurrentColor() const;
    void UpdateCurrentNames(ENTITY* entity, bool isBody);
    void UpdateCurrentVisibility(ENTITY* entity);
    void UpdateCurrentLayer(ENTITY* entity);
    void UpdateCurrentColor(ENTITY* entity);
    void SetCurrentProperties(sglGeode* geode);
    std::wstring CurrentNodeName();
    void AddAreaToUserData(sglGeode* geode, const double& area) const;
    void AddLayerToUserData(sglGeode* geode, const std::wstring& layer) const;
    void AddLayerToUserData(const std::list<sglGeode*>& geodes, const std::wstring& layer) const;

    // Refinement.
    void UpdateRefinement(ENTITY_LIST& entities);

    // Transforms.
    void AddGeodeToGroup(sglGroup* group, sglGeode* geode, sglMat4<float>* matrix,
                         bool setProperties);
    static void TransfToSGLMatrix4(const KVXtransf& transf, sglMat4<float>& matrix);

    OrikOptions* m_pOptions;
    std::wstring m_strCurrentName;
    std::wstring m_strLayerName;
    std::wstring m_strBodyName;
    bool m_bVisible;
    std::wstring m_strFileName;
    unsigned int m_uiEntityKind;
    unsigned int m_uiNameCounter;
    double m_dColor[3];
    bool m_bIsAssembly;
    bool m_bCreateLODForFaces;
    REFINEMENT* m_pRefinement;
    double m_dVolume;
    double m_dArea;
    sglVec3<float> m_vCofG;
    sglVec3<float> m_vInertiaAxes[3];
    bool m_bSurfaceTolSet;
    std::map<unsigned long, sglGeode*> m_mapFreeFaces;
    std::map<unsigned long, sglGeode*> m_mapFreeWires;
    std::map<unsigned long, sglGeode*> m_mapFreePoints;
    std::map<ENTITY*, std::list<sglGeode*>> m_mapEntityGeodes;
    sglBoxBound m_bboxAssembly;
    bool m_bEdgeMeshed;
};
