#include <gtest/gtest.h>

#include <tamsg/sglGeode.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <memory>

TEST(UserData, CopiesKeepTheInertiaAxesAndOtherAxisIndicesGiveZero) {
    CTamUserData data;
    const sglVec3<float> axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    data.SetInertiaAxes(axes);
    data.SetLabel(L"L");
    std::unique_ptr<sglUserData> clone(data.clone());
    const auto* copy = dynamic_cast<const CTamUserData*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetInertiaAxis(1), sglVec3<float>(0, 1, 0));
    EXPECT_EQ(copy->GetInertiaAxis(3), sglVec3<float>());
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
