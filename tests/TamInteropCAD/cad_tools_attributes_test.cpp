// Named attribute values as text, entity colours, and colours written as hexadecimal text.
#include <orik/OrikOcctBridge.h>
#include <orik/orik.h>
#include <platform/CString.h>
#include <BRepPrimAPI_MakeBox.hxx>

#include <array>
#include <cstdint>
#include <string>

#include "tools_test_support.h"

namespace {

// Runs each test on a fresh collection entity, deleted afterwards.
class CadToolsAttributes : public tamtest::RunningKernelTest {
protected:
    void SetUp() override {
        RunningKernelTest::SetUp();
        ASSERT_EQ(api_make_collection(entity_).error_number(), 0);
    }
    void TearDown() override {
        api_delent(entity_);
        RunningKernelTest::TearDown();
    }

    // The attribute's text, or "<none>" when the extraction gives false.
    std::wstring Text(const char* name) {
        wchar_t buffer[512] = {};
        if (!CTamCADTools::Extract_named_attrib_from_entity(entity_, name, buffer))
            return L"<none>";
        return buffer;
    }

    KVXCOLLECTION* entity_ = nullptr;
};

TEST_F(CadToolsAttributes, ValuesAreWrittenAsText) {
    KVXCOLLECTION* other = nullptr;
    ASSERT_EQ(api_make_collection(other).error_number(), 0);
    wchar_t handle[16];  // an entity reference is its handle in hexadecimal
    swprintf(handle, 16, L"%x",
             static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(other) & 0xffffffffu));
    api_add_generic_named_attribute(entity_, "half", 0.5);
    api_add_generic_named_attribute(entity_, "tiny", 1e-7);
    api_add_generic_named_attribute(entity_, "big", 1234567.0);
    api_add_generic_named_attribute(entity_, "visible", 0);
    api_add_generic_named_attribute(entity_, "layer", -42);
    api_add_generic_named_attribute(entity_, "at", SPAposition(1.0, 2.5, -3.0));
    api_add_generic_named_attribute(entity_, "dir", SPAvector(0.0, -1.0, 0.25));
    api_add_generic_named_attribute(entity_, "wide", L"Pi\u00e8ce \u4e00");
    api_add_generic_named_attribute(entity_, "narrow", "Bracket-12");
    api_add_generic_named_attribute(entity_, "long", std::wstring(2000, L'x').c_str());
    api_add_generic_named_attribute(entity_, "ref", static_cast<ENTITY*>(other));
    const std::pair<const char*, std::wstring> expected[] = {
        {"half", L"0.5"},  // reals like %g
        {"tiny", L"1e-07"},        {"big", L"1.23457e+06"},
        {"visible", L"0"},                               // integers in decimal
        {"layer", L"-42"},         {"at", L"1 2.5 -3"},  // positions and vectors as three numbers
        {"dir", L"0 -1 0.25"},     {"wide", L"Pi\u00e8ce \u4e00"},     // strings of both widths
        {"narrow", L"Bracket-12"}, {"long", std::wstring(511, L'x')},  // cut to the buffer
        {"ref", handle},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(Text(name), text) << name;
    api_delent(other);
}

TEST_F(CadToolsAttributes, PlainOrMissingNamesLeaveTheBufferColourComesFromEntityOrBody) {
    api_add_generic_named_attribute(entity_, "flag");
    wchar_t buffer[512] = L"untouched";
    EXPECT_FALSE(CTamCADTools::Extract_named_attrib_from_entity(entity_, "flag", buffer));
    EXPECT_STREQ(buffer, L"untouched");
    EXPECT_FALSE(CTamCADTools::Extract_named_attrib_from_entity(entity_, "absent", buffer));
    EXPECT_STREQ(buffer, L"untouched");
    EXPECT_FALSE(CTamCADTools::Extract_named_attrib_from_entity(entity_, "FLAG", buffer));
    EXPECT_FALSE(CTamCADTools::Extract_named_attrib_from_entity(nullptr, "flag", buffer));
    EXPECT_STREQ(buffer, L"untouched");
    api_rh_set_entity_rgb(entity_, rgb_color(1.0, 0.5, 0.25));
    BODY* body = orik_make_body(BRepPrimAPI_MakeBox(1.0, 2.0, 3.0).Shape());
    ASSERT_NE(body, nullptr);
    api_rh_set_entity_rgb(body, rgb_color(0.0, 1.0, 0.0));
    ENTITY_LIST faces;
    api_get_faces(body, faces);
    ASSERT_GT(faces.count(), 0);
    KVXCOLLECTION* plain = nullptr;
    ASSERT_EQ(api_make_collection(plain).error_number(), 0);

    const std::pair<ENTITY*, std::array<double, 3>> cases[] = {
        {entity_, {1.0, 0.5, 0.25}},
        {faces[0], {0.0, 1.0, 0.0}},
        {plain, {0.8, 0.8, 0.9}},  // no colour: the kernel's default, as set at start-up
    };
    for (const auto& [entity, colour] : cases) {
        double rgb[3] = {-1.0, -1.0, -1.0};
        CTamCADTools::Extract_color_from_entity(entity, rgb);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_DOUBLE_EQ(rgb[i], colour[i]) << colour[0] << " " << colour[1] << " " << i;
    }
    api_delent(plain);
    api_delent(body);
}

TEST(CadToolsLoadColor, ReadsSixAndThreeDigitFormsRefusesOthersWithoutWriting) {
    const struct {
        const wchar_t* text;
        int red, green, blue;  // -1: refused, nothing written
    } cases[] = {
        {L"#ff8000", 255, 128, 0},
        {L"#FF8000", 255, 128, 0},
        {L"#f80", 255, 136, 0},
        {L"#F80", 255, 136, 0},
        {L"#000000", 0, 0, 0},
        {L"#fff", 255, 255, 255},
        {L"color: #0a0B0c", 10, 11, 12},  // text before the "#" is ignored
        {L"#-1+f 1", 0, 0, 0},            // signs and blanks are no hexadecimal digits
        {L"#ff80", -1, -1, -1},
        {L"ff8000", -1, -1, -1},
        {L"", -1, -1, -1},
        {L"#", -1, -1, -1},
        {L"#ff80001", -1, -1, -1},
        {L"##ff8000", -1, -1, -1},
    };
    for (const auto& c : cases) {
        int red = -1, green = -1, blue = -1;
        EXPECT_EQ(CTamCADTools::LoadColor(CString(c.text), red, green, blue), c.red >= 0) << c.text;
        EXPECT_EQ(red, c.red) << c.text;
        EXPECT_EQ(green, c.green) << c.text;
        EXPECT_EQ(blue, c.blue) << c.text;
    }
}

}  // namespace
