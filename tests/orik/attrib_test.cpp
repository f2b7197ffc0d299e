// Generic named attributes of every kind, and colors with inheritance.
#include "orik_test_support.h"

using oriktest::KernelTest;

namespace {

ATTRIB_GEN_NAME* find(ENTITY* entity, const char* name) {
    ATTRIB_GEN_NAME* attrib = nullptr;
    EXPECT_TRUE(api_find_named_attribute(entity, name, attrib).ok());
    return attrib;
}

}  // namespace

// Every attribute kind with its value: the kernel file round trips in files/ check them all.
TEST_F(KernelTest, MissingAttributesAndBadArgumentsAreReported) {
    BODY* body = orik_make_body(oriktest::boxShape());
    EXPECT_EQ(find(body, "ATTRIB_XORIK_NAME"), nullptr);
    ATTRIB_GEN_NAME* attrib = nullptr;
    EXPECT_EQ(api_find_named_attribute(nullptr, "x", attrib).error_number(), ORIK_NULL_ENTITY);
    EXPECT_EQ(api_find_named_attribute(body, nullptr, attrib).error_number(), ORIK_BAD_ARGUMENT);
    EXPECT_EQ(api_add_generic_named_attribute(body, nullptr, 1).error_number(), ORIK_BAD_ARGUMENT);
    EXPECT_EQ(
        api_add_generic_named_attribute(body, "ref", static_cast<ENTITY*>(nullptr)).error_number(),
        ORIK_NULL_ENTITY);
    EXPECT_EQ(body->attribute_count(), 0);
    EXPECT_EQ(body->attribute(0), nullptr);
}

TEST_F(KernelTest, SameNameReplacesAndRemoveDeletes) {
    BODY* body = orik_make_body(oriktest::boxShape());
    api_add_generic_named_attribute(body, "ATTRIB_XORIK_SHOW", 1);
    api_add_generic_named_attribute(body, "ATTRIB_XORIK_SHOW", "0");
    EXPECT_EQ(body->attribute_count(), 1);
    EXPECT_EQ(find(body, "ATTRIB_XORIK_SHOW")->identity(), ATTRIB_GEN_STRING_TYPE);
    ATTRIB_GEN_REAL original("copied", 2.0);
    EXPECT_TRUE(api_add_attribute_copy(body, original).ok());
    EXPECT_NE(find(body, "copied"), &original);
    EXPECT_TRUE(api_remove_generic_named_attribute(body, "ATTRIB_XORIK_SHOW").ok());
    EXPECT_TRUE(api_remove_generic_named_attribute(body, "not there").ok());
    EXPECT_EQ(find(body, "ATTRIB_XORIK_SHOW"), nullptr);
    EXPECT_EQ(body->attribute_count(), 1);
}

TEST_F(KernelTest, EntityReferenceIsDroppedWithItsTarget) {
    BODY* body = orik_make_body(oriktest::boxShape());
    BODY* target = orik_make_body(oriktest::boxShape());
    ENTITY_LIST faces;
    api_get_faces(target, faces);
    api_add_generic_named_attribute(body, "face", faces[0]);
    api_delent(target);
    auto* reference = static_cast<ATTRIB_GEN_ENTITY*>(find(body, "face"));
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->value(), nullptr);
}

TEST_F(KernelTest, FaceInheritsItsBodysColorAndTheDefaultComesLast) {
    BODY* body = orik_make_body(oriktest::boxShape());
    ENTITY_LIST faces;
    api_get_faces(body, faces);
    rgb_color color;
    logical found = TRUE;
    EXPECT_TRUE(api_rh_get_entity_rgb(faces[0], color, TRUE, found).ok());
    EXPECT_FALSE(found);
    EXPECT_EQ(color, rgb_color(0.8, 0.8, 0.9));

    api_rh_set_entity_rgb(body, rgb_color(0, 0, 1));
    api_rh_set_entity_rgb(faces[1], rgb_color(1, 0, 0));
    api_rh_get_entity_rgb(faces[0], color, TRUE, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(color, rgb_color(0, 0, 1));
    api_rh_get_entity_rgb(faces[0], color, FALSE, found);
    EXPECT_FALSE(found);
    api_rh_get_entity_rgb(faces[1], color, TRUE, found);
    EXPECT_EQ(color, rgb_color(1, 0, 0));

    api_rh_remove_entity_rgb(faces[1]);
    api_rh_get_entity_rgb(faces[1], color, TRUE, found);
    EXPECT_EQ(color, rgb_color(0, 0, 1));
    // Where nothing is found the default color applies.
    api_rh_set_default_rgb(rgb_color(0.1, 0.2, 0.3));
    api_rh_get_entity_rgb(orik_make_body(oriktest::boxShape()), color, TRUE, found);
    EXPECT_FALSE(found);
    EXPECT_EQ(color, rgb_color(0.1, 0.2, 0.3));
    EXPECT_EQ(api_rh_set_entity_rgb(nullptr, color).error_number(), ORIK_NULL_ENTITY);
}
