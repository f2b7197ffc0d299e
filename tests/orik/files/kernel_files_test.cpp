// Kernel files written and read back: every entity kind, attribute kind, color, transform and
// collection survives in both forms; shared geometry is stored once; files on disk.
#include "files_test_support.h"
#include "scratch_folder.h"

#include <BRepTools.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>

#include <filesystem>

using filestest::saved;
using filestest::withoutGeometry;

namespace {

class KernelFilesTest : public oriktest::KernelTest, public ::testing::WithParamInterface<bool> {
protected:
    bool binary() const { return GetParam(); }

    // The sample, saved in this form and restored into `copy`.
    void SetUp() override {
        KernelTest::SetUp();
        sample = filestest::makeSample();
        const std::string bytes = saved(sample.list, binary());
        EXPECT_EQ(bytes.compare(0, 8, binary() ? std::string("ORIKBIN\x1a", 8) : "ORIK-TEX"), 0);
        EXPECT_EQ(
            api_restore_entity_list_from_bytes(bytes.data(), bytes.size(), copy).error_number(),
            ORIK_OK);
    }

    filestest::Sample sample;
    ENTITY_LIST copy;
};

ATTRIB_GEN_NAME* attribute(const ENTITY* entity, const char* name) {
    ATTRIB_GEN_NAME* found = nullptr;
    api_find_named_attribute(entity, name, found);
    return found;
}

bool sameTransform(const gp_Trsf& a, const gp_Trsf& b) {
    bool same = a.Form() == b.Form() && a.ScaleFactor() == b.ScaleFactor() &&
                a.TranslationPart().IsEqual(b.TranslationPart(), 0.0);
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 3; ++c)
            same = same && a.HVectorialPart().Value(r, c) == b.HVectorialPart().Value(r, c);
    }
    return same;
}

}  // namespace

// Everything but the geometry (whose B-rep text OCCT does not write back byte for byte) is
// written again exactly as it was read. Either form, told apart by its first bytes, restores
// through the same call.
TEST_P(KernelFilesTest, SavingWhatWasRestoredGivesTheSameRecords) {
    EXPECT_EQ(copy.count(), sample.list.count());
    EXPECT_TRUE(withoutGeometry(saved(copy, false)) == withoutGeometry(saved(sample.list, false)));
    // An empty list makes an empty file.
    const std::string empty = saved(ENTITY_LIST(), binary());
    ENTITY_LIST none;
    EXPECT_TRUE(api_restore_entity_list_from_bytes(empty.data(), empty.size(), none).ok());
    EXPECT_EQ(none.count(), 0);
}

TEST_P(KernelFilesTest, GeometryComesBackWithTheSameTopology) {
    for (int i = 0; i < copy.count(); ++i) {
        for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
            TopTools_IndexedMapOfShape before, after;
            TopExp::MapShapes(orik_entity_shape(sample.list[i]), type, before);
            TopExp::MapShapes(orik_entity_shape(copy[i]), type, after);
            EXPECT_EQ(after.Extent(), before.Extent()) << i;
        }
        double area = 0, areaBefore = 0, error = 0;
        api_ent_area(copy[i], 1e-6, area, error);
        api_ent_area(sample.list[i], 1e-6, areaBefore, error);
        EXPECT_NEAR(area, areaBefore, 1e-6 * (1 + areaBefore)) << i;
    }
}

TEST_P(KernelFilesTest, EntitiesComeBackWithTheirKindsTransformsAndValues) {
    ASSERT_EQ(copy.count(), sample.list.count());
    for (int i = 0; i < copy.count(); ++i) {
        EXPECT_EQ(copy[i]->identity(), sample.list[i]->identity()) << i;
        EXPECT_TRUE(
            sameTransform(orik_entity_placement(copy[i]), orik_entity_placement(sample.list[i])))
            << i;
    }
    const ENTITY* body = copy[1];
    ASSERT_TRUE(is_BODY(body));
    EXPECT_EQ(body->attribute_count(), 8);
    EXPECT_EQ(attribute(body, "flag")->identity(), ATTRIB_GEN_NAME_TYPE);
    EXPECT_EQ(static_cast<ATTRIB_GEN_INTEGER*>(attribute(body, "count"))->value(), -42);
    EXPECT_EQ(static_cast<ATTRIB_GEN_REAL*>(attribute(body, "ratio"))->value(), 0.1);
    EXPECT_STREQ(static_cast<ATTRIB_GEN_STRING*>(attribute(body, "label"))->value(),
                 "Bolt M8\tx\xe9");
    EXPECT_STREQ(static_cast<ATTRIB_GEN_WSTRING*>(attribute(body, "title"))->value(),
                 L"Schraube \u00fc\u4e2d\U0001F600 \"q\"");
    const SPAposition where = static_cast<ATTRIB_GEN_POSITION*>(attribute(body, "where"))->value();
    EXPECT_EQ(where.z(), 1e-300);
    EXPECT_EQ(static_cast<ATTRIB_GEN_VECTOR*>(attribute(body, "up"))->value().z(), 1.0);
    // The entity reference leads to the restored second body's face, which is also listed.
    EXPECT_EQ(static_cast<ATTRIB_GEN_ENTITY*>(attribute(body, "partner"))->value(), copy[2]);
    EXPECT_EQ(copy[2]->owner(), copy[3]);
    rgb_color color;
    logical found = FALSE;
    api_rh_get_entity_rgb(copy[2], color, FALSE, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(color, rgb_color(1, 0, 0));
    api_rh_get_entity_rgb(body, color, FALSE, found);
    EXPECT_EQ(color, rgb_color(0.1, 0.2, 0.3));
}

TEST_P(KernelFilesTest, SubEntitiesKeepTheirAttributesAtTheSamePlaces) {
    ENTITY_LIST before, after;
    api_get_edges(sample.second, before);
    api_get_edges(copy[3], after);
    ASSERT_EQ(after.count(), before.count());
    for (int i = 0; i < before.count(); ++i)
        EXPECT_EQ(after[i]->attribute_count(), before[i]->attribute_count()) << i;
    EXPECT_EQ(static_cast<ATTRIB_GEN_INTEGER*>(attribute(after[5], "Layer"))->value(), 7);
    ENTITY_LIST wireEdges;
    api_get_edges(copy[5], wireEdges);
    EXPECT_STREQ(static_cast<ATTRIB_GEN_STRING*>(attribute(wireEdges[1], "Name"))->value(),
                 "second edge");
}

TEST_P(KernelFilesTest, SharedGeometryStaysShared) {
    EXPECT_EQ(orik_entity_shape(copy[1]).TShape(), orik_entity_shape(copy[3]).TShape());
    EXPECT_NE(orik_entity_shape(copy[1]).TShape(), orik_entity_shape(sample.first).TShape());
    // Two bodies over one box and four free entities: five shapes in the geometry section.
    const filestest::Sample again = filestest::makeSample();
    ENTITY_LIST bodies;
    bodies.add(again.first);
    bodies.add(again.second);
    const std::string twice = saved(bodies, false);
    ENTITY_LIST firstOnly;
    firstOnly.add(again.first);
    const std::string once = saved(firstOnly, false);
    EXPECT_NE(twice.find("geometry 1 "), std::string::npos);
    EXPECT_LT(twice.size(), once.size() + 1000);
}

TEST_P(KernelFilesTest, CollectionsKeepMembersInOrderAndWhatTheyOwn) {
    ASSERT_TRUE(is_KVXCOLLECTION(copy[0]));
    const KVXCOLLECTION* collection = static_cast<KVXCOLLECTION*>(copy[0]);
    ASSERT_EQ(collection->member_count(), 2);
    EXPECT_TRUE(collection->owns_member(0));
    EXPECT_FALSE(collection->owns_member(1));
    EXPECT_TRUE(is_WCS(collection->member(0)));
    EXPECT_EQ(static_cast<ATTRIB_GEN_REAL*>(attribute(collection->member(0), "value"))->value(),
              3.5);
    EXPECT_EQ(collection->member(1), copy[1]);
    const WCS* wcs = static_cast<WCS*>(copy[8]);
    EXPECT_EQ(wcs->origin().x(), 1.0);
    EXPECT_EQ(wcs->x_axis().x(), 1.0);
    EXPECT_EQ(wcs->z_axis().z(), 1.0);
}

TEST_P(KernelFilesTest, FilesOnDiskRoundTrip) {
    // A name beyond ASCII: wide in the interface, UTF-8 on disk.
    const tamtest::ScratchFolder folder;
    const std::string directory = folder.path().string();
    const std::wstring path =
        std::wstring(directory.begin(), directory.end()) +
        (binary() ? L"/orik_files_test_\u00e4.okb" : L"/orik_files_test_\u00e4.okt");
    const std::string onDisk =
        directory + (binary() ? "/orik_files_test_\xc3\xa4.okb" : "/orik_files_test_\xc3\xa4.okt");
    ASSERT_EQ(api_save_entity_list(path.c_str(), sample.list, binary()).error_number(), ORIK_OK);
    EXPECT_TRUE(std::filesystem::exists(onDisk));
    ENTITY_LIST fromDisk;
    ASSERT_EQ(api_restore_entity_list(path.c_str(), fromDisk).error_number(), ORIK_OK);
    EXPECT_TRUE(withoutGeometry(saved(fromDisk, false)) ==
                withoutGeometry(saved(sample.list, false)));
}

INSTANTIATE_TEST_SUITE_P(BothForms, KernelFilesTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "binary" : "text"; });
