// Product XML written as the assembly import writes it, read back by CTamProductXmlReader.
#include <tamfoundations/CTamProductXmlReader.h>
#include <tamfoundations/CTamSGToXML.h>

#include <tamsg/sglGroup.h>
#include <tamsg/sglTransform.h>
#include <tamtools/CTamPropColor.h>
#include <tamtools/CTamPropString.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include "foundations_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using NodePtr = std::shared_ptr<CTamXmlParserNode>;

// Writes one assembly node: frame, name, color, one metadata entry, as the import does.
void AddNode(const NodePtr& element, const sglTransform<float>* placement,
             const std::wstring& name) {
    const NodePtr neutral = element->AddNode(L"Neutral");
    neutral->AddNode(L"Meta.PartNumber")->AddAttribute(L"Value", L"PN-" + name);
    if (placement != nullptr && !placement->isIdentity())
        CTamSGToXML::AddFrame(neutral->AddNode(L"Actor.Location"), placement->getMatrix(),
                              L"Frame");
    CTamPropString label(L"Actor.Name");
    label.SetValue(name);
    label.Save(neutral);
    CTamPropColor color(L"Actor.Color");
    color.SetValue(CTamColor(255, 128, 0, 255));
    color.Save(neutral);
    element->AddAttribute(L"Ident", L"{" + name + L"}");
}

sglTransform<float>* Placed(float x, float y, float z) {
    auto* transform = new sglTransform<float>;
    sglMat4<float> matrix = sglMat4<float>::translation(sglVec3<float>(x, y, z));
    matrix[0] = 0.0f;  // a quarter turn about z, so rotations travel too
    matrix[1] = 1.0f;
    matrix[4] = -1.0f;
    matrix[5] = 0.0f;
    transform->setMatrix(matrix);
    return transform;
}

// Root "Assembly" > sub-assembly "Sub" (at 10,0,0) > leaves "Bolt.1" and "Bolt.2", and a
// top-level leaf "Nut" at the identity. Leaf geometry goes to the side file `sideFile`
// (inline when empty). Returns the scene the XML describes.
sglGroup* WriteAssembly(CTamXmlParserDocu& document, const std::wstring& sideFile) {
    const NodePtr top = document.initialize()->AddNode(L"DocumentRVD");
    const NodePtr server = top->AddNode(L"Server");
    server->AddAttribute(L"Type", L"CTamServerModifiable");
    const NodePtr rootElement = server->AddNode(L"CTamAssyRoot");
    AddNode(rootElement, nullptr, L"Assembly");
    top->AddNode(L"Server")->AddAttribute(L"Type", L"CTamList");

    auto* root = new sglGroup;
    root->setName(L"Assembly");
    sglTransform<float>* sub = Placed(10, 0, 0);
    sub->setName(L"Sub");
    const NodePtr subElement = rootElement->AddNode(L"CTamAssyGroup");
    AddNode(subElement, sub, L"Sub");
    sglGroup* part = new sglGroup;
    part->ref();
    part->addChild(tamtest::MakeGeode(L"Face", {tamtest::MakeQuad(0, 1, 0, 0)}), true);
    const auto addLeaf = [&](sglGroup& parent, const NodePtr& parentElement,
                             sglTransform<float>* leaf, const std::wstring& name) {
        leaf->setName(name);
        leaf->addChild(part->clone(3), true);
        parent.addChild(leaf, true);
        const NodePtr element = parentElement->AddNode(L"CTamAssyGroup");
        AddNode(element, leaf, name);
        std::map<CString, unsigned int> fresh;
        CTamSGToXML::AddGeometryToXMLDoc(element, leaf->getChild(0), nullptr, sideFile, false, true,
                                         fresh);
    };
    addLeaf(*sub, subElement, Placed(0, 5, 0), L"Bolt.1");
    addLeaf(*sub, subElement, Placed(0, -5, 2.5f), L"Bolt.2");
    root->addChild(sub, true);
    addLeaf(*root, rootElement, new sglTransform<float>, L"Nut");
    part->unref();
    return root;
}

size_t Triangles(const sglNode* node) {
    size_t count = 0;
    if (const auto* geode = dynamic_cast<const sglGeode*>(node)) {
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i) {
            if (const auto* strips =
                    dynamic_cast<const sglMonoIndexedTriangleStripSet*>(geode->getGeometry(i)))
                count += strips->getNumTriangles();
        }
    }
    if (const auto* group = dynamic_cast<const sglGroup*>(node)) {
        for (unsigned int i = 0; i < group->getNumChildren(); ++i)
            count += Triangles(group->getChild(i));
    }
    return count;
}

// Same transforms (names, matrices within 1e-6 relative), same triangles below each.
void ExpectSameInstances(const sglGroup& expected, const sglGroup& actual) {
    EXPECT_EQ(actual.getName(), expected.getName());
    EXPECT_EQ(Triangles(&actual), Triangles(&expected)) << "below " << actual.getNumChildren();
    std::vector<const sglTransform<float>*> want, got;
    for (unsigned int i = 0; i < expected.getNumChildren(); ++i)
        if (auto* t = dynamic_cast<const sglTransform<float>*>(expected.getChild(i)))
            want.push_back(t);
    for (unsigned int i = 0; i < actual.getNumChildren(); ++i)
        if (auto* t = dynamic_cast<const sglTransform<float>*>(actual.getChild(i)))
            got.push_back(t);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(got[i]->getMatrix()[k], want[i]->getMatrix()[k],
                        1e-6 * std::max(1.0f, std::abs(want[i]->getMatrix()[k])));
        ExpectSameInstances(*want[i], *got[i]);
    }
}

class ProductXmlReaderTest : public ::testing::Test {
protected:
    void TearDown() override { CTamSGToXML::DiscardGeometryFiles(); }

    // Saves the document as "assembly.rvdxml" in the scratch folder with its side files.
    std::wstring Save(CTamXmlParserDocu& document) {
        EXPECT_TRUE(CTamSGToXML::WriteGeometryFiles(CString(m_scratch.folder())));
        const std::wstring path = m_scratch.file("assembly.rvdxml");
        EXPECT_TRUE(document.save(path));
        return path;
    }

    void WriteText(const std::string& name, const std::string& text) {
        std::ofstream(m_scratch.path() / name) << text;
    }

    tamtest::ScratchFolder m_scratch;
};

TEST_F(ProductXmlReaderTest, RoundTripKeepsInstancesNamesPlacementsAndTriangles) {
    for (const std::wstring sideFile : {L"", L"assembly.rvdGeom"}) {
        CTamXmlParserDocu document;
        sglGroup* expected = WriteAssembly(document, sideFile);
        expected->ref();
        CTamProductXmlReader reader;
        sglGroup* back = reader.Read(Save(document));
        ASSERT_NE(back, nullptr) << reader.GetLastError();
        back->ref();
        ExpectSameInstances(*expected, *back);
        EXPECT_EQ(Triangles(back), 6u);
        EXPECT_EQ(back->getChild(0)->getName(), L"Sub");
        const auto& metas = static_cast<sglGroup*>(back->getChild(0))->getMetaProperties();
        EXPECT_EQ(metas.count({L"PartNumber", L"PN-Sub"}), 1u);
        EXPECT_EQ(metas.count({L"Actor.Color", L"255 128 0 255"}), 1u);
        back->unref();
        expected->unref();
    }
}

// Nesting of `depth` assembly nodes below the root.
std::string Nested(size_t depth) {
    std::string text = "<DocumentRVD><Server Type=\"CTamServerModifiable\"><CTamAssyRoot>";
    text.reserve(text.size() + depth * 32);
    for (size_t i = 0; i < depth; ++i)
        text += "<CTamAssyGroup>";
    for (size_t i = 0; i < depth; ++i)
        text += "</CTamAssyGroup>";
    return text + "</CTamAssyRoot></Server></DocumentRVD>";
}

// A product XML whose root holds one instance per (name, IsInstanceOf) pair, at x = 1.
std::string Referring(const std::vector<std::pair<std::string, std::string>>& instances) {
    std::string text = "<DocumentRVD><Server Type=\"CTamServerModifiable\"><CTamAssyRoot>";
    for (const auto& instance : instances)
        text += "<CTamAssyGroup IsInstanceOf=\"" + instance.second +
                "\"><Neutral><Actor.Location><Frame Matrix=\"1 0 0 0 0 1 0 0 0 0 1 0 1 0 0 1\"/>"
                "</Actor.Location><Actor.Name Type=\"String\" Value=\"" +
                instance.first + "\"/></Neutral></CTamAssyGroup>";
    return text + "</CTamAssyRoot></Server></DocumentRVD>";
}

TEST_F(ProductXmlReaderTest, ReferencesAreFollowedOnceAndBrokenOnesLeaveTheirBranchEmpty) {
    CTamXmlParserDocu part;
    sglGroup* expected = WriteAssembly(part, L"");
    expected->ref();
    std::filesystem::create_directories(m_scratch.path() / "sub");
    EXPECT_TRUE(part.save(m_scratch.file("sub/part.rvdXml")));
    WriteText("sub/mid.rvdXml", Referring({{"P1", "part.rvdXml"},
                                           {"P2", "..\\sub\\part.rvdXml"},
                                           {"Loop", "../top.rvdXml"}}));
    WriteText("bad.rvdXml", "<DocumentRVD><Server");
    WriteText("top.rvdXml", Referring({{"M", "sub\\mid.rvdXml"},
                                       {"Gone", "missing.rvdXml"},
                                       {"Bad", "bad.rvdXml"},
                                       {"Gone2", "missing.rvdXml"}}));

    CTamProductXmlReader reader;
    sglGroup* back = reader.Read(m_scratch.file("top.rvdXml"));
    ASSERT_NE(back, nullptr) << reader.GetLastError();
    back->ref();
    ASSERT_EQ(back->getNumChildren(), 4u);
    const auto* mid = static_cast<const sglGroup*>(back->getChild(0));
    ASSERT_EQ(mid->getNumChildren(), 3u);
    for (unsigned int i = 0; i < 2; ++i) {
        // Both instances share the part's tree: its root's children, read once.
        const auto* p = static_cast<const sglGroup*>(mid->getChild(i));
        ASSERT_EQ(p->getNumChildren(), expected->getNumChildren());
        EXPECT_EQ(p->getChild(0), static_cast<const sglGroup*>(mid->getChild(0))->getChild(0));
        sglGroup copy;
        for (unsigned int k = 0; k < p->getNumChildren(); ++k)
            copy.addChild(p->getChild(k), true);
        copy.setName(L"Assembly");
        ExpectSameInstances(*expected, copy);
    }
    for (unsigned int i : {1u, 2u, 3u})
        EXPECT_EQ(static_cast<const sglGroup*>(back->getChild(i))->getNumChildren(), 0u);
    EXPECT_EQ(static_cast<const sglGroup*>(mid->getChild(2))->getNumChildren(), 0u);
    EXPECT_EQ(reader.GetFollowedReferences(), 3u);
    EXPECT_EQ(reader.GetUnfollowedReferences(), 4u);
    ASSERT_EQ(reader.GetWarnings().size(), 3u);
    const std::wstring expectedWarnings[] = {L"reference cycle: instance 'Loop'",
                                             L"missing.rvdXml' (instance 'Gone'): cannot be read",
                                             L"bad.rvdXml' (instance 'Bad'): cannot be read"};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NE(reader.GetWarnings()[i].find(expectedWarnings[i]), std::wstring::npos)
            << i << ": "
            << std::string(reader.GetWarnings()[i].begin(), reader.GetWarnings()[i].end());
    back->unref();
    expected->unref();
}

TEST_F(ProductXmlReaderTest, NestingUpToTheLimitReadsDeeperOrDamagedInputIsRefusedWithAReason) {
    WriteText("limit.rvdxml", Nested(CTamProductXmlReader::kMaxNestingDepth));
    CTamProductXmlReader reader;
    sglGroup* back = reader.Read(m_scratch.file("limit.rvdxml"));
    ASSERT_NE(back, nullptr) << reader.GetLastError();
    back->ref();
    back->unref();
    for (size_t depth : {size_t(CTamProductXmlReader::kMaxNestingDepth) + 1, size_t(100000)}) {
        WriteText("deep.rvdxml", Nested(depth));
        EXPECT_EQ(reader.Read(m_scratch.file("deep.rvdxml")), nullptr);
        EXPECT_NE(reader.GetLastError().find(L"nested deeper than 1000"), std::wstring::npos);
    }
    // Readable alone, one level too deep below an instance: the branch is left out.
    WriteText("deep0.rvdxml", Referring({{"R", "limit.rvdxml"}}));
    back = reader.Read(m_scratch.file("deep0.rvdxml"));
    ASSERT_NE(back, nullptr) << reader.GetLastError();
    back->ref();
    ASSERT_EQ(reader.GetWarnings().size(), 1u);
    EXPECT_NE(reader.GetWarnings()[0].find(L"nested deeper than 1000"), std::wstring::npos);
    back->unref();
    // Damaged input is refused with a reason.
    const std::string assyHead =
        "<DocumentRVD><Server Type=\"CTamServerModifiable\"><CTamAssyRoot><CTamAssyGroup>";
    const std::string assyTail = "</CTamAssyGroup></CTamAssyRoot></Server></DocumentRVD>";
    const struct {
        std::string text;
        std::wstring reason;
    } cases[] = {
        {"", L"cannot read product XML"},
        {"<DocumentRVD><Server", L"cannot read product XML"},
        {"<Other/>", L"document element is not DocumentRVD"},
        {"<DocumentRVD><Server Type=\"CTamList\"/></DocumentRVD>", L"no assembly root"},
        {assyHead + "<Neutral><Actor.Location><Frame Matrix=\"1 2 3\"/></Actor.Location>" +
             "<Actor.Name Type=\"String\" Value=\"Bad\"/></Neutral>" + assyTail,
         L"'Bad': its Actor.Location holds no readable frame"},
        {assyHead + "<Geometry Ident=\"{X}\" File=\"missing.rvdGeom\"/>" + assyTail,
         L"cannot read geometry file 'missing.rvdGeom'"},
        {assyHead + "<Geometry Ident=\"{X}\"><Geode><Drawable Kind=\"Cones\"/></Geode>" +
             "</Geometry>" + assyTail,
         L"geometry of"},
    };
    for (const auto& damaged : cases) {
        WriteText("damaged.rvdxml", damaged.text);
        EXPECT_EQ(reader.Read(m_scratch.file("damaged.rvdxml")), nullptr) << damaged.text;
        EXPECT_NE(reader.GetLastError().find(damaged.reason), std::wstring::npos) << damaged.text;
    }
    WriteText("side.rvdGeom", "<RvdGeometry Version=\"1\"><Geometry Ident=\"{Y}\"/></RvdGeometry>");
    WriteText("damaged.rvdxml",
              assyHead + "<Geometry Ident=\"{X}\" File=\"side.rvdGeom\"/>" + assyTail);
    EXPECT_EQ(reader.Read(m_scratch.file("damaged.rvdxml")), nullptr);
    EXPECT_NE(reader.GetLastError().find(L"holds no entry {X}"), std::wstring::npos);
}

}  // namespace
