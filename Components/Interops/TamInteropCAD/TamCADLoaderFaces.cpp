// Face tessellation: the kernel facets a face into the library's mesh manager, whose blocks
// become a lit, colored triangle strip set.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamgeometry/CTamBBox.h>
#include <tamgeometry/CTamGeomTools.h>
#include <tamkernel/CTamPreferences.h>
#include <tamsg/sglLighting.h>
#include <tamsg/sglMaterial.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamsgdb/sglModelLoader.h>

#include <algorithm>
#include <exception>
#include <memory>

#include "TamCADLoaderPrivate.h"
#include "TamCADTools.h"
#include "mesh_manager.h"

namespace {

constexpr float kShininess = 64.0f;

// Installs a mesh manager in the kernel for the lifetime of this object and puts the
// previous one back afterwards, whatever happens in between.
class InstalledMeshManager {
public:
    InstalledMeshManager(MESH_MANAGER* manager, OrikOptions* options) {
        api_get_mesh_manager(m_previous).ignore();
        api_set_mesh_manager(manager, options).ignore();
    }
    ~InstalledMeshManager() { api_set_mesh_manager(m_previous, nullptr).ignore(); }
    InstalledMeshManager(const InstalledMeshManager&) = delete;
    InstalledMeshManager& operator=(const InstalledMeshManager&) = delete;

private:
    MESH_MANAGER* m_previous = nullptr;
};

bool TessellationCheckOn() {
    return GetTamPreferences()->GetIOCheckTesselation();
}

sglBoxBound ToBoxBound(const SPAbox& box) {
    const SPAposition& low = box.low();
    const SPAposition& high = box.high();
    return sglBoxBound(sglVec3<float>(static_cast<float>(low.x()), static_cast<float>(low.y()),
                                      static_cast<float>(low.z())),
                       sglVec3<float>(static_cast<float>(high.x()), static_cast<float>(high.y()),
                                      static_cast<float>(high.z())));
}

// Hands the manager's four blocks over to a new strip set (the set frees them from now on).
sglMonoIndexedTriangleStripSet* StripSetFromBlocks(const TAM_MESH_MANAGER& manager) {
    auto* strips = new sglMonoIndexedTriangleStripSet;
    strips->setNumPrims(manager.GetStripCount());
    strips->setCoordList(new sglFreeableDataPtr(manager.GetPositions()), SGL_FLOAT, 3, 0, 0);
    strips->setIndexList(new sglFreeableDataPtr(manager.GetIndices()), 0, 0);
    strips->setPrimLengths(new sglFreeableDataPtr(manager.GetStripLengths()), 0, 0);
    strips->setNormalList(SGL_BIND_PER_VERTEX, new sglFreeableDataPtr(manager.GetNormals()),
                          SGL_FLOAT, 0, 0);
    return strips;
}

// Has the host remove the triangles outside the face's box; returns the set to go on with.
sglMonoIndexedTriangleStripSet* ClipToBox(sglMonoIndexedTriangleStripSet* strips,
                                          const sglBoxBound& clipBox) {
    sglMonoIndexedTriangleStripSet* clipped = nullptr;
    CTamGeomTools::RemoveTrianglesOutOfBox(strips, clipped, CTamBBox(clipBox));
    if (clipped == nullptr)
        return strips;
    strips->ref();
    strips->unref();
    return clipped;
}

// The face's drawing state: its color as diffuse on both sides, white highlights, lighting on.
void SetFaceState(sglMonoIndexedTriangleStripSet& strips, const double rgb[3]) {
    auto* material = new sglMaterial;
    material->setDiffuse(SGL_FRONT_AND_BACK, static_cast<float>(rgb[0]), static_cast<float>(rgb[1]),
                         static_cast<float>(rgb[2]));
    material->setSpecular(SGL_FRONT_AND_BACK, 1.0f, 1.0f, 1.0f);
    material->setShininess(SGL_FRONT_AND_BACK, kShininess);
    strips.setState(0, {material, new sglLighting(true)});
}

}  // namespace

sglMonoIndexedTriangleStripSet* CTamCADLoader::ParseFace(FACE* face, bool applyFaceColor,
                                                         bool readFaceName,
                                                         unsigned long* packedColor,
                                                         unsigned int lod) {
    if (face == nullptr || face->geometry() == nullptr)
        return nullptr;
    const double savedColor[3] = {m_dColor[0], m_dColor[1], m_dColor[2]};
    sglMonoIndexedTriangleStripSet* strips = nullptr;
    api_bb_begin();
    try {
        strips = FacetFace(face, applyFaceColor, readFaceName, packedColor, lod);
    } catch (const std::exception&) {
        // The face is abandoned; a strip set already complete is kept.
    }
    if (applyFaceColor)
        std::copy(savedColor, savedColor + 3, m_dColor);
    api_bb_end().ignore();
    return strips;
}

sglMonoIndexedTriangleStripSet* CTamCADLoader::FacetFace(FACE* face, bool applyFaceColor,
                                                         bool readFaceName,
                                                         unsigned long* packedColor,
                                                         unsigned int lod) {
    if (readFaceName)
        UpdateCurrentNames(face, false);
    if (applyFaceColor)
        UpdateCurrentColor(face);
    // A face the kernel cannot copy is damaged: reported, and not faceted.
    ENTITY* probe = nullptr;
    if (!CTamCADTools::check_api_outcome(api_down_copy_entity(face, probe, m_pOptions)))
        return nullptr;
    api_delent(probe, m_pOptions).ignore();

    auto* strips = static_cast<sglMonoIndexedTriangleStripSet*>(MeshFace(face));
    if (strips == nullptr)
        return nullptr;
    strips->setUserData(new CTamUserDataGeoset(lod));
    if (packedColor != nullptr)
        *packedColor = PackedCurrentColor();
    return strips;
}

sglGeoSet* CTamCADLoader::MeshFace(FACE* face) {
    std::unique_ptr<TAM_MESH_MANAGER> manager(new TAM_MESH_MANAGER);
    {
        InstalledMeshManager installed(manager.get(), m_pOptions);
        facet_options_expert facetOptions;
        if (sglModelLoader::m_sbFennelUseORIKmodeler) {
            // Faceting pinned to a known kernel behaviour version.
            std::unique_ptr<OrikOptions> pinned(new OrikOptions);
            pinned->set_version(OrikVersion(19, 3, 0));
            api_facet_entity(face, &facetOptions, pinned.get()).ignore();
        } else {
            api_facet_entity(face, &facetOptions, m_pOptions).ignore();
        }
    }
    const bool checkTessellation = TessellationCheckOn();
    if (checkTessellation && face->bound() != nullptr)
        manager->SetClipBox(ToBoxBound(*face->bound()));

    sglMonoIndexedTriangleStripSet* strips = StripSetFromBlocks(*manager);
    if (checkTessellation && !manager->GetClipBox().isEmpty())
        strips = ClipToBox(strips, manager->GetClipBox());
    if (strips->getNumPrims() == 0) {
        strips->ref();
        strips->unref();
        return nullptr;
    }
    SetFaceState(*strips, m_dColor);
    return strips;
}
