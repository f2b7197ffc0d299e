// Kernel and translator start and stop, and the entity lists of CTamCADTools.
#include <kvxi/KVXISystem.h>
#include <orik/orik.h>

#include <string>

#include "tools_test_support.h"

namespace {

using tamtest::HostCallbackTest;
using tamtest::RunningKernelTest;

using CadToolsStartStop = HostCallbackTest;

TEST_F(CadToolsStartStop, StartSetsTheKernelUpASecondStartRepeatsItStopWithoutStartReports) {
    CTamCADTools::InitializeImport();
    EXPECT_TRUE(api_modeller_running());
    EXPECT_TRUE(KVXISystem::IsInitialized());
    int adaptiveGrid = 0;
    EXPECT_EQ(api_get_int_option("adaptive_grid", adaptiveGrid).error_number(), 0);
    EXPECT_EQ(adaptiveGrid, 1);
    FileInfo info;
    EXPECT_EQ(api_get_file_info(info).error_number(), 0);
    EXPECT_DOUBLE_EQ(info.units(), 1.0);
    EXPECT_STRNE(info.product_id(), "");
    api_rh_set_default_rgb(rgb_color(0.1, 0.2, 0.3));
    const char* components[] = {"kernel",  "spline",       "intersectors",      "euler_ops",
                                "faceter", "constructors", "generic_attributes"};
    int countsAfterFirst[7];
    for (int i = 0; i < 7; ++i)
        countsAfterFirst[i] = api_component_init_count(components[i]);
    CTamCADTools::InitializeImport();
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(api_component_init_count(components[i]), countsAfterFirst[i] + 1)
            << components[i];
    rgb_color color;
    api_rh_get_default_rgb(color);
    EXPECT_EQ(color, rgb_color(0.8, 0.8, 0.9));
    CTamCADTools::TerminateImport();
    EXPECT_FALSE(api_modeller_running());
    EXPECT_FALSE(KVXISystem::IsInitialized());
    EXPECT_TRUE(Messages().empty());
    // Stopping again, without a start, reports only the modeller's stop.
    ASSERT_FALSE(api_modeller_running());
    CTamCADTools::TerminateImport();
    ASSERT_EQ(Messages().size(), 1u);
    std::wstring text;
    for (const char* c = find_err_mess(ORIK_NOT_RUNNING); *c != '\0'; ++c)
        text.push_back(*c);
    EXPECT_EQ(Messages()[0].text, L"*** ERROR ***  " + text);
    EXPECT_EQ(Messages()[0].code, 0u);
}

using CadToolsEntityLists = RunningKernelTest;

TEST_F(CadToolsEntityLists, DeleteRemovesTheEntitiesButKeepsTheList) {
    ENTITY_LIST* list = CTamCADTools::GetNewENTITY_LIST();  // empty and the caller's
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 0);
    KVXCOLLECTION* first = nullptr;
    KVXCOLLECTION* second = nullptr;
    KVXCOLLECTION* watcher = nullptr;
    ASSERT_EQ(api_make_collection(first).error_number(), 0);
    ASSERT_EQ(api_make_collection(second).error_number(), 0);
    ASSERT_EQ(api_make_collection(watcher).error_number(), 0);
    list->add(first);
    list->add(second);
    // A collection that merely refers to entities loses them when they are deleted.
    api_add_to_collection(watcher, first, FALSE);
    api_add_to_collection(watcher, second, FALSE);
    ASSERT_EQ(watcher->member_count(), 2);

    CTamCADTools::DeleteENTITY_LIST(list);
    EXPECT_EQ(watcher->member_count(), 0);
    EXPECT_EQ(list->count(), 0);
    list->add(watcher);  // the list object is still the caller's and usable
    EXPECT_EQ(list->count(), 1);
    delete list;
    api_delent(watcher);
    CTamCADTools::DeleteENTITY_LIST(nullptr);
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
