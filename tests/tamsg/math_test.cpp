#include <gtest/gtest.h>

#include <tamsg/tamsg.h>

#include <vector>

TEST(Mat4, RowMajorTranslationInRowThreeProductsLeftFirstInverseUndoesSingularFails) {
    sglMat4<float> m = sglMat4<float>::translation(sglVec3<float>(1, 2, 3));
    EXPECT_EQ((std::vector<float>{m[12], m[13], m[14]}), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(m(3, 2), m[4 * 3 + 2]);
    EXPECT_EQ(m.getTranslation(), sglVec3<float>(1, 2, 3));
    EXPECT_EQ(m.transformPoint(sglVec3<float>(1, 1, 1)), sglVec3<float>(2, 3, 4));
    EXPECT_EQ(m.transformVector(sglVec3<float>(1, 1, 1)), sglVec3<float>(1, 1, 1));
    EXPECT_FALSE(m.isIdentity());
    EXPECT_TRUE(sglMat4<float>().isIdentity());
    // A product applies its left operand first.
    sglMat4<float> scale;
    scale(0, 0) = scale(1, 1) = scale(2, 2) = 2.0f;
    const sglMat4<float> move = sglMat4<float>::translation(sglVec3<float>(1, 0, 0));
    const sglVec3<float> p(1, 0, 0);
    EXPECT_EQ((scale * move).transformPoint(p), sglVec3<float>(3, 0, 0));
    EXPECT_EQ((move * scale).transformPoint(p), sglVec3<float>(4, 0, 0));
    sglMat4<double> d;
    d(0, 1) = 0.5;
    d(2, 2) = 4.0;
    d(3, 0) = -7.0;
    sglMat4<double> inverse;
    ASSERT_TRUE(d.invert(inverse));
    const sglMat4<double> product = d * inverse;
    for (unsigned int i = 0; i < 16; ++i)
        EXPECT_NEAR(product[i], (i % 5 == 0) ? 1.0 : 0.0, 1e-12);
    sglMat4<double> singular;
    singular(1, 1) = 0.0;
    sglMat4<double> untouched = d;
    EXPECT_FALSE(singular.invert(untouched));
    EXPECT_EQ(untouched, d);
}
