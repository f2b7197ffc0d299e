#include "BudgetedMeshing.h"

#include <BRepMesh_Context.hxx>
#include <BRepMesh_FaceDiscret.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepMesh_MeshAlgoFactory.hxx>
#include <BRep_Tool.hxx>
#include <IMeshData_Curve.hxx>
#include <IMeshData_Edge.hxx>
#include <IMeshData_Face.hxx>
#include <IMeshData_Wire.hxx>
#include <IMeshTools_MeshAlgo.hxx>
#include <IMeshTools_MeshAlgoFactory.hxx>
#include <Message_ProgressIndicator.hxx>
#include <Standard_Failure.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>

namespace orik {
namespace facet {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point deadlineAfter(double seconds) {
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// A progress indicator that asks BRepMesh to stop once the deadline has passed.
class DeadlineIndicator : public Message_ProgressIndicator {
public:
    explicit DeadlineIndicator(Clock::time_point deadline) : deadline_(deadline) {}
    Standard_Boolean UserBreak() override {
        if (Clock::now() > deadline_)
            broken_ = true;
        return broken_;
    }
    void Show(const Message_ProgressScope&, const Standard_Boolean) override {}
    bool Broken() const { return broken_; }

private:
    Clock::time_point deadline_;
    bool broken_ = false;
};

// What the faces of one meshing report; faces are meshed in parallel.
struct SharedReport {
    double seconds = 0.0;
    std::mutex lock;
    BudgetReport report;

    void add(std::vector<TopoDS_Face> BudgetReport::*list, const TopoDS_Face& face) {
        const std::lock_guard<std::mutex> guard(lock);
        (report.*list).push_back(face);
    }
};

int boundaryNodes(const IMeshData::IFaceHandle& face) {
    int nodes = 0;
    for (Standard_Integer w = 0; w < face->WiresNb(); ++w) {
        const IMeshData::IWireHandle& wire = face->GetWire(w);
        for (Standard_Integer e = 0; e < wire->EdgesNb(); ++e)
            nodes += wire->GetEdge(e)->GetCurve()->ParametersNb();
    }
    return nodes;
}

// Runs BRepMesh's own algorithm for a face under the face's deadline, or sets the face aside.
class BudgetedAlgo : public IMeshTools_MeshAlgo {
public:
    BudgetedAlgo(const Handle(IMeshTools_MeshAlgo) & inner, SharedReport& shared)
        : inner_(inner), shared_(shared) {}

    void Perform(const IMeshData::IFaceHandle& face, const IMeshTools_Parameters& parameters,
                 const Message_ProgressRange& range) override {
        if (!range.More())
            return;
        if (boundaryNodes(face) > kSetAsideBoundaryNodes) {
            shared_.add(&BudgetReport::setAside, face->GetFace());
            return;
        }
        const Handle(DeadlineIndicator) indicator =
            new DeadlineIndicator(deadlineAfter(shared_.seconds));
        inner_->Perform(face, parameters, indicator->Start());
        if (indicator->Broken())
            shared_.add(&BudgetReport::overBudget, face->GetFace());
    }

private:
    Handle(IMeshTools_MeshAlgo) inner_;
    SharedReport& shared_;
};

class BudgetedAlgoFactory : public IMeshTools_MeshAlgoFactory {
public:
    explicit BudgetedAlgoFactory(SharedReport& shared) : shared_(shared) {}

    Handle(IMeshTools_MeshAlgo) GetAlgo(const GeomAbs_SurfaceType type,
                                        const IMeshTools_Parameters& parameters) const override {
        return new BudgetedAlgo(inner_->GetAlgo(type, parameters), shared_);
    }

private:
    Handle(IMeshTools_MeshAlgoFactory) inner_ = new BRepMesh_MeshAlgoFactory;
    SharedReport& shared_;
};

// The child's answer: counts, deflection, then nodes, (u, v) and triangles.
struct Header {
    int32_t nodes = 0;
    int32_t triangles = 0;
    int32_t hasUV = 0;
    int32_t padding = 0;  // written out, so no byte of the header is left undefined
    double deflection = 0.0;
};

void appendBytes(std::vector<char>& out, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

std::vector<char> serialize(const Poly_Triangulation& triangulation) {
    Header header;
    header.nodes = triangulation.NbNodes();
    header.triangles = triangulation.NbTriangles();
    header.hasUV = triangulation.HasUVNodes() ? 1 : 0;
    header.deflection = triangulation.Deflection();
    std::vector<char> out;
    appendBytes(out, &header, sizeof header);
    for (Standard_Integer i = 1; i <= header.nodes; ++i) {
        const gp_Pnt p = triangulation.Node(i);
        const double xyz[3] = {p.X(), p.Y(), p.Z()};
        appendBytes(out, xyz, sizeof xyz);
    }
    for (Standard_Integer i = 1; header.hasUV && i <= header.nodes; ++i) {
        const gp_Pnt2d uv = triangulation.UVNode(i);
        const double pair[2] = {uv.X(), uv.Y()};
        appendBytes(out, pair, sizeof pair);
    }
    for (Standard_Integer t = 1; t <= header.triangles; ++t) {
        int32_t n[3];
        triangulation.Triangle(t).Get(n[0], n[1], n[2]);
        appendBytes(out, n, sizeof n);
    }
    return out;
}

Handle(Poly_Triangulation) deserialize(const std::vector<char>& in) {
    Header header;
    if (in.size() < sizeof header)
        return nullptr;
    std::memcpy(&header, in.data(), sizeof header);
    if (header.nodes < 3 || header.triangles < 1 ||
        in.size() != sizeof header + size_t(header.nodes) * (header.hasUV ? 40 : 24) +
                         size_t(header.triangles) * 12) {
        return nullptr;
    }
    Handle(Poly_Triangulation) triangulation =
        new Poly_Triangulation(header.nodes, header.triangles, header.hasUV != 0);
    triangulation->Deflection(header.deflection);
    const char* at = in.data() + sizeof header;
    auto next = [&at](void* value, size_t size) {
        std::memcpy(value, at, size);
        at += size;
    };
    for (Standard_Integer i = 1; i <= header.nodes; ++i) {
        double xyz[3];
        next(xyz, sizeof xyz);
        triangulation->SetNode(i, gp_Pnt(xyz[0], xyz[1], xyz[2]));
    }
    for (Standard_Integer i = 1; header.hasUV && i <= header.nodes; ++i) {
        double uv[2];
        next(uv, sizeof uv);
        triangulation->SetUVNode(i, gp_Pnt2d(uv[0], uv[1]));
    }
    for (Standard_Integer t = 1; t <= header.triangles; ++t) {
        int32_t n[3];
        next(n, sizeof n);
        for (const int32_t node : n) {
            if (node < 1 || node > header.nodes)
                return nullptr;
        }
        triangulation->SetTriangle(t, Poly_Triangle(n[0], n[1], n[2]));
    }
    return triangulation;
}

bool writeAll(int fd, const std::vector<char>& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += size_t(written);
    }
    return true;
}

// The child: meshes on one thread, writes the answer and ends without running exit handlers.
// A fatal signal ends it too, rather than jumping back into the caller's frames.
[[noreturn]] void meshInChild(int fd, const TopoDS_Face& face, IMeshTools_Parameters parameters) {
    for (const int fatal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        ::signal(fatal, SIG_DFL);
    int status = 1;
    try {
        parameters.InParallel = Standard_False;
        const TopoDS_Face alone = TopoDS::Face(face.Located(TopLoc_Location()));
        BRepMesh_IncrementalMesh mesher(alone, parameters);
        TopLoc_Location location;
        const Handle(Poly_Triangulation) triangulation = BRep_Tool::Triangulation(alone, location);
        if (!triangulation.IsNull() && writeAll(fd, serialize(*triangulation)))
            status = 0;
    } catch (...) {
        status = 1;
    }
    ::_exit(status);
}

bool readAll(int fd, std::vector<char>& in) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        in.insert(in.end(), buffer, buffer + got);
    }
}

// One face meshed in a child process that writes its answer into a memory file.
struct Child {
    size_t face = 0;
    pid_t pid = -1;
    int fd = -1;
    Clock::time_point deadline;
};

bool launch(const TopoDS_Face& face, const IMeshTools_Parameters& parameters, double seconds,
            Child& child) {
    child.fd = ::memfd_create("orik-face-mesh", MFD_CLOEXEC);
    if (child.fd < 0)
        return false;
    child.deadline = deadlineAfter(seconds);
    child.pid = ::fork();
    if (child.pid == 0)
        meshInChild(child.fd, face, parameters);
    if (child.pid > 0)
        return true;
    ::close(child.fd);
    return false;
}

// The child's triangulation once it has ended, or null; kills it when killing is true.
Handle(Poly_Triangulation) collect(Child& child, int status, bool killing) {
    if (killing) {
        ::kill(child.pid, SIGKILL);
        while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    std::vector<char> answer;
    const bool read =
        !killing && WIFEXITED(status) && WEXITSTATUS(status) == 0 && readAll(child.fd, answer);
    ::close(child.fd);
    if (!read)
        return nullptr;
    try {
        return deserialize(answer);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

}  // namespace

bool MeshWithinBudget(const TopoDS_Shape& shape, const IMeshTools_Parameters& parameters,
                      double seconds, BudgetReport& report) {
    SharedReport shared;
    shared.seconds = seconds;
    Handle(BRepMesh_Context) context = new BRepMesh_Context(parameters.MeshAlgo);
    context->SetFaceDiscret(new BRepMesh_FaceDiscret(new BudgetedAlgoFactory(shared)));
    BRepMesh_IncrementalMesh mesher;
    mesher.SetShape(shape);
    mesher.ChangeParameters() = parameters;
    mesher.Perform(context);
    report = std::move(shared.report);
    return mesher.IsDone();
}

std::vector<Handle(Poly_Triangulation)> MeshFacesInChildProcesses(
    const std::vector<TopoDS_Face>& faces, const IMeshTools_Parameters& parameters,
    double seconds) {
    std::vector<Handle(Poly_Triangulation)> meshes(faces.size());
    const size_t slots = std::max(1u, std::thread::hardware_concurrency());
    std::vector<Child> running;
    size_t next = 0;
    while (next < faces.size() || !running.empty()) {
        while (next < faces.size() && running.size() < slots) {
            Child child;
            child.face = next++;
            if (launch(faces[child.face], parameters, seconds, child))
                running.push_back(child);
        }
        for (auto it = running.begin(); it != running.end();) {
            int status = 0;
            const pid_t ended = ::waitpid(it->pid, &status, WNOHANG);
            if (ended == 0 && Clock::now() <= it->deadline) {
                ++it;
                continue;
            }
            meshes[it->face] = collect(*it, status, ended != it->pid);
            it = running.erase(it);
        }
        if (!running.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return meshes;
}

}  // namespace facet
}  // namespace orik
