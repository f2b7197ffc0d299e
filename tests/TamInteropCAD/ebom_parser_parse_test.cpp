// CTamEBOMParser's driver: the whole import, cancellation, the fallback message and the host
// flags, damaged and deeply nested EBOMs, first-line stripping, copies and the destructor.
#include "ebom_parser_test_support.h"
#include "file_bytes.h"

namespace {

using namespace tamtest;

class EbomParseTest : public EbomTest {
protected:
    // Bolt placed twice at the top, Nut once inside the sub-assembly Sub at (100, 0, 0).
    std::wstring TwoPartEbom(bool nutExists = true) {
        m_bolt = WritePart("bolt.okt", 1.0);
        m_nut = nutExists ? WritePart("nut.okt", 2.0) : File("gone.okt");
        return WriteEbom(Ebom(
            Top(L"Bolt.1", L"bolt", Position(0, 0, 0)) +
                Top(L"Bolt.2", L"bolt", Position(10, 0, 0)) +
                Top(L"Sub", L"sub", Position(100, 0, 0), Child(L"Nut", L"nut", Position(0, 5, 0))),
            Reference(L"bolt", m_bolt) + Reference(L"nut", m_nut),
            Document(L"okt", L"bolt", m_bolt) + Document(L"okt", L"nut", m_nut)));
    }
    static sglGroup* Scene(const RootPtr& root) {
        return dynamic_cast<sglGroup*>(root->GetSglRoot());
    }
    std::wstring m_bolt, m_nut;
};

TEST_F(EbomParseTest, BuildsOneTransformPerInstanceAndDeletesTheFilesItWasGiven) {
    const std::wstring ebom = TwoPartEbom();
    const RootPtr root = ParseEbom(ebom);
    ASSERT_NE(root, nullptr);
    sglGroup* assembly = Scene(root);
    EXPECT_EQ(assembly->getName(), L"Asm");
    ASSERT_EQ(assembly->getNumChildren(), 3u);
    EXPECT_EQ(assembly->getChild(2)->getName(), L"Sub");
    EXPECT_EQ(dynamic_cast<sglGroup*>(assembly->getChild(2))->getChild(0)->getName(), L"Nut");
    // The nut, a 2 mm cube, at (100, 5, 0).
    EXPECT_EQ(assembly->getChild(2)->getBound().getMin(), sglVec3<float>(100, 5, 0));
    EXPECT_EQ(assembly->getBound().getMax(), sglVec3<float>(102, 7, 2));
    EXPECT_NE(root->GetXMLDoc(), nullptr);
    for (const std::wstring& file : {m_bolt, m_nut, ebom})
        EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(sglModelLoader::m_sbIsAssembly);
}

TEST_F(EbomParseTest, CancelReturnsNullAndTouchesNothingAndNoProductXmlLeavesNoDocument) {
    sglModelLoader::m_sbCancelImport = sglModelLoader::m_sbMergeFileInOneActor = true;
    sglModelLoader::m_sbShowMessageNoEntities = true;
    EXPECT_EQ(ParseEbom(TwoPartEbom()), nullptr);
    EXPECT_TRUE(fs::exists(m_bolt));
    EXPECT_TRUE(LoadedPaths().empty() && Messages().empty());
    EXPECT_TRUE(sglModelLoader::m_sbMergeFileInOneActor &&
                sglModelLoader::m_sbShowMessageNoEntities);

    sglModelLoader::m_sbCancelImport = false;
    const RootPtr root = ParseEbom(TwoPartEbom(), [](auto& p) { p.SetCreateRVD(false); });
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetXMLDoc(), nullptr);
    EXPECT_EQ(Scene(root)->getNumChildren(), 3u);
}

TEST_F(EbomParseTest, MergeFlagIsOffWhileLoadingAndAsSetWhileMeshingAThrowingStageRestoresIt) {
    static Texts seen;
    seen.clear();
    sglModelLoader::s_callbackProgress = [](float, const wchar_t* text) {
        if (text != nullptr && (!*text || std::wstring(text).rfind(L"Mesh ", 0) == 0))
            seen.push_back(text + std::to_wstring(sglModelLoader::m_sbMergeFileInOneActor));
    };
    sglModelLoader::m_sbMergeFileInOneActor = true;
    const RootPtr root = ParseEbom(TwoPartEbom());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(seen, (Texts{L"0", L"0", L"Mesh bolt.okt1", L"Mesh nut.okt1"}));
    EXPECT_TRUE(sglModelLoader::m_sbMergeFileInOneActor);
    // Merged: one geode per look instead of one per face.
    EXPECT_EQ(Geodes(Scene(root)->getChild(0)).size(), 1u);
    // A stage that throws gives one fallback message and restores both flags.
    sglModelLoader::s_callbackProgress = [](float, const wchar_t* text) {
        if (text != nullptr && std::wstring(text).rfind(L"Mesh ", 0) == 0)
            throw std::bad_alloc();
    };
    sglModelLoader::m_sbMergeFileInOneActor = sglModelLoader::m_sbShowMessageNoEntities = true;
    EXPECT_EQ(ParseEbom(TwoPartEbom()), nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text,
              L"*** ERROR *** : Loading assembly error, trying with flat method...");
    EXPECT_EQ(Messages()[0].code, 8u);
    EXPECT_TRUE(sglModelLoader::m_sbMergeFileInOneActor &&
                sglModelLoader::m_sbShowMessageNoEntities);
}

TEST_F(EbomParseTest, NestingBeyondTheLimitOrDamageGivesOneMessageAMissingPartLosesItsLeaves) {
    // Levels of S below one top instance, the last holding a leaf; with positions each level
    // moves by 1 in z, without them the damaged file stays small.
    auto nested = [this](int depth, bool placed) {
        const std::wstring bolt = WritePart("bolt.okt", 1.0);
        const std::wstring open = L"<Child Name=\"S\">" + (placed ? Position(0, 0, 1) : L"");
        std::wstring text;
        for (int i = 0; i < depth; ++i)
            text += open;
        text += Child(L"Leaf", L"p", Position(0, 0, 1));
        for (int i = 0; i < depth; ++i)
            text += L"</Child>";
        return PartEbom(Top(L"Top", L"t", Position(0, 0, 0), text), bolt);
    };
    // Root's children are level 0: 998 levels of S and the leaf fit, 100,000 do not.
    RootPtr root = ParseEbom(nested(TAM_EBOM_MAX_NESTING - 2, true));
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FLOAT_EQ(root->GetSglRoot()->getBound().getMax()[2], TAM_EBOM_MAX_NESTING);

    root = ParseEbom(nested(100000, false));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find(L"1000 levels"), std::wstring::npos);
    std::vector<sglTransform<float>*> transforms;
    Collect(root->GetSglRoot(), transforms);
    EXPECT_EQ(transforms.size(), TAM_EBOM_MAX_NESTING);
    // A damaged EBOM gives one message, one without structure none.
    const std::wstring bolt = WritePart("bolt.okt", 1.0);
    const std::vector<std::pair<std::wstring, size_t>> cases = {
        {L"<EBOM><Document Type=\"Assembly\"><Exposition>", 1},  // cut short
        {L"", 1},
        {L"<EBOM/><EBOM/>", 1},
        {Ebom(L"", Reference(L"b", bolt), Document(L"okt", L"b", bolt)), 0},
        {Ebom(Top(L"B", L"b", Position(0, 0, 0)), L"", Document(L"okt", L"b", bolt)), 0},
        {L"<EBOM><Document Type=\"Assembly\"/></EBOM>", 0},
    };
    for (const auto& [body, messages] : cases) {
        Messages().clear();
        EXPECT_EQ(ParseEbom(WriteEbom(body)), nullptr) << body;
        EXPECT_EQ(Messages().size(), messages) << body;
    }
    EXPECT_EQ(ParseEbom(File("missing.xml")), nullptr);
    EXPECT_NE(Messages().back().text.find(L"cannot be read"), std::wstring::npos);
    root = ParseEbom(TwoPartEbom(false));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(LeafTransforms(root->GetSglRoot()), 2u);
    EXPECT_EQ(Scene(root)->getNumChildren(), 3u) << "Sub keeps its transform";
}

TEST_F(EbomParseTest, XsetSuffixIsCutAfterTheFirstCharacterFirstLineStrippedThroughTheWorkFolder) {
    CTamEBOMParser parser(File("unused.xml").c_str(), L"", nullptr);
    for (auto [name, expected] :
         std::vector<std::pair<std::wstring, std::wstring>>{{L"Gear_xSET", L"Gear"},
                                                            {L"Bolt_xSET_2", L"Bolt"},
                                                            {L"_xSET", L"_xSET"},
                                                            {L"Gear", L"Gear"},
                                                            {L"A_xSETb_xSET", L"A"},
                                                            {L"Gear_xset", L"Gear_xset"},
                                                            {L"", L""}}) {
        parser.Remove_xSETInMirexV4Name(name);
        EXPECT_EQ(name, expected);
    }
    const std::wstring path = File("f.xml");
    // (body, declaration line first, bytes left); no line feed at all leaves the file as it was.
    for (const auto& [body, declared, left] :
         std::vector<std::tuple<std::wstring, bool, std::string>>{
             {L"<a/>", true, std::string("<\0a\0/\0>\0", 8)},
             {L"", true, ""},
             {L"<a/>", false, std::string("\xFF\xFE<\0a\0/\0>\0", 10)}}) {
        WriteUtf16(path, body, declared);
        parser.DeleteFirstLine(path);
        EXPECT_EQ(tamtest::readFile(path), left);
    }
    EXPECT_TRUE(fs::exists(File("tmp.xml")));
    parser.DeleteFirstLine(File("absent.xml"));
    EXPECT_FALSE(fs::exists(File("absent.xml")));
}

TEST_F(EbomParseTest, CopiesShareTheFileAndFlagsAndHoldTheirOwnNodeReferences) {
    const std::wstring ebom = TwoPartEbom();
    RootPtr root;
    {
        auto original = std::make_unique<CTamEBOMParser>(ebom.c_str(), L"/src/asm.stp", &loader);
        root.reset(original->Parse());
        CTamEBOMParser copy(*original);
        CTamEBOMParser assigned(File("other.xml").c_str(), L"", &loader);
        assigned = copy;
        const CTamEBOMParser& itself = assigned;  // a self-assignment keeps what it holds
        assigned = itself;
        original.reset();
        EXPECT_TRUE(fs::exists(ebom) && sglModelLoader::m_sbIsAssembly) << "copies still use them";
    }
    EXPECT_FALSE(fs::exists(ebom) || sglModelLoader::m_sbIsAssembly);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(LeafTransforms(root->GetSglRoot()), 3u) << "the clones outlive every parser";

    // A parser never parsed, without loader, still removes its EBOM.
    WriteUtf16(ebom, L"<EBOM/>");
    { CTamEBOMParser unused(ebom.c_str(), L"", nullptr); }
    EXPECT_FALSE(fs::exists(ebom));
}

}  // namespace
