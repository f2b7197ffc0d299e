// Names, generated names, layers, visibility, user data and collection metadata.
#include <tamsgdb/sglModelLoader.h>

#include <set>

#include "loader_test_support.h"

namespace tamtest {
namespace {

void Attribute(ENTITY* entity, const char* name, const wchar_t* value) {
    api_add_generic_named_attribute(entity, name, value).ignore();
}

std::vector<std::wstring> Names(sglNode* node) {
    std::vector<std::wstring> names;
    for (sglGeode* geode : Geodes(node))
        names.push_back(geode->getName());
    return names;
}

// A collection member carrying a name and a value, as the translator writes user properties.
ENTITY* Property(const wchar_t* name, const char* value) {
    VERTEX* member = orik_make_free_vertex(BRepBuilderAPI_MakeVertex(gp_Pnt()).Shape());
    Name(member, name);
    api_add_generic_named_attribute(member, "KVXATTRIB_VALUE", value).ignore();
    return member;
}

KVXCOLLECTION* Collection(const std::vector<ENTITY*>& members) {
    KVXCOLLECTION* collection = nullptr;
    api_make_collection(collection).ignore();
    for (ENTITY* member : members)
        api_add_to_collection(collection, member, TRUE).ignore();
    return collection;
}

}  // namespace

using LoaderAttributes = LoaderTest;

// Faces of a named body carry the body's name, their own names aside.

TEST_F(LoaderAttributes, GeneratedNamesCountOnWithinOnePartAndAcrossPartsOfAnAssembly) {
    FACE* first = orik_make_free_face(RectangleFace(1, 1));
    FACE* second = orik_make_free_face(RectangleFace(1, 1, 2.0));
    BODY* unnamed = BoxBody(1, 1, 1);
    std::vector<std::wstring> numbered;
    for (int i = 0; i < 8; ++i)
        numbered.push_back(L" (rvd_face " + std::to_wstring(i) + L" )");
    EXPECT_EQ(Names(Parse({first, second, unnamed}).get()), numbered);

    sglModelLoader::m_sbImportAsBodies = true;
    BODY* solids[3] = {BoxBody(1, 1, 1), BoxBody(1, 1, 1), BoxBody(1, 1, 1)};
    Name(solids[1], L"Named");
    EXPECT_EQ(Names(Parse({solids[0], solids[1], solids[2]}).get()),
              (std::vector<std::wstring>{L"rvd_body 0", L"Named", L"rvd_body 1"}));
    EXPECT_EQ(Names(Parse({BoxBody(1, 1, 1)}).get()).front(), L"rvd_body 0");
    loader.SetIsAssembly(true);
    Parse({BoxBody(1, 1, 1)});
    EXPECT_EQ(Names(Parse({BoxBody(1, 1, 1)}).get()).front(), L"rvd_body 2");
}

TEST_F(LoaderAttributes, LayerTextGivesTheLayerNumberOnlyAShowValueOfExactlyZeroHides) {
    sglModelLoader::m_sbImportAsBodies = true;
    const struct {
        const char* attribute;
        const wchar_t* value;
        int layer;
        bool visible;
    } cases[] = {
        {"ATTRIB_XORIK_LAYER", L"0", 0, true},
        {"ATTRIB_XORIK_LAYER", L"12abc", 12, true},
        {"ATTRIB_XORIK_LAYER", L"abc", -1, true},
        {"ATTRIB_XORIK_LAYER", L"", -1, true},
        {nullptr, nullptr, -1, true},
        {"ATTRIB_XORIK_SHOW", L"0", -1, false},
        {"ATTRIB_XORIK_SHOW", L"00", -1, true},
        {"ATTRIB_XORIK_SHOW", L"word", -1, true},
        {"ATTRIB_XORIK_SHOW", L"", -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (&c - cases));
        BODY* body = BoxBody(1, 1, 1);
        if (c.attribute != nullptr)
            Attribute(body, c.attribute, c.value);
        loader.SetLayerName(L"7");  // cleared before the body is read
        GroupPtr group = Parse({body});
        const CTamUserData& record = Record(Geodes(group.get())[0]);
        EXPECT_EQ(record.GetLayer(), c.layer);
        EXPECT_EQ(record.GetVisible(), c.visible);
    }
    BODY* integerShow = BoxBody(1, 1, 1);
    api_add_generic_named_attribute(integerShow, "ATTRIB_XORIK_SHOW", 0).ignore();
    EXPECT_FALSE(Record(Geodes(Parse({integerShow}).get())[0]).GetVisible());
}

TEST_F(LoaderAttributes, EveryGeodeGetsItsOwnRecordTheGroupCollectionMetadataAndNamesCutAtABar) {
    GroupPtr group = Parse({BoxBody(1, 1, 1)}, L"C:\\parts\\Bolt.stp");
    std::set<std::wstring> guids;
    for (sglGeode* geode : Geodes(group.get())) {
        const CTamUserData& record = Record(geode);
        EXPECT_FALSE(record.GetGuid().empty());
        guids.insert(record.GetGuid());
        EXPECT_EQ(record.GetIssuedFrom(), L"Bolt.stp");
        EXPECT_EQ(record.GetVolume(), -1.0f);
        EXPECT_EQ(record.GetArea(), -1.0f);
        EXPECT_TRUE(record.GetVisible());
        EXPECT_GT(record.GetFacetingTolerance(), 0.0f);  // size-based tolerances are recorded
    }
    EXPECT_EQ(guids.size(), 6u);
    EXPECT_TRUE(Record(Geodes(Parse({BoxBody(1, 1, 1)}, L"").get())[0]).GetIssuedFrom().empty());
    ENTITY* collection =
        Collection({Property(L"Material", "Steel"), Property(L"Material", "Steel"),
                    Property(L"Mass", "1.5"), Property(L"Mass", "2"), Property(L"Bad/name", "x")});
    BODY* body = BoxBody(1, 1, 1);
    EXPECT_TRUE(Parse({collection, body})->getMetaProperties().empty());

    sglModelLoader::m_sbImportMetas = true;
    EXPECT_EQ(
        Parse({collection, body})->getMetaProperties(),
        (sglGroup::MetaProperties{
            {L"Material", L"Steel"}, {L"Mass", L"1.5"}, {L"Mass", L"2"}, {L"Bad_name", L"x"}}));
    // A body's name is cut before its first bar unless feature names are kept.
    Name(body, L"Bracket|Feature12");
    Name(FaceOf(body, 2), L"Ignored face name");
    for (const std::wstring& name : Names(Parse({body}).get()))
        EXPECT_EQ(name, L"Bracket");

    sglModelLoader::m_sbNodeFeatureName = true;
    EXPECT_EQ(Names(Parse({body}).get()).front(), L"Bracket|Feature12");

    sglModelLoader::m_sbNodeFeatureName = false;
    BODY* barFirst = BoxBody(1, 1, 1);
    Name(barFirst, L"|Feature");
    sglModelLoader::m_sbImportAsBodies = true;
    EXPECT_EQ(Names(Parse({barFirst}).get()), (std::vector<std::wstring>{L""}));
}

TEST_F(LoaderAttributes, SetUserDataStampsCopiesAndKeepsALabelWhenGivenNone) {
    GroupPtr group(new sglGroup);
    auto* recorded = new sglGeode;
    auto* record = new CTamUserData;
    record->SetLabel(L"A");
    record->SetLayer(4);
    recorded->setUserData(record);
    auto* bare = new sglGeode;
    auto* transform = new sglTransform<float>;
    transform->addChild(bare, true);
    group->addChild(recorded, true);
    group->addChild(transform, true);

    CTamCADLoader::SetUserData(group.get(), L"Asm", L"");
    EXPECT_NE(recorded->getUserData(), record);  // replaced by a copy
    EXPECT_EQ(Record(recorded).GetLabel(), L"A");
    EXPECT_EQ(Record(recorded).GetAssemblyName(), L"Asm");
    EXPECT_EQ(Record(recorded).GetLayer(), 4);
    EXPECT_EQ(Record(bare).GetAssemblyName(), L"Asm");

    CTamCADLoader::AddAssemblyNameToUserdata(group.get(), L"Top", L"");
    EXPECT_EQ(Record(recorded).GetLabel(), L"");
    EXPECT_EQ(Record(recorded).GetLayer(), -1);
    EXPECT_EQ(Record(bare).GetAssemblyName(), L"Top");
    CTamCADLoader::SetUserData(nullptr, L"x", L"y");
    CTamCADLoader::AddAssemblyNameToUserdata(nullptr, L"x", L"y");
}

}  // namespace tamtest
