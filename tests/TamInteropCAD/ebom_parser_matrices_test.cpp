// CTamEBOMParser's part list and placements: the Position format, accumulated placements of
// nested instances, the assembly box and the point and box transforms.
#include "ebom_parser_test_support.h"

namespace {

using namespace tamtest;

class EbomMatricesTest : public EbomTest {
protected:
    // An EBOM whose Root holds the instances, all placing the unit cube (written afresh: the
    // import deletes the kernel part files it loads).
    std::wstring CubeEbom(const std::wstring& instances) {
        const std::wstring cube = WritePart("cube.okt", 1.0, L"Cube");
        return WriteEbom(
            Ebom(instances, Reference(L"cube", cube), Document(L"okt", L"cube", cube)));
    }

    // The box of the assembly whose Root holds the instances.
    sglBoxBound AssemblyBox(const std::wstring& instances) {
        CTamEBOMParser parser(CubeEbom(instances).c_str(), L"/src/asm.stp", &loader);
        parser.LoadXML();
        parser.GetListOkt();
        parser.BuildEntities();
        return parser.GetBBox();
    }

    // The number of leaf instances the whole import places.
    size_t PlacedLeaves(const std::wstring& instances) {
        const RootPtr root = ParseEbom(CubeEbom(instances));
        return root != nullptr ? LeafTransforms(root->GetSglRoot()) : 0;
    }
};

void ExpectCorners(const sglBoxBound& box, sglVec3<float> min, sglVec3<float> max) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(box.getMin()[i], min[i], 1e-5) << "min " << i;
        EXPECT_NEAR(box.getMax()[i], max[i], 1e-5) << "max " << i;
    }
}

TEST_F(EbomMatricesTest, NestedTranslationsAddUp) {
    ExpectCorners(AssemblyBox(Top(L"Outer", L"sub", Position(10, 0, 0),
                                  Child(L"Leaf", L"cube", Position(0, 5, 0)))),
                  {0, 0, 0}, {11, 6, 1});
}

TEST_F(EbomMatricesTest, LeafIsPlacedFirstThenByEachEnclosingInstance) {
    // Outer: a quarter turn about z (x axis to y, y axis to -x), then (10, 0, 0); the leaf is
    // moved by (1, 0, 0) first, so its origin lands at (0, 1, 0) + (10, 0, 0).
    const std::wstring outer =
        PositionOf({L"0", L"1", L"0", L"-1", L"0", L"0", L"0", L"0", L"1", L"10", L"0", L"0"});
    const std::wstring instances =
        Top(L"Outer", L"sub", outer, Child(L"Leaf", L"cube", Position(1, 0, 0)));
    ExpectCorners(AssemblyBox(instances), {0, 0, 0}, {10, 2, 1});
    const RootPtr root = ParseEbom(CubeEbom(instances));
    ASSERT_NE(root, nullptr);
    ExpectCorners(root->GetSglRoot()->getBound(), {9, 1, 0}, {10, 2, 1});
}

TEST_F(EbomMatricesTest, PartPlacedTwiceContributesTwoBoxesAndCommasReadAsDecimalPoints) {
    const std::wstring twice =
        Top(L"A", L"cube", Position(-3, 0, 0)) +
        Top(L"B", L"cube",
            PositionOf({L"1", L"0", L"0", L"0", L"1", L"0", L"0", L"0", L"1", L"4,5", L"0", L"0"}));
    ExpectCorners(AssemblyBox(twice), {-3, 0, 0}, {5.5f, 1, 1});
}

TEST_F(EbomMatricesTest, EmptyStructureBoxesTheOriginAlone) {
    ExpectCorners(AssemblyBox(L""), {0, 0, 0}, {0, 0, 0});
}

TEST_F(EbomMatricesTest, PositionTextsOfSixtyCharactersReadAndLongerOnesDropTheInstance) {
    const std::wstring sixty = L"1." + std::wstring(58, L'0');
    const std::wstring sixtyOne = sixty + L"0";
    auto withX = [](const std::wstring& x) {
        return PositionOf({x, L"0", L"0", L"0", L"1", L"0", L"0", L"0", L"1", L"0", L"0", L"0"});
    };
    EXPECT_EQ(PlacedLeaves(Top(L"A", L"cube", withX(sixty))), 1u);
    EXPECT_EQ(PlacedLeaves(Top(L"A", L"cube", withX(sixtyOne)) + Top(L"B", L"cube", withX(L"1"))),
              1u);
    // A refused sub-assembly drops everything below it.
    EXPECT_EQ(
        PlacedLeaves(Top(L"S", L"sub", withX(sixtyOne), Child(L"A", L"cube", Position(0, 0, 0)))),
        0u);
    EXPECT_EQ(AssemblyBox(Top(L"A", L"cube", withX(sixtyOne))).getMax()[0], 0.0f);
}

TEST_F(EbomMatricesTest, OnlyTheFirstTwelveNumbersOfAPositionCount) {
    std::vector<std::wstring> thirteen = {L"1", L"0", L"0", L"0", L"1", L"0", L"0",
                                          L"0", L"1", L"7", L"0", L"0", L"99"};
    ExpectCorners(AssemblyBox(Top(L"A", L"cube", PositionOf(thirteen))), {0, 0, 0}, {8, 1, 1});
    // A 13th text too long to read is never looked at.
    thirteen.back() = std::wstring(80, L'9');
    EXPECT_EQ(PlacedLeaves(Top(L"A", L"cube", PositionOf(thirteen))), 1u);
}

TEST(EbomTransformTest, PointsAreDividedByANonZeroW) {
    sglMat4<float> m;
    m[15] = 2.0f;
    const sglVec3<float> halved = CTamEBOMParser::GetTransformedPoint(m, {2, 4, 6});
    EXPECT_EQ(halved, sglVec3<float>(1, 2, 3));
    m[15] = 0.0f;  // w = 0 for every point with a zero last column
    const sglVec3<float> kept = CTamEBOMParser::GetTransformedPoint(m, {2, 4, 6});
    EXPECT_EQ(kept, sglVec3<float>(2, 4, 6));
}

TEST(EbomTransformTest, BoxTransformOnlyWidens) {
    sglBoxBound box(sglVec3<float>(0, 0, 0), sglVec3<float>(0, 0, 0));
    const sglMat4<float> shift = sglMat4<float>::translation({5, 5, 5});
    CTamEBOMParser::BBoxTransform(shift, {1, 1, 1}, {2, 2, 2}, box);
    ExpectCorners(box, {0, 0, 0}, {7, 7, 7});
    CTamEBOMParser::BBoxTransform(sglMat4<float>(), {1, 1, 1}, {1, 1, 1}, box);
    ExpectCorners(box, {0, 0, 0}, {7, 7, 7});
}

}  // namespace
