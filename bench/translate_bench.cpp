// Translator benchmark: a STEP file into a kernel entity list through KVXIConverter, against
// Open CASCADE's own read and transfer of the same file into an XCAF document
// (STEPCAFControl_Reader with its default modes). Each measurement runs in its own child
// process, so that peak memory (maximum resident set) is that of one side alone; the sides
// alternate and the median of the runs is reported. Both the wall-clock time and the process
// CPU time of the measured span are taken; on a machine shared with other work the CPU time is
// the steadier figure, so the ratio is given for both.
//
//   translate_bench [--runs N] FILE...
//
// Prints per file: OCCT and translator CPU seconds, wall seconds and peak MiB, and the
// translator/OCCT ratios of CPU and wall time.
#include <kvxi/kvxi.h>
#include <orik/orik.h>

#include <IFSelect_ReturnStatus.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <TDocStd_Document.hxx>
#include <XCAFDoc_DocumentTool.hxx>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Seconds of one measured span; negative when the read failed.
struct Span {
    double wall = -1.0;
    double cpu = -1.0;
};

struct Sample {
    Span span;
    double peakMiB = 0.0;
};

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Measures the span from its construction to Stop().
class Stopwatch {
public:
    Stopwatch() : m_wall(Clock::now()), m_cpu(ProcessCpuSeconds()) {}
    Span Stop() const {
        return {std::chrono::duration<double>(Clock::now() - m_wall).count(),
                ProcessCpuSeconds() - m_cpu};
    }

private:
    Clock::time_point m_wall;
    double m_cpu;
};

void QuietOcct() {
    for (const Handle(Message_Printer) & printer : Message::DefaultMessenger()->Printers()) {
        printer->SetTraceLevel(Message_Fail);
    }
}

Span OcctRead(const char* path) {
    const Stopwatch watch;
    Handle(TDocStd_Document) doc = new TDocStd_Document("BinXCAF");
    XCAFDoc_DocumentTool::Set(doc->Main(), Standard_False);
    STEPCAFControl_Reader reader;
    if (reader.ReadFile(path) != IFSelect_RetDone || !reader.Transfer(doc))
        return Span();
    return watch.Stop();
}

Span TranslatorRead(const char* path) {
    api_start_modeller(0);
    KVXISystem::Initialize();
    const Stopwatch watch;
    KVXIDocument source{std::string(path)};
    source.SetType("STEP");
    KVXIOrikDocument target;
    target.SetUnit(4);
    KVXIOptions options;
    options.Add("TranslateAttributes", true);
    options.Add("OverrideFaceColorWithBodyColor", 1);
    options.Add(KVXIOptionName::Representation, "Brep+Assembly");
    KVXIConverter converter;
    converter.SetOptions(options);
    const KVXIResult result = converter.Convert(source, target);
    ENTITY_LIST* entities = nullptr;
    target.GetEntities(entities);
    const Span span = watch.Stop();
    if (entities) {
        api_del_entity_list(*entities);
        delete entities;
    }
    KVXISystem::Shutdown();
    api_stop_modeller();
    return result.IsFailure() ? Span() : span;
}

// Runs one side in a child process; its times come back through a pipe, its peak memory from
// the kernel's accounting of the child.
Sample Measure(bool translator, const char* path) {
    int fds[2];
    if (pipe(fds) != 0)
        return Sample();
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        QuietOcct();
        const Span span = translator ? TranslatorRead(path) : OcctRead(path);
        if (write(fds[1], &span, sizeof span) != sizeof span)
            _exit(2);
        _exit(0);
    }
    close(fds[1]);
    Sample sample;
    if (read(fds[0], &sample.span, sizeof sample.span) != sizeof sample.span)
        sample.span = Span();
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    sample.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return sample;
}

// The median of one figure over the runs.
template <class Figure>
double Median(const std::vector<Sample>& samples, Figure figure) {
    std::vector<double> values;
    for (const Sample& sample : samples)
        values.push_back(figure(sample));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Summary {
    double cpu, wall, peakMiB;
};

Summary Summarize(const std::vector<Sample>& samples) {
    return {Median(samples, [](const Sample& s) { return s.span.cpu; }),
            Median(samples, [](const Sample& s) { return s.span.wall; }),
            Median(samples, [](const Sample& s) { return s.peakMiB; })};
}

double Ratio(double translator, double occt) {
    return occt > 0.0 && translator > 0.0 ? translator / occt : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: translate_bench [--runs N] FILE.stp...\n");
        return 2;
    }
    std::printf("%-36s %8s %8s %8s %8s %8s %8s %7s %7s\n", "file", "occt cpu", "kvxi cpu", "occt s",
                "kvxi s", "occt MiB", "kvxi MiB", "cpu x", "wall x");
    for (const char* file : files) {
        std::vector<Sample> occt, kvxi;
        for (int run = 0; run < runs; ++run) {
            occt.push_back(Measure(false, file));
            kvxi.push_back(Measure(true, file));
        }
        const Summary o = Summarize(occt), k = Summarize(kvxi);
        const char* name = std::strrchr(file, '/') ? std::strrchr(file, '/') + 1 : file;
        std::printf("%-36s %8.3f %8.3f %8.3f %8.3f %8.1f %8.1f %7.3f %7.3f\n", name, o.cpu, k.cpu,
                    o.wall, k.wall, o.peakMiB, k.peakMiB, Ratio(k.cpu, o.cpu),
                    Ratio(k.wall, o.wall));
        std::fflush(stdout);
    }
    return 0;
}
