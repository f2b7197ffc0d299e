// CTamEBOMParser's driver: the whole import, cancellation, the fallback message, the host flags,
// damaged and deeply nested EBOMs, the first-line stripping, copies and the destructor.
#include "ebom_parser_test_support.h"

namespace {

using namespace tamtest;

// Two parts: Bolt placed twice at the top, Nut once inside the sub-assembly Sub.
std::wstring TwoPartEbom(const std::wstring& boltPath, const std::wstring& nutPath) {
    return Ebom(
        Top(L"Bolt.1", L"bolt", Position(0, 0, 0)) + Top(L"Bolt.2", L"bolt", Position(10, 0, 0)) +
            Top(L"Sub", L"sub", Position(100, 0, 0), Child(L"Nut.1", L"nut", Position(0, 5, 0))),
        Reference(L"bolt", boltPath) + Reference(L"nut", nutPath),
        Document(L"okt", L"bolt", boltPath) + Document(L"okt", L"nut", nutPath));
}

class EbomParseTest : public EbomTest {
protected:
    std::wstring WriteTwoPartEbom() {
        m_bolt = WritePart("bolt.okt", 1.0, L"Bolt");
        m_nut = WritePart("nut.okt", 2.0, L"Nut");
        return WriteEbom(TwoPartEbom(m_bolt, m_nut));
    }
    std::wstring m_bolt;
    std::wstring m_nut;
};

TEST_F(EbomParseTest, BuildsOneTransformPerInstanceAndDeletesTheFilesItWasGiven) {
    const std::wstring ebom = WriteTwoPartEbom();
    const RootPtr root = ParseEbom(ebom);
    ASSERT_NE(root, nullptr);
    auto* assembly = dynamic_cast<sglGroup*>(root->GetSglRoot());
    ASSERT_NE(assembly, nullptr);
    EXPECT_EQ(assembly->getName(), L"Asm");
    ASSERT_EQ(assembly->getNumChildren(), 3u);
    std::vector<std::wstring> names;
    for (unsigned int i = 0; i < 3; ++i)
        names.push_back(assembly->getChild(i)->getName());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Bolt.1", L"Bolt.2", L"Sub"}));
    auto* sub = dynamic_cast<sglGroup*>(assembly->getChild(2));
    ASSERT_EQ(sub->getNumChildren(), 1u);
    EXPECT_EQ(sub->getChild(0)->getName(), L"Nut.1");

    // The nut (2 mm cube) sits at (100, 5, 0) in the world.
    const sglBoxBound bounds = sub->getBound();
    EXPECT_FLOAT_EQ(bounds.getMin()[0], 100.0f);
    EXPECT_FLOAT_EQ(bounds.getMin()[1], 5.0f);
    const sglBoxBound world = assembly->getBound();
    EXPECT_FLOAT_EQ(world.getMax()[0], 102.0f);
    EXPECT_FLOAT_EQ(world.getMax()[1], 7.0f);

    EXPECT_NE(root->GetXMLDoc(), nullptr);
    EXPECT_FALSE(fs::exists(m_bolt));
    EXPECT_FALSE(fs::exists(m_nut));
    EXPECT_FALSE(fs::exists(ebom)) << "the parser deletes the EBOM when it goes";
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(sglModelLoader::m_sbIsAssembly);
}

TEST_F(EbomParseTest, CancelReturnsNullAndTouchesNothing) {
    const std::wstring ebom = WriteTwoPartEbom();
    sglModelLoader::m_sbCancelImport = true;
    sglModelLoader::m_sbMergeFileInOneActor = true;
    sglModelLoader::m_sbShowMessageNoEntities = true;
    {
        CTamEBOMParser parser(ebom.c_str(), L"/src/asm.stp", &loader);
        EXPECT_EQ(parser.Parse(), nullptr);
        EXPECT_TRUE(fs::exists(m_bolt));
        EXPECT_TRUE(LoadedPaths().empty());
    }
    EXPECT_TRUE(sglModelLoader::m_sbMergeFileInOneActor);
    EXPECT_TRUE(sglModelLoader::m_sbShowMessageNoEntities);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EbomParseTest, WithoutProductXmlTheRootCarriesNoDocument) {
    const RootPtr root =
        ParseEbom(WriteTwoPartEbom(), [](CTamEBOMParser& parser) { parser.SetCreateRVD(false); });
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetXMLDoc(), nullptr);
    EXPECT_EQ(dynamic_cast<sglGroup*>(root->GetSglRoot())->getNumChildren(), 3u);
}

// Progress texts seen with the merge flag as it read at that moment.
std::vector<std::pair<std::wstring, bool>>& MergeFlagSeen() {
    static std::vector<std::pair<std::wstring, bool>> seen;
    return seen;
}

TEST_F(EbomParseTest, MergeFlagIsOffWhileLoadingAndAsTheHostSetItWhileMeshing) {
    const std::wstring ebom = WriteTwoPartEbom();
    MergeFlagSeen().clear();
    sglModelLoader::s_callbackProgress = [](float, const wchar_t* text) {
        if (text == nullptr)
            return;
        const std::wstring seen = text;
        if (seen.empty() || seen.rfind(L"Mesh ", 0) == 0)
            MergeFlagSeen().emplace_back(seen, sglModelLoader::m_sbMergeFileInOneActor);
    };
    sglModelLoader::m_sbMergeFileInOneActor = true;
    const RootPtr root = ParseEbom(ebom);
    ASSERT_NE(root, nullptr);
    const std::vector<std::pair<std::wstring, bool>> expected = {
        {L"", false}, {L"", false}, {L"Mesh bolt.okt", true}, {L"Mesh nut.okt", true}};
    EXPECT_EQ(MergeFlagSeen(), expected);
    EXPECT_TRUE(sglModelLoader::m_sbMergeFileInOneActor);
}

TEST_F(EbomParseTest, AStageThatThrowsGivesOneFallbackMessageAndRestoresBothFlags) {
    const std::wstring ebom = WriteTwoPartEbom();
    sglModelLoader::s_callbackProgress = [](float, const wchar_t* text) {
        if (text != nullptr && std::wstring(text).rfind(L"Mesh ", 0) == 0)
            throw std::bad_alloc();
    };
    sglModelLoader::m_sbMergeFileInOneActor = true;
    sglModelLoader::m_sbShowMessageNoEntities = true;
    EXPECT_EQ(ParseEbom(ebom), nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text,
              L"*** ERROR *** : Loading assembly error, trying with flat method...");
    EXPECT_EQ(Messages()[0].code, 8u);
    EXPECT_TRUE(sglModelLoader::m_sbMergeFileInOneActor);
    EXPECT_TRUE(sglModelLoader::m_sbShowMessageNoEntities);
}

TEST_F(EbomParseTest, DamagedOrMissingEbomGivesOneMessageAndNoModel) {
    const std::vector<std::wstring> damaged = {
        L"<EBOM><Document Type=\"Assembly\"><Exposition>",  // cut short
        L"",                                                // nothing after the declaration
        L"<EBOM/><EBOM/>",                                  // two document elements
    };
    for (const std::wstring& body : damaged) {
        Messages().clear();
        EXPECT_EQ(ParseEbom(WriteEbom(body)), nullptr);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].code, 0u);
        EXPECT_NE(Messages()[0].text.find(L"cannot be read"), std::wstring::npos);
    }
    Messages().clear();
    EXPECT_EQ(ParseEbom(File("missing.xml")), nullptr);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(EbomParseTest, EbomWithoutStructureGivesNoModelWithoutMessage) {
    const std::wstring bolt = WritePart("bolt.okt", 1.0);
    for (const std::wstring& body :
         {Ebom(L"", Reference(L"bolt", bolt), Document(L"okt", L"bolt", bolt)),
          Ebom(Top(L"B", L"bolt", Position(0, 0, 0)), L"", Document(L"okt", L"bolt", bolt)),
          std::wstring(L"<EBOM><Document Type=\"Assembly\"/></EBOM>")}) {
        EXPECT_EQ(ParseEbom(WriteEbom(body)), nullptr);
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EbomParseTest, MissingPartFileLeavesOnlyItsInstancesOut) {
    m_bolt = WritePart("bolt.okt", 1.0);
    const RootPtr root = ParseEbom(WriteEbom(TwoPartEbom(m_bolt, File("gone.okt"))));
    ASSERT_NE(root, nullptr);
    auto* assembly = dynamic_cast<sglGroup*>(root->GetSglRoot());
    ASSERT_EQ(assembly->getNumChildren(), 3u);
    EXPECT_EQ(dynamic_cast<sglGroup*>(assembly->getChild(2))->getNumChildren(), 0u)
        << "the sub-assembly keeps its transform, without the missing nut";
}

// Instances nested `depth` levels deep below one top-level instance, the deepest placing bolt.
// Placed without Position (the identity), the levels keep a damaged file small.
std::wstring NestedEbom(int depth, const std::wstring& bolt, bool placed) {
    const std::wstring inner = Child(L"Leaf", L"bolt", Position(0, 0, 1));
    const std::wstring open = L"<Child Name=\"S\">" + (placed ? Position(0, 0, 1) : L"");
    std::wstring text;
    text.reserve(static_cast<size_t>(depth) * (open.size() + 10) + inner.size());
    for (int i = 0; i < depth; ++i)
        text += open;
    text += inner;
    for (int i = 0; i < depth; ++i)
        text += L"</Child>";
    return Ebom(Top(L"Top", L"top", Position(0, 0, 0), text), Reference(L"bolt", bolt),
                Document(L"okt", L"bolt", bolt));
}

TEST_F(EbomParseTest, NestingBeyondTheLimitIsRefusedWithOneMessage) {
    const std::wstring bolt = WritePart("bolt.okt", 1.0);
    const RootPtr root = ParseEbom(WriteEbom(NestedEbom(100000, bolt, false)));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find(L"1000 levels"), std::wstring::npos);
    std::vector<sglTransform<float>*> transforms;
    Collect(root->GetSglRoot(), transforms);
    EXPECT_EQ(transforms.size(), TAM_EBOM_MAX_NESTING);
}

TEST_F(EbomParseTest, NestingUpToTheLimitIsBuilt) {
    const std::wstring bolt = WritePart("bolt.okt", 1.0);
    // The top instance is level 0, so TAM_EBOM_MAX_NESTING - 2 Child levels and the leaf fit.
    const RootPtr root = ParseEbom(WriteEbom(NestedEbom(TAM_EBOM_MAX_NESTING - 2, bolt, true)));
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FLOAT_EQ(root->GetSglRoot()->getBound().getMax()[2], TAM_EBOM_MAX_NESTING);
}

TEST_F(EbomParseTest, XsetSuffixIsCutAfterTheFirstCharacter) {
    CTamEBOMParser parser(File("a.xml").c_str(), L"", nullptr);
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"Gear_xSET", L"Gear"},      {L"Bolt_xSET_2", L"Bolt"},
        {L"_xSET", L"_xSET"},         {L"_xSET1", L"_xSET1"},
        {L"Gear", L"Gear"},           {L"A_xSETb_xSET", L"A"},
        {L"Gear_xset", L"Gear_xset"}, {L"", L""},
    };
    for (const auto& [name, expected] : cases) {
        std::wstring text = name;
        parser.Remove_xSETInMirexV4Name(text);
        EXPECT_EQ(text, expected) << name;
    }
}

std::string Bytes(const std::wstring& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(EbomParseTest, FirstLineIsStrippedThroughTheWorkFolder) {
    CTamEBOMParser parser(File("unused.xml").c_str(), L"", nullptr);
    const std::wstring path = File("f.xml");
    // (body, declaration line first, bytes left)
    WriteUtf16(path, L"<a/>");
    parser.DeleteFirstLine(path);
    EXPECT_EQ(Bytes(path), std::string("<\0a\0/\0>\0", 8));
    EXPECT_TRUE(fs::exists(File("tmp.xml")));

    WriteUtf16(path, L"", true);  // the line feed is the last code unit
    parser.DeleteFirstLine(path);
    EXPECT_EQ(Bytes(path), "");

    WriteUtf16(path, L"<a/>", false);  // no line feed at all
    const std::string before = Bytes(path);
    parser.DeleteFirstLine(path);
    EXPECT_EQ(Bytes(path), before);

    parser.DeleteFirstLine(File("absent.xml"));
    EXPECT_FALSE(fs::exists(File("absent.xml")));
}

TEST_F(EbomParseTest, CopiesShareTheFileAndFlagsAndHoldTheirOwnNodeReferences) {
    const std::wstring ebom = WriteTwoPartEbom();
    RootPtr root;
    {
        auto original = std::make_unique<CTamEBOMParser>(ebom.c_str(), L"/src/asm.stp", &loader);
        root.reset(original->Parse());
        ASSERT_NE(root, nullptr);
        CTamEBOMParser copy(*original);
        CTamEBOMParser assigned(File("other.xml").c_str(), L"", &loader);
        assigned = copy;
        assigned = assigned;
        original.reset();
        EXPECT_TRUE(fs::exists(ebom)) << "copies still use it";
        EXPECT_TRUE(sglModelLoader::m_sbIsAssembly);
        EXPECT_EQ(copy.GetFileNameEBOM(), ebom);
    }
    EXPECT_FALSE(fs::exists(ebom));
    EXPECT_FALSE(sglModelLoader::m_sbIsAssembly);
    // The tree's clones outlive every parser.
    EXPECT_EQ(dynamic_cast<sglGroup*>(root->GetSglRoot())->getNumChildren(), 3u);
}

TEST_F(EbomParseTest, DestroyingAnUnusedParserRemovesTheEbomAndLeavesANullLoaderAlone) {
    const std::wstring ebom = WriteEbom(L"<EBOM/>");
    {
        CTamEBOMParser parser(ebom.c_str(), L"", nullptr);
        EXPECT_TRUE(sglModelLoader::m_sbIsAssembly);
    }
    EXPECT_FALSE(fs::exists(ebom));
}

}  // namespace
