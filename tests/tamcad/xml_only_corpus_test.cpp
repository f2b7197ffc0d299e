// The corpus assemblies through the XML-only road: the translator's EBOM turned into a product
// XML that refers to part product XML files (written by the EBOM road, one per part), read back
// with the references followed, give the tree that `tamcad assembly` gives.
#include "AssemblyCommand.h"
#include "AssemblyXmlCommands.h"
#include "SceneWalk.h"

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/ebom_parser.h>
#include <corpus.h>
#include <platform/CodePage.h>
#include <scratch_folder.h>
#include <tamfoundations/CTamProductXmlReader.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;
using tam::WideToUtf8Replacing;

// Name of the one instance of a part's own EBOM; the comparison looks through it.
const std::string kPartInstance = "part-file-instance";

// The EBOM road over an EBOM of the part alone (UTF-8, so its first line is kept), saved as
// the XML-only road names the part's product XML (part1.okt: part1_okt.rvdXml).
void WritePartProductXml(const std::wstring& name, const fs::path& part, const fs::path& out) {
    const fs::path folder = out / part.stem();
    fs::create_directories(folder);
    const fs::path copy = folder / part.filename();  // the parser deletes the part files it loads
    fs::copy_file(part, copy);
    std::string n = WideToUtf8Replacing(name), p = copy.string();
    for (std::string* text : {&n, &p})
        for (std::size_t at = 0; (at = text->find_first_of("&<\"", at)) != std::string::npos;)
            text->replace(at, 1,
                          (*text)[at] == '&'   ? "&amp;"
                          : (*text)[at] == '<' ? "&lt;"
                                               : "&quot;"),
                ++at;
    std::ofstream(folder / "assembly.xml")
        << "<EBOM><Document Type=\"Assembly\" Name=\"" << n << "\" FilePath=\"" << p
        << ".src\"><Exposition><Structure><Root Name=\"" << n << "\"><Instance Name=\""
        << kPartInstance << "\"><Position/><RefLink Id=\"" << n << "\"/></Instance></Root>"
        << "<Reference Identifier=\"" << n << "\"><Rep><Shape Id=\"" << p
        << "\"/></Rep></Reference></Structure></Exposition></Document><Document Type=\"okt\" "
        << "Name=\"" << n << "\" FilePath=\"" << p << "\"/></EBOM>";
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

// The first geode's name below a node (its part), not looking into nested instances.
std::string PartOf(const sglNode& node) {
    const auto* group = dynamic_cast<const sglGroup*>(&node);
    if (group == nullptr)
        return tam::utf8Name(node);
    for (unsigned int i = 0; i < group->getNumChildren(); ++i) {
        const sglNode& child = *group->getChild(i);
        const bool nested = dynamic_cast<const sglTransform<float>*>(&child) != nullptr &&
                            tam::utf8Name(child) != kPartInstance;
        const std::string part = nested ? std::string() : PartOf(child);
        if (!part.empty())
            return part;
    }
    return std::string();
}

// One line per instance: nesting, name, placement (7 significant digits, 1e-6 relative),
// metadata and the part it shows.
void Describe(const sglGroup& group, const std::string& indent, std::vector<std::string>& out) {
    for (unsigned int i = 0; i < group.getNumChildren(); ++i) {
        const auto* instance = dynamic_cast<const sglTransform<float>*>(group.getChild(i));
        if (instance == nullptr)
            continue;
        if (tam::utf8Name(*instance) == kPartInstance) {
            Describe(*instance, indent, out);
            continue;
        }
        std::string line = indent + tam::utf8Name(*instance) + " [" + PartOf(*instance) + "]";
        for (int k = 0; k < 16; ++k) {
            char number[32];
            std::snprintf(number, sizeof number, " %.7g", instance->getMatrix()[k] + 0.0f);
            line += number;
        }
        for (const auto& meta : instance->getMetaProperties())
            line += " " + WideToUtf8Replacing(meta.first) + "=" + WideToUtf8Replacing(meta.second);
        out.push_back(line);
        Describe(*instance, indent + "  ", out);
    }
}

// The instances of a product XML read back, references followed; warnings fail the test.
std::vector<std::string> ReadInstances(const fs::path& productXml) {
    std::vector<std::string> lines;
    CTamProductXmlReader reader;
    sglGroup* root = reader.Read(productXml.wstring());
    EXPECT_NE(root, nullptr) << productXml << ": " << WideToUtf8Replacing(reader.GetLastError());
    for (const std::wstring& warning : reader.GetWarnings())
        ADD_FAILURE() << WideToUtf8Replacing(warning);
    if (root == nullptr)
        return lines;
    root->ref();
    Describe(*root, "", lines);
    root->unref();
    return lines;
}

class XmlOnlyCorpusTest : public ::testing::TestWithParam<const char*> {};

TEST_P(XmlOnlyCorpusTest, ReferencedPartsReadBackAsTheAssemblyRoadsTree) {
    TAM_REQUIRE_CORPUS();
    const fs::path file = tamtest::CorpusDir() / "step" / GetParam();
    TAM_SKIP_IF_LEFT_OUT(file);
    tamtest::ScratchFolder scratch;
    const fs::path ebom = scratch.path() / "ebom", out = scratch.path() / "out";
    fs::create_directories(out);
    ASSERT_EQ(tam::writeEbom(file.string(), ebom.string(), tam::ImportSettings(), true), 0);
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

    tam::XmlOnlyRequest xmlOnly{(ebom / "assembly.xml").string(), file.string(), out.string()};
    ASSERT_EQ(tam::runXmlOnly(xmlOnly), 0);
    const std::string name = file.stem().string() + "_" + file.extension().string().substr(1);
    const std::vector<std::string> expected = ReadInstances(out / "assembly_road.rvdxml");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadInstances(out / (name + ".rvdXml")), expected);
}

INSTANTIATE_TEST_SUITE_P(Assemblies, XmlOnlyCorpusTest,
                         ::testing::Values("as1-oc-214.stp", "as1_pe_203.stp", "as1_motor.step",
                                           "trj6_as1-id-214.stp", "trj6_as1-tu-214.stp",
                                           "bug25381_test_assembly_invisible.step",
                                           "bug31670_russian.stp"));

}  // namespace
