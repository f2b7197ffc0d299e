// The loader object: construction, copying, settings and the reset of the current attributes.
#include "TamCADLoader.h"

#include "TamCADLoaderPrivate.h"

CTamCADLoader::CTamCADLoader()
    : m_pOptions(nullptr),
      m_bVisible(true),
      m_uiEntityKind(0),
      m_uiNameCounter(0),
      m_dColor{tam_loader::kDefaultRed, tam_loader::kDefaultGreen, tam_loader::kDefaultBlue},
      m_bIsAssembly(false),
      m_bCreateLODForFaces(true),
      m_pRefinement(nullptr),
      m_dVolume(-1.0),
      m_dArea(-1.0),
      m_bSurfaceTolSet(false),
      m_bEdgeMeshed(false) {}

CTamCADLoader::CTamCADLoader(const CTamCADLoader& other) = default;

CTamCADLoader& CTamCADLoader::operator=(const CTamCADLoader& other) = default;

CTamCADLoader::~CTamCADLoader() = default;

void CTamCADLoader::SetLayerName(const std::wstring& layerName) {
    m_strLayerName = layerName;
}

void CTamCADLoader::SetIsAssembly(bool isAssembly) {
    m_bIsAssembly = isAssembly;
}

void CTamCADLoader::SetCreateLODForFaces(bool createLODForFaces) {
    m_bCreateLODForFaces = createLODForFaces;
}

const sglBoxBound& CTamCADLoader::GetBBoxAssembly() const {
    return m_bboxAssembly;
}

void CTamCADLoader::SetBBoxAssembly(const sglBoxBound& box) {
    m_bboxAssembly = box;
}

void CTamCADLoader::SetDefaultAttribs() {
    m_dColor[0] = tam_loader::kDefaultRed;
    m_dColor[1] = tam_loader::kDefaultGreen;
    m_dColor[2] = tam_loader::kDefaultBlue;
    m_strCurrentName.clear();
    m_strLayerName.clear();
    m_strBodyName.clear();
    m_bVisible = true;
    m_dVolume = -1.0;
    m_dArea = -1.0;
    m_vCofG = sglVec3<float>();
    for (sglVec3<float>& axis : m_vInertiaAxes)
        axis = sglVec3<float>();
}

unsigned long CTamCADLoader::PackedCurrentColor() const {
    return tam_loader::PackColor(m_dColor);
}
