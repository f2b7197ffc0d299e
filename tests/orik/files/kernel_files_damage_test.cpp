// Damaged, truncated, foreign and future kernel files: each gives an error outcome and leaves
// the caller's list as it was; unusable paths and a stopped modeller are refused cleanly.
#include "files_test_support.h"

#include <filesystem>
#include <iomanip>
#include <sstream>

#include "file_bytes.h"

using filestest::saved;

namespace {

class KernelFilesDamageTest : public oriktest::KernelTest {
protected:
    // Restores into a list that already holds one entity; returns the error number and checks
    // that a failure added nothing.
    int restore(const std::string& bytes) {
        ENTITY_LIST list;
        list.add(anchor());
        const int error =
            api_restore_entity_list_from_bytes(bytes.data(), bytes.size(), list).error_number();
        if (error != ORIK_OK) {
            EXPECT_EQ(list.count(), 1);
        }
        return error;
    }

    ENTITY* anchor() {
        if (!anchor_)
            anchor_ = orik_make_free_vertex(BRepBuilderAPI_MakeVertex(gp_Pnt(1, 2, 3)));
        return anchor_;
    }

    // A small file: a box body with a named, colored face.
    std::string smallFile(bool binary) {
        BODY* box = orik_make_body(oriktest::boxShape(1, 2, 3));
        ENTITY_LIST faces;
        api_get_faces(box, faces);
        api_add_generic_named_attribute(faces[0], "Name", "front");
        api_rh_set_entity_rgb(faces[0], rgb_color(1, 0, 0));
        ENTITY_LIST list;
        list.add(box);
        return saved(list, binary);
    }

    // A text file around a payload, with a correct checksum: damage the checks cannot see.
    static std::string textFile(const std::string& payload) {
        std::ostringstream header;
        header << "ORIK-TEXT 1\nchecksum " << std::hex << std::setw(16) << std::setfill('0')
               << filestest::checksum(payload) << std::dec << " " << payload.size() << "\n";
        return header.str() + payload;
    }

    ENTITY* anchor_ = nullptr;
};

}  // namespace

TEST_F(KernelFilesDamageTest, EveryTruncationAndEveryChangedByteIsRefused) {
    for (bool binary : {false, true}) {
        const std::string bytes = smallFile(binary);
        ASSERT_EQ(restore(bytes), ORIK_OK);
        for (size_t length = 0; length < bytes.size(); ++length) {
            SCOPED_TRACE(length);
            ASSERT_EQ(restore(bytes.substr(0, length)), ORIK_FILE_DAMAGED);
        }
        for (size_t at = 0; at < bytes.size(); ++at) {
            std::string damaged = bytes;
            damaged[at] = char(damaged[at] ^ 0x24);
            const int error = restore(damaged);
            ASSERT_TRUE(error == ORIK_FILE_DAMAGED || error == ORIK_FILE_VERSION) << at;
        }
    }
}

TEST_F(KernelFilesDamageTest, RecordsThatDoNotHoldTogetherAreRefused) {
    const std::string geometry = "geometry 0 0\n\n";
    const char* const payloads[] = {
        "geometry 0 0\n\nentities 0\nlist 1 0\nend\n",                    // no such record
        "geometry 0 0\n\nentities 1\nentity body\nend\nlist 0\nend\n",    // body without shape
        "geometry 0 0\n\nentities 1\nentity gadget\nend\nlist 0\nend\n",  // unknown type
        "geometry 0 0\n\nentities 1\nentity collection\nmember 0 owned\nend\nlist 0\nend\n",
        "geometry 0 0\n\nentities 1\nentity collection\nattribute colour \"x\"\nend\nlist 0\nend\n",
        "geometry 0 0\n\nentities 1\nentity wcs\naxes 0 0 0 1 0 0 0 1 0 0 0 5\nend\nlist 0\nend\n",
        "geometry 0 0\n\nentities 1\nentity wcs\naxes 0 0 0 nan 0 0 0 1 0 0 0 1\nend\nlist "
        "0\nend\n",
        "geometry 0 0\n\nentities 1\nentity collection\nattribute string \"a\" \"\\q\"\nend\nlist "
        "0\nend\n",
        "geometry 0 0\n\nentities 0\nlist 0\nend\ntrailing\n",
        "geometry 1 5\nhello\nentities 0\nlist 0\nend\n",       // not B-rep
        "geometry 2 0\n\nentities 0\nlist 0\nend\n",            // shapes missing
        "geometry 0 0\n\nentities 99999999999\nlist 0\nend\n",  // absurd count
    };
    for (const char* payload : payloads) {
        SCOPED_TRACE(payload);
        EXPECT_EQ(restore(textFile(payload)), ORIK_FILE_DAMAGED);
    }
    EXPECT_EQ(restore(textFile(geometry + "entities 0\nlist 0\nend\n")), ORIK_OK);
}

// A text file of `count` collections, each owning the next; the last owns `lastOwns` (none
// when negative).
static std::string OwnershipChain(int count, int lastOwns) {
    std::string payload = "geometry 0 0\n\nentities " + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i) {
        const int owned = i + 1 < count ? i + 1 : lastOwns;
        payload += "entity collection\n";
        if (owned >= 0)
            payload += "member " + std::to_string(owned) + " owned\n";
        payload += "end\n";
    }
    return payload + "list 1 0\nend\n";
}

TEST_F(KernelFilesDamageTest, CollectionsThatOwnThemselvesOrNestTooDeepAreRefused) {
    const struct {
        int count, lastOwns, error;
    } cases[] = {
        {2, 0, ORIK_FILE_NESTING},        // two collections owning each other
        {3, 0, ORIK_FILE_NESTING},        // three in a ring
        {100000, -1, ORIK_FILE_NESTING},  // far too deep
        {1001, -1, ORIK_FILE_NESTING},    // one level too deep
        {1000, -1, ORIK_OK},              // as deep as may be
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " collections");
        EXPECT_EQ(restore(textFile(OwnershipChain(c.count, c.lastOwns))), c.error);
    }
}

TEST_F(KernelFilesDamageTest, ReferencesBeyondTheGeometryAreRefused) {
    const std::string bytes = smallFile(false);
    const std::string payload = bytes.substr(bytes.find("geometry"));
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"entity body shape 0", "entity body shape 1"},
             {"entity body shape 0", "entity face shape 0"},
             {"sub face 0", "sub face 6"},
             {"placement 0 1 ", "placement 9 1 "},
             {"placement 0 1 ", "placement 0 0 "}}) {
        std::string changed = payload;
        const size_t at = changed.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        changed.replace(at, from.size(), to);
        EXPECT_EQ(restore(textFile(changed)), ORIK_FILE_DAMAGED) << to;
    }
}

TEST_F(KernelFilesDamageTest, LaterVersionsAreReportedAsSuchForeignInputAsDamaged) {
    std::string text = smallFile(false);
    text[10] = '2';  // "ORIK-TEXT 2"
    EXPECT_EQ(restore(text), ORIK_FILE_VERSION);
    std::string binary = smallFile(true);
    binary[8] = 3;  // version 2 is the binary form with facets
    EXPECT_EQ(restore(binary), ORIK_FILE_VERSION);
    // Foreign and empty input is damaged.
    EXPECT_EQ(restore(""), ORIK_FILE_DAMAGED);
    EXPECT_EQ(restore("ISO-10303-21;\nHEADER;\n"), ORIK_FILE_DAMAGED);
    EXPECT_EQ(restore(std::string("ORIKBIN\x1a", 8)), ORIK_FILE_DAMAGED);
    ENTITY_LIST list;
    EXPECT_EQ(api_restore_entity_list_from_bytes(nullptr, 0, list).error_number(),
              ORIK_FILE_DAMAGED);
    EXPECT_EQ(api_restore_entity_list_from_bytes(nullptr, 5, list).error_number(),
              ORIK_BAD_ARGUMENT);
}

TEST_F(KernelFilesDamageTest, UnusablePathsGiveFileErrors) {
    ENTITY_LIST list;
    list.add(anchor());
    const std::filesystem::path missing =
        std::filesystem::temp_directory_path() / "orik_no_such_dir" / "file.okt";
    EXPECT_EQ(api_save_entity_list(missing.wstring().c_str(), list, FALSE).error_number(),
              ORIK_FILE_WRITE_FAILED);
    EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
    EXPECT_EQ(api_restore_entity_list(missing.wstring().c_str(), list).error_number(),
              ORIK_FILE_OPEN_FAILED);
    EXPECT_EQ(api_save_entity_list(nullptr, list, FALSE).error_number(), ORIK_BAD_ARGUMENT);
    EXPECT_EQ(api_restore_entity_list(L"", list).error_number(), ORIK_BAD_ARGUMENT);
    EXPECT_EQ(list.count(), 1);
}

TEST_F(KernelFilesDamageTest, StoppedModellerRefusesFiles) {
    const std::string bytes = smallFile(true);
    api_stop_modeller();
    ENTITY_LIST list;
    std::string out;
    EXPECT_EQ(api_save_entity_list_to_bytes(list, TRUE, out).error_number(), ORIK_NOT_RUNNING);
    EXPECT_EQ(api_restore_entity_list_from_bytes(bytes.data(), bytes.size(), list).error_number(),
              ORIK_NOT_RUNNING);
    ASSERT_EQ(api_start_modeller(0).error_number(), ORIK_OK);
}

TEST_F(KernelFilesDamageTest, StoredFilesOfThisVersionStillRead) {
    for (const char* name : {"orik/box_with_named_face.okt", "orik/box_with_named_face.okb"}) {
        const std::string bytes = tamtest::readFile(std::string(TAM_TEST_DATA_DIR) + "/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        ENTITY_LIST list;
        ASSERT_EQ(
            api_restore_entity_list_from_bytes(bytes.data(), bytes.size(), list).error_number(),
            ORIK_OK)
            << name;
        ASSERT_EQ(list.count(), 1);
        ENTITY_LIST faces;
        api_get_faces(list[0], faces);
        ATTRIB_GEN_NAME* attribute = nullptr;
        api_find_named_attribute(faces[0], "Name", attribute);
        ASSERT_NE(attribute, nullptr);
        EXPECT_STREQ(static_cast<ATTRIB_GEN_STRING*>(attribute)->value(), "front");
    }
    // Stored files that pass the checksum but announce far more curves, spline poles or
    // triangles than they hold, or end inside a shape's list of sub-shapes.
    for (const char* name :
         {"invalid/orik_curve_count.okt", "invalid/orik_spline_poles.okb",
          "invalid/orik_triangulation_count.okb", "invalid/orik_endless_subshapes.okt"}) {
        const std::string bytes = tamtest::readFile(std::string(TAM_TEST_DATA_DIR) + "/" + name);
        EXPECT_EQ(restore(bytes), ORIK_FILE_DAMAGED) << name;
    }
}
