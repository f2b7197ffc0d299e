// CTamEBOMParser's placements: the Position format, nested instances, the assembly box and the
// point and box transforms.
#include "ebom_parser_test_support.h"

namespace {

using namespace tamtest;

class EbomMatricesTest : public EbomTest {
protected:
    // The assembly box of the instances placing the unit cube p (written afresh: the import
    // deletes the kernel files it loads).
    sglBoxBound AssemblyBox(const std::wstring& instances) {
        CTamEBOMParser parser(PartEbom(instances, WritePart("p.okt", 1.0)).c_str(), L"", &loader);
        parser.LoadXML();
        parser.GetListOkt();
        parser.BuildEntities();
        return parser.GetBBox();
    }
    size_t PlacedLeaves(const std::wstring& instances) {
        const RootPtr root = ParseEbom(PartEbom(instances, WritePart("p.okt", 1.0)));
        return root != nullptr ? LeafTransforms(root->GetSglRoot()) : 0;
    }
};

// The identity's axes with the translation texts x, y, z.
std::wstring Moved(const std::wstring& x, const std::wstring& y = L"0",
                   const std::wstring& z = L"0") {
    return PositionOf({L"1", L"0", L"0", L"0", L"1", L"0", L"0", L"0", L"1", x, y, z});
}

// Kernel boxes are a little larger than the geometry.
void ExpectNear(const sglVec3<float>& got, const sglVec3<float>& expected) {
    for (unsigned int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], expected[i], 1e-5) << i;
}

TEST_F(EbomMatricesTest, LeavesArePlacedByOwnThenEnclosingPositionsTooLongTextsDropTheirSubtree) {
    // A quarter turn about z (x axis to y, y axis to -x), then (10, 0, 0).
    const std::wstring turned =
        PositionOf({L"0", L"1", L"0", L"-1", L"0", L"0", L"0", L"0", L"1", L"10", L"0", L"0"});
    const std::vector<std::pair<std::wstring, sglVec3<float>>> cases = {
        {Top(L"S", L"s", Moved(L"10"), Child(L"L", L"p", Moved(L"0", L"5"))), {11, 6, 1}},
        // The leaf's origin lands at (0, 1, 0) + (10, 0, 0).
        {Top(L"S", L"s", turned, Child(L"L", L"p", Moved(L"1"))), {10, 2, 1}},
        {Top(L"A", L"p", Moved(L"-3")) + Top(L"B", L"p", Moved(L"4,5")), {5.5f, 1, 1}},
        {Top(L"A", L"p",
             PositionOf(
                 {L"1", L"0", L"0", L"0", L"1", L"0", L"0", L"0", L"1", L"7", L"0", L"0", L"99"})),
         {8, 1, 1}},
        {L"", {0, 0, 0}},
    };
    for (const auto& [instances, max] : cases) {
        const sglBoxBound box = AssemblyBox(instances);
        SCOPED_TRACE(instances);
        ExpectNear(box.getMax(), max);
        ExpectNear(box.getMin(), {instances.find(L"-3") == std::wstring::npos ? 0.f : -3.f, 0, 0});
    }
    const RootPtr root = ParseEbom(PartEbom(std::get<0>(cases[1]), WritePart("p.okt", 1.0)));
    ASSERT_NE(root, nullptr);
    ExpectNear(root->GetSglRoot()->getBound().getMin(), {9, 1, 0});
    // Position texts of sixty characters read, longer ones drop their subtree.
    const std::wstring sixty = L"1." + std::wstring(58, L'0');
    EXPECT_EQ(PlacedLeaves(Top(L"A", L"p", Moved(sixty))), 1u);
    EXPECT_EQ(PlacedLeaves(Top(L"A", L"p", Moved(sixty + L"0")) + Top(L"B", L"p", Moved(L"1"))),
              1u);
    EXPECT_EQ(PlacedLeaves(Top(L"S", L"s", Moved(sixty + L"0"), Child(L"A", L"p", Moved(L"0")))),
              0u);
    // A 13th text is never read, however long.
    EXPECT_EQ(PlacedLeaves(Top(L"A", L"p",
                               PositionOf({L"1", L"0", L"0", L"0", L"1", L"0", L"0", L"0", L"1",
                                           L"0", L"0", L"0", std::wstring(80, L'9')}))),
              1u);
}

TEST(EbomTransformTest, PointsAreDividedByANonZeroWAndBoxesOnlyWiden) {
    sglMat4<float> m;
    m[15] = 2.0f;
    EXPECT_EQ(CTamEBOMParser::GetTransformedPoint(m, {2, 4, 6}), sglVec3<float>(1, 2, 3));
    m[15] = 0.0f;
    EXPECT_EQ(CTamEBOMParser::GetTransformedPoint(m, {2, 4, 6}), sglVec3<float>(2, 4, 6));

    sglBoxBound box(sglVec3<float>(0, 0, 0), sglVec3<float>(0, 0, 0));
    CTamEBOMParser::BBoxTransform(sglMat4<float>::translation({5, 5, 5}), {1, 1, 1}, {2, 2, 2},
                                  box);
    CTamEBOMParser::BBoxTransform(sglMat4<float>(), {1, 1, 1}, {1, 1, 1}, box);
    EXPECT_EQ(box, sglBoxBound(sglVec3<float>(0, 0, 0), sglVec3<float>(7, 7, 7)));
}

}  // namespace
