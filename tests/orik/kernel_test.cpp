// Modeller lifetime, components, options, error texts, the API bracket and error trapping.
#include "orik_test_support.h"

#include <Standard_Failure.hxx>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

using oriktest::KernelTest;

// The library's own start-up and shut-down sequence is checked through the library (the
// CTamCADTools start and stop tests): each call succeeds and leaves no message.

TEST(KernelLifetime, SecondStartKeepsTheStateRestartDeletesEntitiesAndResetsTheDefaultColor) {
    ASSERT_TRUE(api_start_modeller(0).ok());
    BODY* body = orik_make_body(oriktest::boxShape());
    EXPECT_TRUE(api_start_modeller(0).ok());
    EXPECT_TRUE(api_delent(body).ok());
    body = orik_make_body(oriktest::boxShape());
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(api_rh_set_default_rgb(rgb_color(1, 0, 0)).ok());
    ASSERT_TRUE(api_stop_modeller().ok());
    ASSERT_TRUE(api_start_modeller(0).ok());
    EXPECT_EQ(api_delent(body).error_number(), ORIK_NULL_ENTITY);
    rgb_color color;
    EXPECT_TRUE(api_rh_get_default_rgb(color).ok());
    EXPECT_EQ(color, rgb_color(0.8, 0.8, 0.9));
    EXPECT_TRUE(api_stop_modeller().ok());
    // Calls while stopped return "not running".
    ENTITY_LIST list;
    EXPECT_EQ(api_get_faces(nullptr, list).error_number(), ORIK_NOT_RUNNING);
    EXPECT_EQ(api_initialize_kernel().error_number(), ORIK_NOT_RUNNING);
    EXPECT_EQ(api_stop_modeller().error_number(), ORIK_NOT_RUNNING);
    EXPECT_EQ(orik_make_body(oriktest::boxShape()), nullptr);
    EXPECT_EQ(api_component_init_count("kernel"), -1);
}

// The kernel traps SIGSEGV while running and gives the host's handler back on stop; SIGINT
// stays with the host throughout.
TEST(KernelLifetime, SignalHandlersOfTheHostComeBackOrStay) {
    struct sigaction mine {
    }, segvBefore{}, intBefore{}, during{}, after{};
    mine.sa_handler = SIG_IGN;
    sigaction(SIGSEGV, &mine, &segvBefore);
    sigaction(SIGINT, &mine, &intBefore);
    ASSERT_TRUE(api_start_modeller(0).ok());
    sigaction(SIGSEGV, nullptr, &during);
    EXPECT_NE(during.sa_handler, SIG_IGN);
    sigaction(SIGINT, nullptr, &during);
    EXPECT_EQ(during.sa_handler, SIG_IGN);
    ASSERT_TRUE(api_stop_modeller().ok());
    sigaction(SIGSEGV, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
    sigaction(SIGSEGV, &segvBefore, nullptr);
    sigaction(SIGINT, &intBefore, nullptr);
}

TEST_F(KernelTest, ComponentsCountInitializeAndTerminate) {
    EXPECT_EQ(api_terminate_faceter().error_number(), ORIK_NOT_INITIALIZED);
    EXPECT_TRUE(api_initialize_faceter().ok());
    EXPECT_TRUE(api_initialize_faceter().ok());
    EXPECT_EQ(api_component_init_count("faceter"), 2);
    EXPECT_TRUE(api_terminate_faceter().ok());
    EXPECT_EQ(api_component_init_count("faceter"), 1);
    EXPECT_EQ(api_component_init_count("no such component"), -1);
}

TEST_F(KernelTest, OptionsAndFileInfoRejectBadInput) {
    EXPECT_EQ(api_set_int_option("no_such_option", 1).error_number(), ORIK_UNKNOWN_OPTION);
    EXPECT_EQ(api_set_int_option(nullptr, 1).error_number(), ORIK_BAD_ARGUMENT);
    FileInfo info;
    info.set_units(0.0);
    EXPECT_EQ(api_set_file_info(FILEINFO_UNITS, info).error_number(), ORIK_BAD_ARGUMENT);
    EXPECT_EQ(api_set_file_info(8, info).error_number(), ORIK_BAD_ARGUMENT);
    info.set_product_id(nullptr);
    EXPECT_STREQ(info.product_id(), "");
}

TEST_F(KernelTest, BracketReturnsItsFirstFailure) {
    api_bb_begin();
    EXPECT_TRUE(api_logging(FALSE).ok());
    EXPECT_EQ(api_delent(nullptr).error_number(), ORIK_NULL_ENTITY);
    EXPECT_EQ(api_set_int_option("no_such_option", 0).error_number(), ORIK_UNKNOWN_OPTION);
    EXPECT_EQ(api_bb_end().error_number(), ORIK_NULL_ENTITY);
    api_bb_begin();
    EXPECT_TRUE(api_bb_end().ok());
    // A nested bracket's failure reaches the outer one.
    api_bb_begin();
    api_bb_begin();
    EXPECT_FALSE(api_delent(nullptr).ok());
    EXPECT_EQ(api_bb_end().error_number(), ORIK_NULL_ENTITY);
    EXPECT_EQ(api_bb_end().error_number(), ORIK_NULL_ENTITY);
    EXPECT_TRUE(api_bb_end().ok());  // no bracket open
}

namespace {

// A mesh manager that fails in one of several ways when a face's output begins.
class FailingManager : public INDEXED_MESH_MANAGER {
public:
    enum class Failure { Signal, StdException, OcctFailure, KernelError };
    explicit FailingManager(Failure failure) : failure_(failure) {}
    void begin_mesh_output(ENTITY*, ENTITY*) override {
        switch (failure_) {
            case Failure::Signal:
                std::raise(SIGSEGV);
                break;
            case Failure::StdException:
                throw std::runtime_error("manager failed");
            case Failure::OcctFailure:
                throw Standard_Failure("manager failed");
            case Failure::KernelError:
                throw orik_exception(ORIK_BAD_ARGUMENT);
        }
    }

private:
    Failure failure_;
};

int facetWith(FailingManager::Failure failure) {
    BODY* body = orik_make_body(oriktest::boxShape());
    FailingManager manager(failure);
    api_set_mesh_manager(&manager);
    const int number = api_facet_entity(body).error_number();
    api_set_mesh_manager(nullptr);
    api_delent(body);
    return number;
}

}  // namespace

TEST_F(KernelTest, FailuresInsideCallsBecomeOutcomes) {
    EXPECT_EQ(facetWith(FailingManager::Failure::StdException), ORIK_UNEXPECTED);
    EXPECT_EQ(facetWith(FailingManager::Failure::OcctFailure), ORIK_MODELLING_FAILURE);
    EXPECT_EQ(facetWith(FailingManager::Failure::KernelError), ORIK_BAD_ARGUMENT);
}

// A signal unwinds by a long jump, which leaves the memory of the frames it skips behind; the
// test therefore runs in a child process of its own.
void facetThroughASignalAndExit() {
    api_start_modeller(0);
    const int caught = facetWith(FailingManager::Failure::Signal);
    // The kernel goes on working afterwards.
    BODY* body = orik_make_body(oriktest::boxShape());
    const bool working = api_facet_entity(body).ok();
    api_stop_modeller();
    std::_Exit(caught == ORIK_SIGNAL_CAUGHT && working ? 0 : 1);
}

TEST(KernelSignalDeathTest, SignalInsideACallBecomesAnOutcome) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(facetThroughASignalAndExit(), ::testing::ExitedWithCode(0), "");
}
