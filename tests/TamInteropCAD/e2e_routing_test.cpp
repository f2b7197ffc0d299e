// CAD routing through the host registry, and the translations that load once and write through
// the registry's writers.
#include "e2e_support.h"

#include <TamInteropCAD/TamCADLoader.h>

#include <vector>

namespace {

using tamtest::RootPtr;
using tamtest::SceneOf;

// One call a recording handler received.
struct Call {
    std::wstring key;
    std::wstring path;
    unsigned int flags;
};

class RoutingTest : public tamtest::StoppedKernelTest {
protected:
    void SetUp() override {
        StoppedKernelTest::SetUp();
        Calls().clear();
        for (const wchar_t* key : {L"prt", L"prt_ug", L"asm", L"step", L"prtx", L"noextension"}) {
            const auto record = [name = std::wstring(key)](const std::wstring& path,
                                                           unsigned int flags) {
                Calls().push_back({name, path, flags});
                return nullptr;
            };
            sglModelLoader::registerModelLoader(key, record);
            sglModelLoader::registerEntitiesLoader(key, record);
        }
    }

    static std::vector<Call>& Calls() {
        static std::vector<Call> calls;
        return calls;
    }

    // The registry key LoadModelCAD and LoadEntitiesCAD chose for path (the same for both).
    static std::wstring RoutedKey(const wchar_t* path, unsigned int flags = 0x180) {
        Calls().clear();
        EXPECT_EQ(LoadModelCAD(path, flags), nullptr);
        EXPECT_EQ(CTamCADLoader::LoadEntitiesCAD(path, flags), nullptr);
        if (Calls().size() != 2)
            return L"<" + std::to_wstring(Calls().size()) + L" calls>";
        EXPECT_EQ(Calls()[0].key, Calls()[1].key);
        EXPECT_EQ(Calls()[0].path, path);
        EXPECT_EQ(Calls()[0].flags, flags);
        return Calls()[0].key;
    }
};

TEST_F(RoutingTest, PathPicksTheRegistryEntryFlagsPassUnchangedUnknownTypesGiveNull) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"/data/part.step", L"step"},
        {L"/data/part.STEP", L"step"},
        {L"/data/part.prtx", L"prtx"},  // merely beginning with "prt": its own key
        {L"NoExtension", L"noextension"},
        // A named ".prt" or ".asm" file in lower case, optionally with a numeric revision, is a
        // ProE document.
        {L"/data/bracket.prt.3", L"prt"},
        {L"C:\\data\\bracket.prt", L"prt"},
        {L"/data/top.asm.12", L"asm"},
        {L"C:\\data\\top.asm", L"asm"},
        // A part file in capitals or without a name is no ProE part; an assembly in capitals
        // goes by its own extension.
        {L"C:\\data\\BRACKET.PRT", L"prt_ug"},
        {L"/data/Bracket.Prt", L"prt_ug"},
        {L"/data/.prt", L"prt_ug"},
        {L"/data/.PRT", L"prt_ug"},
        {L"C:\\data\\TOP.ASM", L"asm"},
    };
    for (const auto& [path, key] : cases)
        EXPECT_EQ(RoutedKey(path), key) << path;
    for (unsigned int flags : {0u, 0x80u, 0x100u, 0x180u, 0x200u, 3u})
        EXPECT_EQ(RoutedKey(L"/data/part.step", flags), L"step") << flags;
    // An unknown type gives null and one message.
    Messages().clear();
    EXPECT_EQ(LoadModelCAD(L"/data/part.unknown", 0), nullptr);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(LoadModelCAD(nullptr, 0), nullptr);
}

// The registry entries of a host whose kernel files go to the library, counting entity loads
// and recording every write in order.
class TranslateTest : public tamtest::StoppedKernelTest {
protected:
    void SetUp() override {
        StoppedKernelTest::SetUp();
        Loads() = 0;
        Writes().clear();
        sglModelLoader::registerEntitiesLoader(L"okt",
                                               [](const std::wstring& path, unsigned int flags) {
                                                   ++Loads();
                                                   EXPECT_EQ(flags, 3u);
                                                   return static_cast<void*>(loadEntitiesOKT(path));
                                               });
        for (const wchar_t* key : {L"okt", L"okb", L"step"}) {
            sglModelLoader::registerModelWriter(key, [](const std::wstring& path, void* entities) {
                Writes().push_back({path, entities});
                return writeModelOKB(path, static_cast<ENTITY_LIST*>(entities));
            });
        }
    }

    struct Write {
        std::wstring path;
        void* entities;
    };
    static int& Loads() {
        static int loads = 0;
        return loads;
    }
    static std::vector<Write>& Writes() {
        static std::vector<Write> writes;
        return writes;
    }
};

TEST_F(TranslateTest, OneTargetIsWrittenFromAReadableSourceOnlyAndTheKernelStopped) {
    const std::wstring target = Scratch("copy.okb");
    EXPECT_TRUE(Translate(tamtest::SampleOkt().c_str(), target.c_str()));
    EXPECT_TRUE(tamtest::FileHasContent(target));
    EXPECT_EQ(Loads(), 1);
    EXPECT_FALSE(api_modeller_running());
    // An unreadable source writes nothing.
    const std::wstring other = Scratch("other.okb");
    EXPECT_FALSE(Translate(tamtest::InvalidData("e2e_empty.okt").c_str(), other.c_str()));
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_FALSE(tamtest::fs::exists(other));
    EXPECT_FALSE(api_modeller_running());
}

TEST_F(TranslateTest, ThreeTargetsInOrderFromOneLoadNoneFromAnEmptyListOrAnUnreadableSource) {
    std::list<std::wstring> targets{Scratch("a.okt"), Scratch("b.step"), Scratch("c.okb")};
    const RootPtr root(TranslateInListFile(tamtest::SampleOkt(), &targets));
    ASSERT_NE(root, nullptr);
    EXPECT_NE(SceneOf(root), nullptr);
    EXPECT_EQ(Loads(), 1);
    ASSERT_EQ(Writes().size(), 3u);
    auto expected = targets.begin();
    for (const Write& write : Writes()) {
        EXPECT_EQ(write.path, *expected++);
        EXPECT_EQ(write.entities, Writes()[0].entities);
        EXPECT_TRUE(tamtest::FileHasContent(write.path));
    }
    EXPECT_FALSE(api_modeller_running());
    // An empty target list still gives the scene graph; an unreadable source a root without one.
    Writes().clear();
    std::list<std::wstring> none;
    EXPECT_NE(SceneOf(RootPtr(TranslateInListFile(tamtest::SampleOkt(), &none))), nullptr);
    const RootPtr unread(TranslateInListFile(tamtest::InvalidData("e2e_empty.okt"), &targets));
    ASSERT_NE(unread, nullptr);
    EXPECT_EQ(SceneOf(unread), nullptr);
    EXPECT_TRUE(Writes().empty());
}

}  // namespace
