#include <gtest/gtest.h>

#include <tamsg/sglGeode.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <memory>

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
