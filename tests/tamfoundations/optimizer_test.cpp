// Merging a part into one actor and baking placements into geodes.
#include <tamfoundations/CTamOptimizer.h>

#include <tamsg/sglGroup.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>

#include "foundations_test_support.h"

#include <gtest/gtest.h>

namespace {

sglTransform<float>* Translated(float x, float y, float z, sglNode* child) {
    auto* transform = new sglTransform<float>;
    transform->setMatrix(sglMat4<float>::translation(sglVec3<float>(x, y, z)));
    transform->addChild(child, true);
    return transform;
}

// A referenced group holding the nodes.
sglGroup* Part(std::initializer_list<sglNode*> children) {
    auto* part = new sglGroup;
    part->ref();
    for (sglNode* child : children)
        part->addChild(child, true);
    return part;
}

CTamUserData* Record(float area) {
    auto* record = new CTamUserData;
    record->SetArea(area);
    record->SetIssuedFrom(L"part.okt");
    return record;
}

}  // namespace

TEST(FactorizeGraph, GeodesOfOneMaterialBecomeOneDrawableWithPlacementsBakedIn) {
    sglGeode* left = tamtest::MakeGeode(L"left", {tamtest::MakeQuad(0, 1, 0, 0)});
    left->setUserData(Record(2.0f));
    sglGeode* right = tamtest::MakeGeode(L"right", {tamtest::MakeQuad(0, 1, 0, 0)});
    right->setUserData(Record(3.0f));
    sglGroup* part = Part({left, Translated(10, 0, 0, right)});
    part->addMetaProperty(L"Material", L"Steel");
    CTamOptimizer optimizer;
    sglGroup* actor = optimizer.FactorizeGraph(part, L"Bracket");
    ASSERT_EQ(actor, part);  // a plain group is refilled in place
    EXPECT_EQ(actor->getName(), L"Bracket");
    EXPECT_EQ(actor->getMetaProperties().size(), 1u);
    ASSERT_EQ(actor->getNumChildren(), 1u);
    auto* geode = dynamic_cast<sglGeode*>(actor->getChild(0));
    ASSERT_NE(geode, nullptr);
    EXPECT_EQ(geode->getName(), L"Bracket");
    ASSERT_EQ(geode->getNumGeometries(), 1u);
    auto* strips = dynamic_cast<sglMonoIndexedTriangleStripSet*>(geode->getGeometry(0));
    ASSERT_NE(strips, nullptr);
    EXPECT_TRUE(strips->isValid());
    EXPECT_EQ(strips->getNumPrims(), 2u);
    EXPECT_EQ(strips->getNumCoords(), 8u);
    EXPECT_EQ(strips->getCoord(5), sglVec3<float>(11, 0, 0));
    EXPECT_EQ(strips->getIndices()[4], 4u);
    EXPECT_EQ(strips->getNumNormals(), 8u);
    EXPECT_EQ(strips->getState(0).size(), 2u);
    auto* record = dynamic_cast<CTamUserData*>(geode->getUserData());
    ASSERT_NE(record, nullptr);
    EXPECT_FLOAT_EQ(record->GetArea(), 5.0f);
    EXPECT_EQ(record->GetIssuedFrom(), L"part.okt");
    part->unref();
}

TEST(FactorizeGraph, OneGeodePerLookAndOneDrawablePerKindInvalidDrawablesDropped) {
    auto* broken = new sglMonoIndexedTriangleStripSet;
    broken->setNumPrims(3);  // no lists at all
    sglGroup* part = Part({tamtest::MakeGeode(L"a", {tamtest::MakeQuad(0, 1, 0, 0)}),
                           tamtest::MakeGeode(L"b", {tamtest::MakeQuad(2, 0, 0, 1)}),
                           tamtest::MakeGeode(L"c", {tamtest::MakeQuad(4, 1, 0, 0)}),
                           tamtest::MakeGeode(L"lines", {tamtest::MakeLine(), tamtest::MakeLine()}),
                           tamtest::MakeGeode(L"broken", {broken, new sglPointSet})});
    sglGroup* actor = CTamOptimizer().FactorizeGraph(part, L"");
    // Red faces, blue faces, red lines, and the empty point set, which is valid.
    ASSERT_EQ(actor->getNumChildren(), 4u);
    auto* red = dynamic_cast<sglGeode*>(actor->getChild(0));
    EXPECT_EQ(red->getGeometry(0)->getNumPrims(), 2u);
    auto* lines = dynamic_cast<sglGeode*>(actor->getChild(2));
    ASSERT_EQ(lines->getNumGeometries(), 1u);
    auto* merged = dynamic_cast<sglLineStripSet*>(lines->getGeometry(0));
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->getNumPrims(), 2u);
    EXPECT_EQ(merged->getNumCoords(), 4u);
    EXPECT_EQ(merged->getNumColors(), 1u);
    EXPECT_TRUE(merged->isValid());
    part->unref();
}

TEST(FactorizeGraph, LevelsStayLevelsOfDetailOtherNodesGiveANewGroupAndStayUntouched) {
    sglGroup* part =
        Part({tamtest::MakeGeode(
                  L"a", {tamtest::MakeQuad(0, 1, 0, 0, 0), tamtest::MakeQuad(0, 1, 0, 0, 1)}),
              tamtest::MakeGeode(
                  L"b", {tamtest::MakeQuad(3, 1, 0, 0, 0), tamtest::MakeQuad(3, 1, 0, 0, 1)})});
    sglGroup* actor = CTamOptimizer().FactorizeGraph(part, L"P");
    ASSERT_EQ(actor->getNumChildren(), 1u);
    auto* lod = dynamic_cast<sglLOD*>(actor->getChild(0));
    ASSERT_NE(lod, nullptr);
    ASSERT_EQ(lod->getNumChildren(), 2u);
    auto* coarse = dynamic_cast<sglGeode*>(lod->getChild(1));
    ASSERT_EQ(coarse->getNumGeometries(), 1u);
    EXPECT_EQ(coarse->getGeometry(0)->getNumPrims(), 2u);
    part->unref();
    // Other nodes give a new group and stay untouched.
    auto* transform =
        Translated(0, 0, 5, tamtest::MakeGeode(L"g", {tamtest::MakeQuad(0, 1, 1, 1)}));
    transform->ref();
    transform->addMetaProperty(L"k", L"v");
    transform->setName(L"placed");
    actor = CTamOptimizer().FactorizeGraph(transform, L"");
    ASSERT_NE(actor, transform);
    actor->ref();
    EXPECT_EQ(actor->getName(), L"placed");
    EXPECT_EQ(actor->getMetaProperties().size(), 1u);
    EXPECT_EQ(transform->getNumChildren(), 1u);
    auto* geode = dynamic_cast<sglGeode*>(actor->getChild(0));
    EXPECT_EQ(geode->getGeometry(0)->getCoord(0), sglVec3<float>(0, 0, 5));
    actor->unref();
    transform->unref();
    EXPECT_EQ(CTamOptimizer().FactorizeGraph(nullptr, L"x"), nullptr);
}

TEST(TransformGeode, MovesSharedDrawablesInPlaceOrBakesIntoACopyWithNormalsAndMassProperties) {
    sglMonoIndexedTriangleStripSet* shared = tamtest::MakeQuad(0, 1, 0, 0);
    sglGeode* geode = tamtest::MakeGeode(L"g", {shared});
    sglGeode* second = tamtest::MakeGeode(L"b", {shared});
    geode->ref();
    second->ref();
    CTamOptimizer().TransformGeode(second, sglMat4<float>::translation({0, 0, 1}), true);
    EXPECT_EQ(second->getGeometry(0), shared);
    EXPECT_EQ(shared->getCoord(0), sglVec3<float>(0, 0, 1));

    auto* record = new CTamUserData;
    record->SetCofG(sglVec3<float>(1, 0, 0));
    geode->setUserData(record);
    const float turnAboutZ[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    sglMat4<float> matrix(turnAboutZ);
    matrix(3, 2) = 4;
    EXPECT_TRUE(CTamOptimizer().TransformGeode(geode, matrix, false));
    const sglGeoSet* set = geode->getGeometry(0);
    EXPECT_NE(set, shared);
    EXPECT_EQ(set->getCoord(1), sglVec3<float>(0, 1, 5));
    EXPECT_NEAR(set->getNormals()[2], 1.0f, 1e-6f);
    EXPECT_EQ(record->GetCofG(), sglVec3<float>(0, 1, 4));
    EXPECT_EQ(shared->getCoord(0), sglVec3<float>(0, 0, 1));
    EXPECT_FALSE(CTamOptimizer().TransformGeode(nullptr, matrix, false));
    geode->unref();
    second->unref();
}
