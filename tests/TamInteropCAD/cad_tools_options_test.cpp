// The translator option sets built for each kind of conversion.
#include <kvxi/KVXIOptions.h>
#include <tamsgdb/sglModelLoader.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TamCADToolsOptionsPrivate.h"
#include "tools_test_support.h"

namespace {

using Entries = std::vector<KVXIOptions::Entry>;

KVXIOptions::Entry Flag(const char* name, bool value) {
    return {name, KVXIValue(value)};
}
KVXIOptions::Entry Integer(const char* name, std::int32_t value) {
    return {name, KVXIValue(value)};
}
KVXIOptions::Entry Representation(const char* value) {
    return {KVXIOptionName::Representation, KVXIValue(value)};
}

std::string Describe(const Entries& entries) {
    std::string text;
    for (const auto& entry : entries)
        text += entry.first.GetName() + "=" + entry.second.GetString() + "\n";
    return text;
}

// The host settings set to values that tell each option apart from its neighbours.
void UseDistinctSettings() {
    sglModelLoader::m_sbHealing = false;
    sglModelLoader::m_sbImportPoints = true;
    sglModelLoader::m_sbImportCurves = false;
    sglModelLoader::m_sbImportFreeFaces = true;
    sglModelLoader::m_sbImportNoShow = true;
    sglModelLoader::m_sbImportNoPick = false;
    sglModelLoader::m_sbMV4TranslateOnlyRootEntities = true;
}

// The common head under UseDistinctSettings().
Entries CommonHead() {
    return {Flag("TranslateAttributes", true),     Flag("Healing", false),
            Flag("TranslateFreePoints", true),     Flag("TranslateFreeCurves", false),
            Flag("TranslateFreeSurfaces", true),   Flag("TranslateSheetBodies", true),
            Flag("TranslateHiddenEntities", true), Flag("TranslateNoPicks", false),
            Flag("EnableWideCharacter", true)};
}

Entries Concat(Entries head, const Entries& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

class CadToolsOptions : public tamtest::HostCallbackTest {
protected:
    void SetUp() override {
        HostCallbackTest::SetUp();
        UseDistinctSettings();
    }

    static Entries EntityListSet(const wchar_t* type) {
        KVXIOptions options;
        EXPECT_TRUE(tam_cad_options::AddEntityListOptions(options, type).IsSuccess());
        return options.GetEntries();
    }
    static Entries EbomSet(const wchar_t* type, bool mirexV4) {
        KVXIOptions options;
        EXPECT_TRUE(tam_cad_options::AddEbomOptions(options, type, mirexV4).IsSuccess());
        return options.GetEntries();
    }
};

#define EXPECT_ENTRIES(actual, expected)                             \
    EXPECT_EQ(actual, expected) << "got:\n"                          \
                                << Describe(actual) << "expected:\n" \
                                << Describe(expected)

TEST_F(CadToolsOptions, EntityListSetPerSourceTagEbomSetWithMirexV4InstancesAsAssemblies) {
    const Entries plain;  // kernel files, unknown tags and tags of another case: the head alone
    const std::pair<const wchar_t*, Entries> cases[] = {
        {L"Orik", plain},
        {L"MIREXV4",
         {Flag("TranslateOnlyRootEntities", true), Flag("TranslateDittoAsAssembly", false),
          Flag("MirexV4.Brep.ExportDittoBodies", true), Flag("TranslateWorkPlanes", false)}},
        {L"IGES", {Flag("TranslateGroupAsAssemblies", true)}},
        {L"STEP", {Integer("OverrideFaceColorWithBodyColor", 1)}},
        {L"ProE", {Flag("TranslateWorkPlanes", false)}},
        {L"MIREXV5", plain},
        {L"step", plain},
        {L"STEP ", plain},
        {L"", plain},
    };
    for (const auto& [tag, tail] : cases) {
        SCOPED_TRACE(testing::Message() << "tag \"" << tag << "\"");
        EXPECT_ENTRIES(EntityListSet(tag),
                       Concat(Concat(CommonHead(), tail), {Representation("Brep+Assembly")}));
    }
    // The EBOM set keeps MirexV4 instances as assemblies; the MirexV4 flag wins over the tag.
    const Entries mirexV4 = {
        Integer("NumberOfProcessorsToUse", 1), Flag("TranslateOnlyRootEntities", true),
        Flag("TranslateDittoAsAssembly", true), Flag("MirexV4.Brep.ExportDittoBodies", false)};
    const Entries tail = {Flag("TranslateWorkPlanes", false), Representation("Assembly")};
    const Entries flagged =
        Concat(Concat(CommonHead(), mirexV4), Concat({Flag("EBOM.ImportParts", false)}, tail));
    EXPECT_ENTRIES(EbomSet(L"STEP", true), flagged);
    EXPECT_ENTRIES(EbomSet(L"MIREXV4", true), flagged);
    EXPECT_ENTRIES(EbomSet(L"MIREXV4", false), Concat(Concat(CommonHead(), mirexV4), tail));
}

TEST_F(CadToolsOptions, HeadAndTheMirexV4RootFlagFollowTheHostSettings) {
    const Entries before = EntityListSet(L"MIREXV4");
    sglModelLoader::m_sbHealing = true;
    sglModelLoader::m_sbImportPoints = false;
    sglModelLoader::m_sbImportCurves = true;
    sglModelLoader::m_sbImportFreeFaces = false;
    sglModelLoader::m_sbImportNoShow = false;
    sglModelLoader::m_sbImportNoPick = true;
    sglModelLoader::m_sbMV4TranslateOnlyRootEntities = false;
    const Entries after = EntityListSet(L"MIREXV4");
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        const bool follows = (i >= 1 && i <= 7) || i == 9;
        EXPECT_EQ(after[i].first, before[i].first);
        EXPECT_EQ(after[i].second != before[i].second, follows) << Describe({after[i]});
    }
}

}  // namespace
