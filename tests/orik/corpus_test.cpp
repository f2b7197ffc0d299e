// Every STEP file of the corpus, read directly with OCCT, is made into bodies that are faceted
// body by body through the kernel. Each file runs in a child process with a time budget, so a
// crash or a hang of one file is reported as that file's failure.
#include "corpus.h"
#include "orik_test_support.h"
#include "recording_mesh_manager.h"

#include <IFSelect_ReturnStatus.hxx>
#include <STEPControl_Reader.hxx>
#include <TopoDS_Iterator.hxx>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {

constexpr int kBudgetSeconds = 900;

// Counts what a face's strip output stands for, and checks it against the announced counts.
class CountingManager : public INDEXED_MESH_MANAGER {
public:
    long triangles = 0;
    long inconsistentFaces = 0;
    void begin_mesh_output(ENTITY*, ENTITY*) override { polygons_ = announced_ = 0; }
    void announce_counts(int polygons, int, int) override { announced_ = polygons; }
    void start_indexed_polygon(int, int, int) override { ++polygons_; }
    void end_mesh_output(ENTITY*, ENTITY*) override {
        triangles += polygons_;
        inconsistentFaces += polygons_ != announced_;
    }
    logical need_strip_polygons() override { return TRUE; }

private:
    long polygons_ = 0;
    long announced_ = 0;
};

// Makes one body per leaf of the shape's compound tree (solids, shells, faces, ...).
void collectBodies(const TopoDS_Shape& shape, ENTITY_LIST& bodies) {
    if (shape.ShapeType() != TopAbs_COMPOUND) {
        if (BODY* body = orik_make_body(shape))
            bodies.add(body);
        return;
    }
    for (TopoDS_Iterator it(shape); it.More(); it.Next())
        collectBodies(it.Value(), bodies);
}

// The child's work: 0 when every kernel call answered and the output was consistent.
int facetFile(const std::string& path) {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) {
        std::printf("unreadable: %s\n", path.c_str());
        return 0;  // damaged input: nothing to facet
    }
    reader.TransferRoots();
    if (!api_start_modeller(0).ok())
        return 2;
    ENTITY_LIST bodies;
    for (int i = 1; i <= reader.NbShapes(); ++i)
        collectBodies(reader.Shape(i), bodies);
    CountingManager manager;
    api_set_mesh_manager(&manager);
    int failed = 0;
    for (int i = 0; i < bodies.count(); ++i)
        failed += !api_facet_entity(bodies[i]).ok();
    api_set_mesh_manager(nullptr);
    std::printf("%s: %d bodies, %d not faceted, %ld triangles\n", path.c_str(), bodies.count(),
                failed, manager.triangles);
    api_del_entity_list(bodies);
    api_stop_modeller();
    return manager.inconsistentFaces == 0 ? 0 : 3;
}

// Runs facetFile in a child process; returns a description of what went wrong, or "".
std::string runInChild(const std::string& path) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0)
        return "fork failed";
    if (child == 0) {
        const int code = facetFile(path);
        std::fflush(stdout);
        _exit(code);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kBudgetSeconds);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return "over the time budget";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (WIFSIGNALED(status))
        return "crashed with signal " + std::to_string(WTERMSIG(status));
    if (WEXITSTATUS(status) != 0)
        return "exit code " + std::to_string(WEXITSTATUS(status));
    return "";
}

class StepCorpus : public ::testing::TestWithParam<std::filesystem::path> {};

}  // namespace

TEST(StepCorpusPresence, CorpusHasStepFiles) {
    TAM_REQUIRE_CORPUS();
    EXPECT_FALSE(tamtest::CorpusFiles("step").empty());
}

TEST_P(StepCorpus, FacetsBodyByBodyWithoutCrash) {
    TAM_REQUIRE_CORPUS();
    EXPECT_EQ(runInChild(GetParam().string()), "") << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Step, StepCorpus, ::testing::ValuesIn(tamtest::CorpusFiles("step")),
                         [](const auto& info) {
                             std::string name = info.param.stem().string();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(StepCorpus);
