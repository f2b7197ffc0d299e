// Hanging geodes into groups, kernel transforms as host matrices, entity bounds and the
// flattening of a free-parts assembly.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamfoundations/CTamOptimizer.h>
#include <tamgeometry/CTamGeomTools.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamDBRoot.h>

#include <memory>

namespace {

// Names of the structure an assembly of loose parts is imported as.
constexpr const wchar_t* kAssemblyRootName = L"Assembly";
constexpr const wchar_t* kFreePartsName = L"assembly-FreeParts";

// The "assembly-FreeParts" group under an "Assembly" root with that one child, or null.
sglGroup* FreePartsGroup(const CTamDBRoot* root) {
    if (root == nullptr)
        return nullptr;
    const auto* assembly = dynamic_cast<const sglGroup*>(root->GetSglRoot());
    if (assembly == nullptr || assembly->getName() != kAssemblyRootName ||
        assembly->getNumChildren() != 1) {
        return nullptr;
    }
    auto* freeParts = dynamic_cast<sglGroup*>(assembly->getChild(0));
    if (freeParts == nullptr || freeParts->getName() != kFreePartsName)
        return nullptr;
    return freeParts;
}

}  // namespace

void CTamCADLoader::AddGeodeToGroup(sglGroup* group, sglGeode* geode, sglMat4<float>* matrix,
                                    bool setProperties) {
    if (setProperties)
        SetCurrentProperties(geode);
    if (matrix == nullptr) {
        group->addChild(geode, true);
        return;
    }
    auto* transform = new sglTransform<float>;
    transform->setMatrix(*matrix);
    transform->addChild(geode, true);
    group->addChild(transform, true);
}

void CTamCADLoader::TransfToSGLMatrix4(const KVXtransf& transf, sglMat4<float>& matrix) {
    const KVXmatrix& affine = transf.affine();
    const double scale = transf.scaling();
    for (unsigned int row = 0; row < 3; ++row) {
        for (unsigned int column = 0; column < 3; ++column)
            matrix(row, column) = static_cast<float>(scale * affine.element(row, column));
        matrix(row, 3) = 0.0f;
    }
    const SPAvector& translation = transf.translation();
    matrix(3, 0) = static_cast<float>(translation.x());
    matrix(3, 1) = static_cast<float>(translation.y());
    matrix(3, 2) = static_cast<float>(translation.z());
    matrix(3, 3) = 1.0f;
}

sglBoxBound CTamCADLoader::GetBBox(ENTITY_LIST& entities) const {
    sglBoxBound box{sglVec3<float>(), sglVec3<float>()};
    SPAposition low;
    SPAposition high;
    if (!api_get_entity_box(entities, nullptr, low, high, 0, m_pOptions).ok())
        return box;
    box.setMin(sglVec3<float>(static_cast<float>(low.x()), static_cast<float>(low.y()),
                              static_cast<float>(low.z())));
    box.setMax(sglVec3<float>(static_cast<float>(high.x()), static_cast<float>(high.y()),
                              static_cast<float>(high.z())));
    return box;
}

void CTamCADLoader::TransformGeodeToGlobal(sglNode* node, sglGroup* target) {
    if (node == nullptr || target == nullptr)
        return;
    if (auto* geode = dynamic_cast<sglGeode*>(node)) {
        const sglMat4<float> toWorld = CTamGeomTools::GetMatTransform(geode);
        CTamOptimizer optimizer;
        optimizer.TransformGeode(geode, toWorld, false);
        target->addChild(geode, true);
        return;
    }
    if (auto* group = dynamic_cast<sglGroup*>(node)) {
        // The count is read again after each child: the walk must see the group as it is now.
        for (unsigned int i = 0; i < group->getNumChildren(); ++i)
            TransformGeodeToGlobal(group->getChild(i), target);
    }
}

void CTamCADLoader::ChangeFreePartsStructure(CTamDBRoot* root) {
    sglGroup* freeParts = FreePartsGroup(root);
    if (freeParts == nullptr)
        return;
    auto* flat = new sglGroup;
    TransformGeodeToGlobal(freeParts, flat);
    root->SetSglRoot(flat);
    root->SetXMLDoc(std::shared_ptr<CTamXmlParserDocu>());
}
