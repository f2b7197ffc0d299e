// Translator benchmark: a STEP file into a kernel entity list through KVXIConverter, against
// Open CASCADE's own read and transfer of the same file into an XCAF document
// (STEPCAFControl_Reader with its default modes). Each measurement runs in its own child
// process, so that peak memory (maximum resident set) is that of one side alone; the sides
// alternate and the median of the runs is reported.
//
//   translate_bench [--runs N] FILE...
//
// Prints per file: OCCT seconds and peak MiB, translator seconds and peak MiB, the time ratio.
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
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double seconds = -1.0;
    double peakMiB = 0.0;
};

void QuietOcct() {
    for (const Handle(Message_Printer) & printer : Message::DefaultMessenger()->Printers()) {
        printer->SetTraceLevel(Message_Fail);
    }
}

double OcctRead(const char* path) {
    const auto start = Clock::now();
    Handle(TDocStd_Document) doc = new TDocStd_Document("BinXCAF");
    XCAFDoc_DocumentTool::Set(doc->Main(), Standard_False);
    STEPCAFControl_Reader reader;
    if (reader.ReadFile(path) != IFSelect_RetDone || !reader.Transfer(doc))
        return -1.0;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double TranslatorRead(const char* path) {
    api_start_modeller(0);
    KVXISystem::Initialize();
    const auto start = Clock::now();
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
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (entities) {
        api_del_entity_list(*entities);
        delete entities;
    }
    KVXISystem::Shutdown();
    api_stop_modeller();
    return result.IsFailure() ? -1.0 : seconds;
}

// Runs one side in a child process; its time comes back through a pipe, its peak memory from
// the kernel's accounting of the child.
Sample Measure(bool translator, const char* path) {
    int fds[2];
    if (pipe(fds) != 0)
        return Sample();
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        QuietOcct();
        const double seconds = translator ? TranslatorRead(path) : OcctRead(path);
        if (write(fds[1], &seconds, sizeof seconds) != sizeof seconds)
            _exit(2);
        _exit(0);
    }
    close(fds[1]);
    Sample sample;
    if (read(fds[0], &sample.seconds, sizeof sample.seconds) != sizeof sample.seconds) {
        sample.seconds = -1.0;
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    sample.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return sample;
}

Sample Median(std::vector<Sample> samples) {
    std::sort(samples.begin(), samples.end(),
              [](const Sample& a, const Sample& b) { return a.seconds < b.seconds; });
    return samples[samples.size() / 2];
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
    std::printf("%-40s %10s %10s %10s %10s %7s\n", "file", "occt s", "occt MiB", "kvxi s",
                "kvxi MiB", "ratio");
    for (const char* file : files) {
        std::vector<Sample> occt, kvxi;
        for (int run = 0; run < runs; ++run) {
            occt.push_back(Measure(false, file));
            kvxi.push_back(Measure(true, file));
        }
        const Sample o = Median(occt), k = Median(kvxi);
        const char* name = std::strrchr(file, '/') ? std::strrchr(file, '/') + 1 : file;
        std::printf("%-40s %10.3f %10.1f %10.3f %10.1f %7.3f\n", name, o.seconds, o.peakMiB,
                    k.seconds, k.peakMiB, o.seconds > 0 ? k.seconds / o.seconds : 0.0);
    }
    return 0;
}
