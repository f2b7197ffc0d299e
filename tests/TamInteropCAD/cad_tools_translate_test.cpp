// Conversions through the translator: CAD file to entities, assembly to EBOM XML, file writing.
#include <kvxi/kvxi.h>
#include <orik/OrikOcctBridge.h>
#include <orik/orik.h>
#include <platform/WideFile.h>
#include <BRepPrimAPI_MakeBox.hxx>

#include <filesystem>
#include <string>

#include "scratch_folder.h"
#include "tools_test_support.h"

namespace {

namespace fs = std::filesystem;

// Deletes a list's entities through the kernel and then the list.
void Release(ENTITY_LIST* list) {
    if (list == nullptr)
        return;
    CTamCADTools::DeleteENTITY_LIST(list);
    delete list;
}

// A list holding one box body, 10 x 20 x 30.
ENTITY_LIST* MakeBoxList() {
    ENTITY_LIST* list = CTamCADTools::GetNewENTITY_LIST();
    list->add(orik_make_body(BRepPrimAPI_MakeBox(10.0, 20.0, 30.0).Shape()));
    return list;
}

using CadToolsEntityList = tamtest::RunningKernelTest;

TEST_F(CadToolsEntityList, CancelTouchesNothingAndNeedsNoRunningTranslator) {
    sglModelLoader::m_sbCancelImport = true;
    EXPECT_EQ(CTamCADTools::InitializeConnectEntityList(L"/no/such/part.stp", L"STEP"), nullptr);
    EXPECT_TRUE(Progress().empty());
    EXPECT_TRUE(Messages().empty());

    CTamCADTools::TerminateImport();
    Messages().clear();
    EXPECT_EQ(CTamCADTools::InitializeConnectEntityList(L"/no/such/part.stp", L"STEP"), nullptr);
    EXPECT_TRUE(Messages().empty());  // a translator call would have reported "not initialized"
    CTamCADTools::InitializeImport();
}

TEST_F(CadToolsEntityList, MissingOrDamagedFileGivesOneErrorAndNoEntities) {
    for (const std::wstring& path :
         {std::wstring(L"/no/such/part.stp"),
          fs::path(TAM_TEST_DATA_DIR "/invalid/truncated_step_part.stp").wstring()}) {
        Messages().clear();
        ENTITY_LIST* list = CTamCADTools::InitializeConnectEntityList(path.c_str(), L"STEP");
        EXPECT_TRUE(list == nullptr || list->count() == 0);
        Release(list);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].text.rfind(L"*** ERROR ***  ", 0), 0u);
        EXPECT_EQ(Messages()[0].code, 0u);
    }
}

TEST_F(CadToolsEntityList, WrittenEntitiesComeBackConvertedOrNotFailuresAreReturnedNotReported) {
    tamtest::ScratchFolder folder;
    const std::wstring source = folder.file("box.stp");
    const std::wstring target = folder.file("box.igs");
    ENTITY_LIST* box = MakeBoxList();
    EXPECT_TRUE(CTamCADTools::WriteFile(source.c_str(), box).IsSuccess());
    EXPECT_EQ(box->count(), 1);  // read, not changed
    Release(box);
    EXPECT_TRUE(CTamCADTools::WriteFile(source.c_str(), target.c_str(), false).IsSuccess());
    for (const auto& [path, type] : {std::pair(source, L"STEP"), std::pair(target, L"IGES")}) {
        ENTITY_LIST* list = CTamCADTools::InitializeConnectEntityList(path.c_str(), type);
        ASSERT_NE(list, nullptr);
        EXPECT_GE(list->count(), 1);
        EXPECT_TRUE(is_BODY((*list)[0]));
        Release(list);
    }
    const KVXIResult missing =
        CTamCADTools::WriteFile(L"/no/such/part.stp", folder.file("out.igs").c_str(), false);
    EXPECT_TRUE(missing.IsFailure());
    ENTITY_LIST empty;
    EXPECT_FALSE(CTamCADTools::WriteFile(folder.file("empty.stp").c_str(), &empty).IsSuccess());
    EXPECT_FALSE(tam::IsRegularFile(folder.file("out.igs")));
    EXPECT_TRUE(Messages().empty());
    // The file name follows the later separator, whichever it is.
    Release(CTamCADTools::InitializeConnectEntityList(L"C:\\models\\sub/first.stp", L"STEP"));
    Release(CTamCADTools::InitializeConnectEntityList(L"/models/sub\\second.stp", L"STEP"));
    ASSERT_EQ(Progress().size(), 4u);
    EXPECT_EQ(Progress()[0].fraction, 0.0f);
    EXPECT_EQ(Progress()[0].text, L"Loading Objects box.stp");
    EXPECT_EQ(Progress()[1].text, L"Loading Objects box.igs");
    EXPECT_EQ(Progress()[2].text, L"Loading Objects first.stp");
    EXPECT_EQ(Progress()[3].text, L"Loading Objects second.stp");
}

using CadToolsEbom = tamtest::RunningKernelTest;

TEST_F(CadToolsEbom, CancelKeepsTheXmlPathFailedConversionSetsItAndReportsOnceAnAssemblyIsWritten) {
    sglModelLoader::m_sbCancelImport = true;
    std::wstring xmlPath = L"previous.xml";
    CTamCADTools::InitializeConnectXml(L"/no/such/assembly.stp", xmlPath, L"STEP", false);
    EXPECT_EQ(xmlPath, L"previous.xml");
    EXPECT_TRUE(Messages().empty());
    sglModelLoader::m_sbCancelImport = false;
    CTamCADTools::InitializeConnectXml(L"/no/such/assembly.stp", xmlPath, L"STEP", false);
    EXPECT_EQ(xmlPath, sglModelLoader::GetPathFolderWork() + L"\\assembly.xml");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, L"*** ERROR ***  assembly.stp: No such file or directory");
    EXPECT_TRUE(Progress().empty());
    // An assembly becomes one XML file and its part files in the work folder.
    tamtest::ScratchFolder work;
    sglModelLoader::SetPathFolderWork(work.folder());
    const std::wstring source =
        std::filesystem::path(TAM_TEST_DATA_DIR "/kvxi/assembly.stp").wstring();
    CTamCADTools::InitializeConnectXml(source.c_str(), xmlPath, L"STEP", false);
    sglModelLoader::SetPathFolderWork(L"");
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_regular_file(work.path() / "assembly.xml"));
    EXPECT_TRUE(tam::IsRegularFile(xmlPath));
    EXPECT_TRUE(std::filesystem::is_regular_file(work.path() / "part1.okt"));
}

}  // namespace
