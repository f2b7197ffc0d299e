#include <gtest/gtest.h>

#include <tamsg/tamsg.h>

#include "tracking.h"

using namespace tamtest;

namespace {

// transform(name "T", user data) -> geode(name "G") -> one point set.
sglTransform<float>* MakePlacedPart(sglPointSet* points, DeathCounter& records) {
    auto* transform = new sglTransform<float>;
    transform->setName(L"T");
    transform->setMatrix(sglMat4<float>::translation(sglVec3<float>(5, 0, 0)));
    transform->setUserData(new TrackedUserData(records));
    auto* geode = new sglGeode;
    geode->setName(L"G");
    geode->addGeometry(points);
    transform->addChild(geode, true);
    return transform;
}

}  // namespace

TEST(NodeClone, ModeThreeCopiesStructureSharesDrawablesShallowSharesChildrenLodKeepsRanges) {
    DeathCounter drawables;
    DeathCounter records;
    auto* points = new TrackedPointSet(drawables);
    points->setNumPrims(1);
    sglTransform<float>* original = MakePlacedPart(points, records);

    sglNode* copy = original->clone(3);
    auto* transform = dynamic_cast<sglTransform<float>*>(copy);
    ASSERT_NE(transform, nullptr);
    EXPECT_EQ(transform->getName(), L"T");
    EXPECT_EQ(transform->getMatrix(), original->getMatrix());
    EXPECT_FALSE(transform->isIdentity());
    ASSERT_NE(transform->getUserData(), nullptr);
    EXPECT_NE(transform->getUserData(), original->getUserData());
    auto* geode = dynamic_cast<sglGeode*>(transform->getChild(0));
    ASSERT_NE(geode, nullptr);
    EXPECT_NE(geode, original->getChild(0));
    EXPECT_EQ(geode->getName(), L"G");
    EXPECT_EQ(geode->getGeometry(0), points);
    EXPECT_EQ(points->getRefCount(), 2u);

    original->unref();
    EXPECT_EQ(drawables.deaths, 0);
    EXPECT_EQ(records.deaths, 1);
    copy->unref();
    EXPECT_EQ(drawables.deaths, 1);
    EXPECT_EQ(records.deaths, 2);
    // A shallow clone shares the children and leaves names and metadata behind.
    auto* group = new sglGroup;
    group->setName(L"A");
    group->addMetaProperty(L"k", L"v");
    auto* child = new sglGeode;
    group->addChild(child, true);

    copy = group->clone(0);
    auto* copyGroup = dynamic_cast<sglGroup*>(copy);
    ASSERT_NE(copyGroup, nullptr);
    EXPECT_TRUE(copyGroup->getName().empty());
    EXPECT_TRUE(copyGroup->getMetaProperties().empty());
    EXPECT_EQ(copyGroup->getChild(0), child);
    EXPECT_EQ(child->getRefCount(), 2u);
    group->unref();
    EXPECT_EQ(child->getRefCount(), 1u);
    copy->unref();

    auto* lod = new sglLOD;
    lod->setRange(0, 0.0f, 50.0f);
    lod->addMetaProperty(L"k", L"v");
    lod->addChild(new sglGeode, true);
    copy = lod->clone(3);
    auto* copyLod = dynamic_cast<sglLOD*>(copy);
    ASSERT_NE(copyLod, nullptr);
    float lo = 0, hi = 0;
    EXPECT_TRUE(copyLod->getRange(0, lo, hi));
    EXPECT_EQ(hi, 50.0f);
    EXPECT_EQ(copyLod->getMetaProperties().size(), 1u);
    EXPECT_EQ(copyLod->getNumChildren(), 1u);
    lod->unref();
    copy->unref();
}
