// The corpus assemblies through the XML-only road: the translator's EBOM turned into a product
// XML that refers to part product XML files (written by the EBOM road, one per part), read back
// with the references followed, give the tree that `tamcad assembly` gives.
#include "AssemblyCommand.h"
#include "AssemblyXmlCommands.h"
#include "Plugins.h"
#include "SceneWalk.h"

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/ebom_parser.h>
#include <corpus.h>
#include <scratch_folder.h>
#include <tamfoundations/CTamProductXmlReader.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Name of the one instance of a part's own EBOM; the comparison looks through it.
const std::wstring kPartInstance = L"part-file-instance";

std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text)
        out += c == L'&'   ? L"&amp;"
               : c == L'<' ? L"&lt;"
               : c == L'"' ? L"&quot;"
                           : std::wstring(1, c);
    return out;
}

void WriteUtf16(const fs::path& path, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + text) {
        // Characters beyond the 16-bit plane do not occur in the corpus names.
        bytes += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

// The part's product XML as the EBOM road writes it for an EBOM of that part alone, named as
// the XML-only road refers to it (part1.okt: part1_okt.rvdXml).
void WritePartProductXml(const std::wstring& name, const fs::path& part, const fs::path& out) {
    const fs::path folder = out / part.stem();
    fs::create_directories(folder);
    const fs::path copy = folder / part.filename();  // the parser deletes the part files it loads
    fs::copy_file(part, copy);
    const std::wstring n = Escaped(name), p = Escaped(copy.wstring());
    WriteUtf16(folder / "assembly.xml",
               L"<EBOM><Document Type=\"Assembly\" Name=\"" + n + L"\" FilePath=\"" + p +
                   L".src\"><Exposition><Structure><Root Name=\"" + n + L"\"><Instance Name=\"" +
                   kPartInstance +
                   L"\"><Position><a>1</a><a>0</a><a>0</a><a>0</a><a>1</a><a>0</a>"
                   L"<a>0</a><a>0</a><a>1</a><a>0</a><a>0</a><a>0</a></Position><RefLink Id=\"" +
                   n + L"\"/></Instance></Root><Reference Identifier=\"" + n +
                   L"\"><Rep><Shape Id=\"" + p +
                   L"\"/></Rep></Reference></Structure>"
                   L"</Exposition></Document><Document Type=\"okt\" Name=\"" +
                   n + L"\" FilePath=\"" + p + L"\" Identifier=\"" + n + L"\"/></EBOM>");
    const fs::path productXml = out / (part.stem().string() + "_okt.rvdXml");
    sglModelLoader::SetOutputRVDFilePath(productXml.wstring());
    CTamCADLoader loader;
    CTamEBOMParser parser((folder / "assembly.xml").wstring().c_str(), copy.wstring().c_str(),
                          &loader);
    const std::unique_ptr<CTamDBRoot> root(parser.Parse());
    ASSERT_TRUE(root && root->GetXMLDoc()) << part;
    ASSERT_TRUE(CTamSGToXML::WriteGeometryFiles(CString(out.wstring())));
    ASSERT_TRUE(root->GetXMLDoc()->save(productXml.wstring()));
}

// One assembly instance as compared: nesting, name, placement, metadata, the part shown.
struct Instance {
    int depth;
    std::wstring name;
    sglMat4<float> matrix;
    std::set<std::pair<std::wstring, std::wstring>> metas;
    std::wstring part;  // name of the first geode below, for leaves
};

std::wstring FirstGeodeName(const sglNode* node) {
    if (const auto* geode = dynamic_cast<const sglGeode*>(node))
        return geode->getName();
    if (const auto* group = dynamic_cast<const sglGroup*>(node)) {
        for (unsigned int i = 0; i < group->getNumChildren(); ++i) {
            const sglNode* child = group->getChild(i);
            if (dynamic_cast<const sglTransform<float>*>(child) == nullptr ||
                child->getName() == kPartInstance) {
                const std::wstring name = FirstGeodeName(group->getChild(i));
                if (!name.empty())
                    return name;
            }
        }
    }
    return std::wstring();
}

void CollectInstances(const sglGroup& group, int depth, std::vector<Instance>& out) {
    for (unsigned int i = 0; i < group.getNumChildren(); ++i) {
        const auto* transform = dynamic_cast<const sglTransform<float>*>(group.getChild(i));
        if (transform == nullptr)
            continue;
        if (transform->getName() == kPartInstance) {
            CollectInstances(*transform, depth, out);
            continue;
        }
        const auto& metas = transform->getMetaProperties();
        out.push_back({depth,
                       transform->getName(),
                       transform->getMatrix(),
                       {metas.begin(), metas.end()},
                       FirstGeodeName(transform)});
        CollectInstances(*transform, depth + 1, out);
    }
}

// The instances of a product XML read back, references followed; warnings fail the test.
std::vector<Instance> ReadInstances(const fs::path& productXml) {
    std::vector<Instance> instances;
    CTamProductXmlReader reader;
    sglGroup* root = reader.Read(productXml.wstring());
    EXPECT_NE(root, nullptr) << productXml << ": " << tam::toUtf8(reader.GetLastError());
    EXPECT_TRUE(reader.GetWarnings().empty()) << tam::toUtf8(reader.GetWarnings()[0]);
    if (root == nullptr)
        return instances;
    root->ref();
    CollectInstances(*root, 0, instances);
    root->unref();
    return instances;
}

class XmlOnlyCorpusTest : public ::testing::TestWithParam<const char*> {};

TEST_P(XmlOnlyCorpusTest, ReferencedPartsReadBackAsTheAssemblyRoadsTree) {
    TAM_REQUIRE_CORPUS();
    const fs::path file = tamtest::CorpusDir() / "step" / GetParam();
    tamtest::ScratchFolder scratch;
    const fs::path ebom = scratch.path() / "ebom", out = scratch.path() / "out";
    fs::create_directories(out);
    ASSERT_EQ(tam::writeEbom(file.string(), ebom.string(), tam::ImportSettings()), 0);
    tam::AssemblyRequest assembly;
    assembly.file = file.string();
    assembly.outputs = {(out / "assembly_road.rvdxml").string()};
    assembly.quiet = true;
    ASSERT_EQ(tam::runAssembly(assembly), 0);

    CTamXmlParserDocu listing;
    ASSERT_TRUE(listing.load((ebom / "assembly.xml").wstring()));
    CTamCADTools::InitializeImport();
    for (const auto& document : listing.getDocumentElement()->GetNodesByTag(L"Document")) {
        if (document->GetAttributeValue(L"Type") == L"okt")
            WritePartProductXml(document->GetAttributeValue(L"Name"),
                                fs::path(document->GetAttributeValue(L"FilePath")), out);
    }
    CTamCADTools::TerminateImport();
    sglModelLoader::ResetSettings();

    tam::XmlOnlyRequest xmlOnly;
    xmlOnly.xml = (ebom / "assembly.xml").string();
    xmlOnly.source = file.string();
    xmlOnly.saveFolder = out.string();
    ASSERT_EQ(tam::runXmlOnly(xmlOnly), 0);
    const fs::path productXml =
        out / (file.stem().string() + "_" + file.extension().string().substr(1) + ".rvdXml");

    const std::vector<Instance> expected = ReadInstances(out / "assembly_road.rvdxml");
    const std::vector<Instance> actual = ReadInstances(productXml);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Instance& e = expected[i];
        const Instance& a = actual[i];
        EXPECT_EQ(a.depth, e.depth) << i;
        EXPECT_TRUE(a.name == e.name)
            << i << ": " << tam::toUtf8(a.name) << " / " << tam::toUtf8(e.name);
        EXPECT_TRUE(a.part == e.part)
            << i << ": " << tam::toUtf8(a.part) << " / " << tam::toUtf8(e.part);
        EXPECT_TRUE(a.metas == e.metas) << i;
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(a.matrix[k], e.matrix[k], 1e-6 * std::max(1.0f, std::abs(e.matrix[k])))
                << i << " element " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Assemblies, XmlOnlyCorpusTest,
                         ::testing::Values("as1-oc-214.stp", "as1_pe_203.stp", "as1_motor.step",
                                           "trj6_as1-id-214.stp", "trj6_as1-tu-214.stp",
                                           "bug25381_test_assembly_invisible.step",
                                           "bug31670_russian.stp"));

}  // namespace
