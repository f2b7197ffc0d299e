#include <gtest/gtest.h>

#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <memory>

TEST(UserData, CopiesKeepTheInertiaAxesAndLevelsOtherAxisIndicesGiveZero) {
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
    const CTamUserDataGeoset level(2);
    std::unique_ptr<sglUserData> levelCopy(level.clone());
    ASSERT_NE(dynamic_cast<CTamUserDataGeoset*>(levelCopy.get()), nullptr);
    EXPECT_EQ(dynamic_cast<CTamUserDataGeoset*>(levelCopy.get())->GetLevel(), 2u);
}
