#include <gtest/gtest.h>

#include <platform/WideNumbers.h>

#include <climits>

TEST(WideNumbers, WtofAndWtolReadTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(_wtof(L"1.5"), 1.5);
    EXPECT_DOUBLE_EQ(_wtof(L"  -2.25e2xyz"), -225.0);
    EXPECT_DOUBLE_EQ(_wtof(L"abc"), 0.0);
    EXPECT_DOUBLE_EQ(_wtof(L""), 0.0);
    EXPECT_DOUBLE_EQ(_wtof(nullptr), 0.0);
    // The integer reader stops at the first non-digit and clamps.
    EXPECT_EQ(_wtol(L"12abc"), 12);
    EXPECT_EQ(_wtol(L"0"), 0);
    EXPECT_EQ(_wtol(L"-7"), -7);
    EXPECT_EQ(_wtol(L"abc"), 0);
    EXPECT_EQ(_wtol(nullptr), 0);
    EXPECT_EQ(_wtol(L"99999999999999999999999"), LONG_MAX);
}
