#include <gtest/gtest.h>

#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamDBRoot.h>

#include <stdexcept>

#include "messages.h"

using namespace tamtest;

namespace {

struct Call {
    std::wstring handler;
    std::wstring path;
    unsigned int flags;
};

std::vector<Call>& Calls() {
    static std::vector<Call> calls;
    return calls;
}

sglModelLoader::ModelLoadHandler ModelHandler(const std::wstring& name) {
    return [name](const std::wstring& path, unsigned int flags) -> void* {
        Calls().push_back({name, path, flags});
        auto* root = new CTamDBRoot;
        root->SetSglRoot(new sglGroup);
        return root;
    };
}

int gEntities = 0;

class RegistryTest : public RegistryFixture {
protected:
    void SetUp() override {
        RegistryFixture::SetUp();
        Calls().clear();
    }
};

}  // namespace

TEST_F(RegistryTest, ExtensionKeysAreLowerCasedAndUnregisteringRemovesTheirHandlers) {
    EXPECT_EQ(sglModelLoader::extensionKey(L"C:\\a\\Part.STEP"), L"step");
    EXPECT_EQ(sglModelLoader::extensionKey(L"a.b.Prt"), L"prt");
    EXPECT_EQ(sglModelLoader::extensionKey(L"dir.v2\\README"), L"v2\\readme");
    EXPECT_EQ(sglModelLoader::extensionKey(L"NoDot"), L"nodot");
    EXPECT_EQ(sglModelLoader::extensionKey(L"trailing."), L"");
    sglModelLoader::registerModelLoader(L"okt", ModelHandler(L"okt"));
    sglModelLoader::registerModelWriter(L"okt", [](const std::wstring&, void*) { return true; });
    sglModelLoader::registerModelLoader(L"okt", nullptr);
    EXPECT_FALSE(sglModelLoader::hasModelLoader(L"okt"));
    EXPECT_TRUE(sglModelLoader::hasModelWriter(L"OKT"));
    EXPECT_TRUE(sglModelLoader::unregisterExtension(L"Okt"));
    EXPECT_FALSE(sglModelLoader::hasModelWriter(L"okt"));
    EXPECT_FALSE(sglModelLoader::unregisterExtension(L"okt"));
    EXPECT_FALSE(sglModelLoader::hasEntitiesLoader(L"okt"));
}

TEST_F(RegistryTest, LoadsRouteByLowerCasedExtensionToTheirOwnHandlersWhichMayCallItAgain) {
    sglModelLoader::registerModelLoader(L"STEP", ModelHandler(L"step"));
    sglModelLoader::registerModelLoader(L"okt", ModelHandler(L"okt"));
    sglModelLoader::registerModelLoader(L"prt", [](const std::wstring& path, unsigned int flags) {
        return sglModelLoader::loadModelFromExtension(path, L"OKT", flags);
    });
    EXPECT_TRUE(sglModelLoader::hasModelLoader(L"step"));

    void* result = sglModelLoader::loadModel(L"C:\\models\\Box.StEp", 0x83);
    ASSERT_NE(result, nullptr);
    delete static_cast<CTamDBRoot*>(result);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].handler, L"step");
    EXPECT_EQ(Calls()[0].path, L"C:\\models\\Box.StEp");
    EXPECT_EQ(Calls()[0].flags, 0x83u);

    result = sglModelLoader::loadModel(L"part.prt", 3);
    ASSERT_NE(result, nullptr);
    delete static_cast<CTamDBRoot*>(result);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1].handler, L"okt");
    EXPECT_TRUE(Messages().empty());
    // Entity loads and writes have their own handlers.
    sglModelLoader::registerEntitiesLoader(L"okb", [](const std::wstring&, unsigned int flags) {
        return flags == 3 ? static_cast<void*>(&gEntities) : nullptr;
    });
    void* written = nullptr;
    sglModelLoader::registerModelWriter(L"igs", [&written](const std::wstring&, void* entities) {
        written = entities;
        return true;
    });
    EXPECT_EQ(sglModelLoader::loadEntities(L"p.OKB", 3), &gEntities);
    EXPECT_EQ(sglModelLoader::loadEntitiesFromExtension(L"p.x", L"okb", 3), &gEntities);
    EXPECT_TRUE(sglModelLoader::writeModel(L"out.IGS", &gEntities));
    EXPECT_EQ(written, &gEntities);
    // A key with only an entity loader has no model loader.
    EXPECT_EQ(sglModelLoader::loadModel(L"p.okb", 3), nullptr);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(RegistryTest, UnknownKeysAndThrowingHandlersGiveNullAndOneMessage) {
    EXPECT_EQ(sglModelLoader::loadModel(L"a.xyz", 0), nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].second, 0u);
    EXPECT_NE(Messages()[0].first.find(L"\"xyz\""), std::wstring::npos);

    Messages().clear();
    EXPECT_EQ(sglModelLoader::loadEntitiesFromExtension(L"a.step", L"prt_ug", 3), nullptr);
    EXPECT_EQ(sglModelLoader::loadEntities(L"a.step", 3), nullptr);
    EXPECT_FALSE(sglModelLoader::writeModel(L"out.igs", &gEntities));
    EXPECT_EQ(Messages().size(), 3u);

    sglModelLoader::registerModelLoader(L"bad", [](const std::wstring&, unsigned int) -> void* {
        throw std::runtime_error("plug-in failure");
    });
    sglModelLoader::registerModelWriter(L"bad",
                                        [](const std::wstring&, void*) -> bool { throw 42; });
    EXPECT_EQ(sglModelLoader::loadModel(L"x.bad", 0), nullptr);
    EXPECT_FALSE(sglModelLoader::writeModel(L"x.bad", nullptr));
    EXPECT_EQ(Messages().size(), 5u);
}
