#include <gtest/gtest.h>

#include <tamsg/sglGeode.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <memory>

TEST(UserData, Defaults) {
    const CTamUserData data;
    EXPECT_TRUE(data.GetGuid().empty());
    EXPECT_EQ(data.GetLayer(), -1);
    EXPECT_EQ(data.GetVolume(), -1.0f);
    EXPECT_EQ(data.GetArea(), -1.0f);
    EXPECT_TRUE(data.GetIssuedFrom().empty());
    EXPECT_EQ(data.GetCofG(), sglVec3<float>());
    EXPECT_EQ(data.GetInertiaAxis(2), sglVec3<float>());
    EXPECT_EQ(data.GetEntityKind(), 0u);
    EXPECT_TRUE(data.GetVisible());
    EXPECT_EQ(data.GetFacetingTolerance(), CTamUserData::kToleranceUnset);
    EXPECT_TRUE(data.GetAssemblyName().empty());
    EXPECT_TRUE(data.GetLabel().empty());
    EXPECT_EQ(CTamUserDataGeoset().GetLevel(), 0u);
}

TEST(UserData, EveryItemIsKeptAndCopied) {
    CTamUserData data;
    data.SetGuid(L"G");
    data.SetLayer(12);
    data.SetVolume(3.5f);
    data.SetArea(5.0f);
    data.SetIssuedFrom(L"part.step");
    data.SetCofG(sglVec3<float>(1, 2, 3));
    const sglVec3<float> axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    data.SetInertiaAxes(axes);
    data.SetEntityKind(5);
    data.SetVisible(false);
    data.SetFacetingTolerance(0.25f);
    data.SetAssemblyName(L"Asm");
    data.SetLabel(L"L");

    std::unique_ptr<sglUserData> clone(data.clone());
    const auto* copy = dynamic_cast<const CTamUserData*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetGuid(), L"G");
    EXPECT_EQ(copy->GetLayer(), 12);
    EXPECT_EQ(copy->GetVolume(), 3.5f);
    EXPECT_EQ(copy->GetArea(), 5.0f);
    EXPECT_EQ(copy->GetIssuedFrom(), L"part.step");
    EXPECT_EQ(copy->GetCofG(), sglVec3<float>(1, 2, 3));
    EXPECT_EQ(copy->GetInertiaAxis(1), sglVec3<float>(0, 1, 0));
    EXPECT_EQ(copy->GetInertiaAxis(3), sglVec3<float>());
    EXPECT_EQ(copy->GetEntityKind(), 5u);
    EXPECT_FALSE(copy->GetVisible());
    EXPECT_EQ(copy->GetFacetingTolerance(), 0.25f);
    EXPECT_EQ(copy->GetAssemblyName(), L"Asm");
    EXPECT_EQ(copy->GetLabel(), L"L");
}

TEST(UserData, NodesTellRecordsApartAndOwnThem) {
    auto* geode = new sglGeode;
    geode->setUserData(new CTamUserDataGeoset(2));
    EXPECT_EQ(dynamic_cast<CTamUserData*>(geode->getUserData()), nullptr);
    auto* level = dynamic_cast<CTamUserDataGeoset*>(geode->getUserData());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->GetLevel(), 2u);
    std::unique_ptr<sglUserData> levelCopy(level->clone());
    EXPECT_EQ(dynamic_cast<CTamUserDataGeoset*>(levelCopy.get())->GetLevel(), 2u);

    auto* record = new CTamUserData;
    record->SetLabel(L"A");
    geode->setUserData(record);  // replaces and deletes the level record
    EXPECT_EQ(dynamic_cast<CTamUserData*>(geode->getUserData())->GetLabel(), L"A");
    geode->unref();
}
