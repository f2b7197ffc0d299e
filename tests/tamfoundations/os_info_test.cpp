// Operating-system facts the assembly readers rely on.
#include <tamfoundations/CTamOSInfo.h>

#include <gtest/gtest.h>

TEST(CTamOSInfo, ReportsAnNTFamilySystem) {
    ASSERT_NE(CTamOSInfo::GetInstance(), nullptr);
    EXPECT_EQ(CTamOSInfo::GetInstance(), CTamOSInfo::GetInstance());
    EXPECT_TRUE(CTamOSInfo::GetInstance()->IsNT());
    EXPECT_FALSE(CTamOSInfo::GetInstance()->GetName().IsEmpty());
}
