#include "TriangleStripifier.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace orik {
namespace facet {

namespace {

constexpr uint32_t kNone = 0xffffffffu;

bool isDegenerate(const uint32_t* v) {
    return v[0] == v[1] || v[1] == v[2] || v[2] == v[0];
}

}  // namespace

void TriangleStripifier::Build(const uint32_t* triangles, size_t triangleCount, size_t nodeCount,
                               TriangleStrips& out) {
    // Without a flip test nothing is written through the pointer.
    Build(const_cast<uint32_t*>(triangles), triangleCount, nodeCount, nullptr, out);
}

size_t TriangleStripifier::Build(uint32_t* triangles, size_t triangleCount, size_t nodeCount,
                                 const QuadFlipTest* flips, TriangleStrips& out) {
    out.Clear();
    tris_ = triangles;
    triCount_ = triangleCount;
    flips_ = flips;
    flipped_ = 0;
    if (triangleCount == 0)
        return 0;
    buildAdjacency(nodeCount);
    startDegree_ = freeDegree_;
    if (flips_) {
        flipVerdict_.assign(3 * triCount_, 0);
        original_.assign(triangles, triangles + 3 * triCount_);
    }
    // Lowest numbers first follows BRepMesh's numbering; highest first starts from the other end.
    static const Rules kRules[] = {{true}, {false}};
    size_t bestFlipped = 0;
    bool first = true;
    for (const Rules& rules : kRules) {
        if (!first && flips_)
            std::copy(original_.begin(), original_.end(), triangles);
        rules_ = rules;
        cover(first ? out : trialStrips_);
        if (first || trialStrips_.indices.size() < out.indices.size()) {
            if (!first)
                std::swap(out, trialStrips_);
            bestFlipped = flipped_;
            if (flips_ && flipped_ > 0)
                bestTris_.assign(triangles, triangles + 3 * triCount_);
        }
        first = false;
    }
    if (flips_)
        std::copy(bestFlipped > 0 ? bestTris_.begin() : original_.begin(),
                  bestFlipped > 0 ? bestTris_.end() : original_.end(), triangles);
    return bestFlipped;
}

void TriangleStripifier::cover(TriangleStrips& out) {
    out.Clear();
    flipped_ = 0;
    freeDegree_ = startDegree_;
    used_.assign(triCount_, 0);
    stamp_.assign(triCount_, 0);
    trial_ = 0;
    for (auto& bucket : buckets_)
        bucket.clear();
    // Pushed backwards so that, among equals, lower triangle numbers come out first (or forwards
    // for the highest first): BRepMesh numbers neighbouring triangles close together, which
    // keeps successive strips side by side.
    if (rules_.lowestFirst) {
        for (size_t t = triCount_; t-- > 0;)
            buckets_[freeDegree_[t]].push_back(uint32_t(t));
    } else {
        for (size_t t = 0; t < triCount_; ++t)
            buckets_[freeDegree_[t]].push_back(uint32_t(t));
    }

    // Two starts of the fewest free neighbours are weighed against each other: the one whose
    // strip is worth more goes first, the other waits for its turn.
    for (uint32_t start = nextStart(); start != kNone; start = nextStart()) {
        const uint32_t degree = freeDegree_[start];
        const uint32_t second = degree > 0 ? popStart(degree) : kNone;
        int best = 0;
        long bestScore = std::numeric_limits<long>::min();
        weighStart(start, best, bestScore);
        if (second != kNone) {
            weighStart(second, best, bestScore);
            buckets_[degree].push_back(walks_[best].start == start ? second : start);
        }
        emit(walks_[best], out);
    }
}

// Walks from start in its three rotations and keeps the one worth most in walks_[best], unless
// the best walk so far (worth bestScore) is worth as much.
void TriangleStripifier::weighStart(uint32_t start, int& best, long& bestScore) {
    for (uint32_t rotation = 0; rotation < 3; ++rotation) {
        Walk& candidate = walks_[1 - best];
        walk(start, rotation, candidate);
        const long candidateScore = score(candidate);
        if (candidateScore > bestScore) {
            best = 1 - best;
            bestScore = candidateScore;
        }
    }
}

// Links each triangle edge a->b with the edge b->a of another triangle, so that strips only cross
// edges between consistently wound triangles. Non-manifold edges keep their first partner.
void TriangleStripifier::buildAdjacency(size_t nodeCount) {
    incidenceStart_.assign(nodeCount + 1, 0);
    for (size_t i = 0; i < 3 * triCount_; ++i)
        ++incidenceStart_[tris_[i] + 1];
    for (size_t n = 0; n < nodeCount; ++n)
        incidenceStart_[n + 1] += incidenceStart_[n];
    incidence_.resize(3 * triCount_);
    nodes_.assign(incidenceStart_.begin(), incidenceStart_.end() - 1);  // fill cursors
    for (size_t t = 0; t < triCount_; ++t) {
        for (int k = 0; k < 3; ++k)
            incidence_[nodes_[tris_[3 * t + k]]++] = uint32_t(t);
    }

    neighbours_.assign(3 * triCount_, kNone);
    freeDegree_.assign(triCount_, 0);
    for (size_t t = 0; t < triCount_; ++t) {
        const uint32_t* v = tris_ + 3 * t;
        if (isDegenerate(v))
            continue;
        for (int e = 0; e < 3; ++e) {
            if (neighbours_[3 * t + e] != kNone)
                continue;
            const uint32_t a = v[e], b = v[(e + 1) % 3];
            for (uint32_t i = incidenceStart_[b]; i < incidenceStart_[b + 1]; ++i) {
                const uint32_t other = incidence_[i];
                const uint32_t* w = tris_ + 3 * other;
                if (other == t || isDegenerate(w))
                    continue;
                int j = 0;
                while (j < 3 && !(w[j] == b && w[(j + 1) % 3] == a))
                    ++j;
                if (j == 3 || neighbours_[3 * other + j] != kNone)
                    continue;
                neighbours_[3 * t + e] = other;
                neighbours_[3 * other + j] = uint32_t(t);
                ++freeDegree_[t];
                ++freeDegree_[other];
                break;
            }
        }
    }
}

uint32_t TriangleStripifier::crossEdge(uint32_t triangle, uint32_t a, uint32_t b) const {
    const uint32_t* v = tris_ + 3 * triangle;
    const uint32_t* n = neighbours_.data() + 3 * triangle;
    if ((v[0] == a && v[1] == b) || (v[0] == b && v[1] == a))
        return n[0];
    if ((v[1] == a && v[2] == b) || (v[1] == b && v[2] == a))
        return n[1];
    return n[2];
}

// The node of a non-degenerate triangle that is neither a nor b (unsigned wrap-around is exact).
uint32_t TriangleStripifier::thirdNode(uint32_t triangle, uint32_t a, uint32_t b) const {
    const uint32_t* v = tris_ + 3 * triangle;
    return v[0] + v[1] + v[2] - a - b;
}

bool TriangleStripifier::isFree(uint32_t triangle) const {
    return triangle != kNone && !used_[triangle] && stamp_[triangle] != trial_;
}

uint32_t TriangleStripifier::freeDegreeWithout(uint32_t triangle, uint32_t excluded) const {
    uint32_t degree = 0;
    for (int e = 0; e < 3; ++e) {
        const uint32_t n = neighbours_[3 * triangle + e];
        if (n != excluded && isFree(n))
            ++degree;
    }
    return degree;
}

// Asks the flip test once per pair; the verdict is kept for both triangles' edges.
bool TriangleStripifier::canFlip(uint32_t first, uint32_t second) {
    int e = 0, j = 0;
    while (e < 3 && neighbours_[3 * first + e] != second)
        ++e;
    while (j < 3 && neighbours_[3 * second + j] != first)
        ++j;
    if (e == 3 || j == 3)
        return false;
    uint8_t& verdict = flipVerdict_[3 * first + e];
    if (verdict == 0) {
        const uint32_t* v = tris_ + 3 * first;
        const uint32_t p = v[e], q = v[(e + 1) % 3];
        verdict = flips_->CanFlip(p, q, v[(e + 2) % 3], thirdNode(second, p, q)) ? 1 : 2;
        flipVerdict_[3 * second + j] = verdict;
    }
    return verdict == 1;
}

// Having entered n (third node w) across a-b, the strip goes straight on across b-w, or takes
// the flippable partner m across a-w too. It flips where it cannot go straight, and otherwise
// where the triangle it would meet next has no more free neighbours than the straight one:
// keeping to the edge of the free region leaves fewer triangles cut off.
bool TriangleStripifier::preferFlip(uint32_t n, uint32_t m, uint32_t a, uint32_t b, uint32_t w) {
    if (!isFree(m))
        return false;
    const uint32_t straight = crossEdge(n, b, w);
    if (isFree(straight)) {
        const uint32_t afterFlip = crossEdge(m, thirdNode(m, a, w), w);
        if (!isFree(afterFlip) || afterFlip == straight ||
            freeDegreeWithout(afterFlip, m) > freeDegreeWithout(straight, kNone)) {
            return false;
        }
    }
    return canFlip(n, m);
}

// Extends one end of a strip whose outermost node is b and next one a (near holds the edge a-b)
// by the triangle n across it, adding its third node w; or by n and its partner m across a-w as
// a flipped pair, adding z (m's third node) and then w. Works for both ends alike.
bool TriangleStripifier::step(uint32_t& near, uint32_t& a, uint32_t& b, Step& step) {
    const uint32_t n = crossEdge(near, a, b);
    if (!isFree(n))
        return false;
    stamp_[n] = trial_;
    const uint32_t w = thirdNode(n, a, b);
    if (flips_) {
        const uint32_t m = crossEdge(n, a, w);
        if (preferFlip(n, m, a, b, w)) {
            stamp_[m] = trial_;
            step = {n, m, thirdNode(m, a, w), w};
            near = m;
            a = step.node;
            b = w;
            return true;
        }
    }
    step = {n, kNone, w, kNone};
    near = n;
    a = b;
    b = w;
    return true;
}

// Walks from the start triangle, rotated so that it reads (a, b, c): forward across b-c, backward
// across a-b. An odd number of triangles before the start would put the start triangle at an odd
// position and wind every triangle the wrong way: the strip is then read from its other end when
// its length is odd, and otherwise loses one triangle at an end first.
void TriangleStripifier::walk(uint32_t start, uint32_t rotation, Walk& result) {
    ++trial_;
    stamp_[start] = trial_;
    result.start = start;
    result.rotation = rotation;
    result.forward.clear();
    result.backward.clear();
    result.reverse = false;
    result.triangleCount = 1;
    const uint32_t* v = tris_ + 3 * start;
    if (isDegenerate(v))
        return;
    Step next;
    uint32_t near = start, a = v[(rotation + 1) % 3], b = v[(rotation + 2) % 3];
    while (step(near, a, b, next))
        result.forward.push_back(next);
    near = start, a = v[(rotation + 1) % 3], b = v[rotation];
    while (step(near, a, b, next))
        result.backward.push_back(next);

    auto count = [](const std::vector<Step>& steps) {
        size_t triangles = 0;
        for (const Step& s : steps)
            triangles += s.partner == kNone ? 1 : 2;
        return triangles;
    };
    const size_t backward = count(result.backward);
    const size_t forward = 1 + count(result.forward);
    if (backward % 2 == 1) {
        if ((backward + forward) % 2 == 1) {
            result.reverse = true;
        } else if (!result.forward.empty()) {
            shortenByOne(result.forward);
            result.reverse = true;
        } else {
            shortenByOne(result.backward);
        }
    }
    result.triangleCount = 1 + count(result.forward) + count(result.backward);
}

// A walk's worth: its triangles, less two for each free triangle it would leave without a free
// neighbour (each such triangle costs a strip of its own later), and less one for each it would
// leave with a single free neighbour where it had more (a dead end where a short strip starts).
long TriangleStripifier::score(const Walk& candidate) {
    ++trial_;
    stamp_[candidate.start] = trial_;
    for (const std::vector<Step>* steps : {&candidate.backward, &candidate.forward}) {
        for (const Step& s : *steps) {
            stamp_[s.triangle] = trial_;
            if (s.partner != kNone)
                stamp_[s.partner] = trial_;
        }
    }
    long cost = 0;
    auto costAround = [&](uint32_t triangle) {
        for (int e = 0; e < 3; ++e) {
            const uint32_t n = neighbours_[3 * triangle + e];
            if (!isFree(n))
                continue;
            const uint32_t left = freeDegreeWithout(n, kNone);
            if (left == 0)
                cost += 2;
            else if (left == 1 && freeDegree_[n] > 1)
                cost += 1;
        }
    };
    costAround(candidate.start);
    for (const std::vector<Step>* steps : {&candidate.backward, &candidate.forward}) {
        for (const Step& s : *steps) {
            costAround(s.triangle);
            if (s.partner != kNone)
                costAround(s.partner);
        }
    }
    return long(candidate.triangleCount) - cost;
}

// Drops the last triangle of a walk: a flipped pair falls back to its first triangle unflipped.
void TriangleStripifier::shortenByOne(std::vector<Step>& steps) {
    Step& last = steps.back();
    if (last.partner == kNone) {
        steps.pop_back();
    } else {
        last = {last.triangle, kNone, last.outerNode, kNone};
    }
}

void TriangleStripifier::emit(const Walk& chosen, TriangleStrips& out) {
    const uint32_t start = chosen.start;
    nodes_.clear();
    for (size_t i = chosen.backward.size(); i-- > 0;) {
        const Step& step = chosen.backward[i];
        if (step.partner != kNone)
            nodes_.push_back(step.outerNode);
        nodes_.push_back(step.node);
    }
    const uint32_t* v = tris_ + 3 * start;
    for (uint32_t k = 0; k < 3; ++k)
        nodes_.push_back(v[(chosen.rotation + k) % 3]);
    for (const Step& step : chosen.forward) {
        nodes_.push_back(step.node);
        if (step.partner != kNone)
            nodes_.push_back(step.outerNode);
    }
    if (chosen.reverse)
        std::reverse(nodes_.begin(), nodes_.end());
    out.indices.insert(out.indices.end(), nodes_.begin(), nodes_.end());
    out.lengths.push_back(uint32_t(nodes_.size()));

    take(start);
    for (const std::vector<Step>* steps : {&chosen.backward, &chosen.forward}) {
        for (const Step& step : *steps) {
            if (step.partner != kNone)
                flipPair(step.triangle, step.partner);
            take(step.triangle);
            if (step.partner != kNone)
                take(step.partner);
        }
    }
}

// Rewrites (p,q,r) and (q,p,s) as (r,p,s) and (s,q,r): same quad, same winding, other diagonal.
// The adjacency is left as it was: both triangles are taken, so no walk crosses them again.
void TriangleStripifier::flipPair(uint32_t first, uint32_t second) {
    uint32_t* v = tris_ + 3 * first;
    int e = 0;
    while (neighbours_[3 * first + e] != second)
        ++e;
    const uint32_t p = v[e], q = v[(e + 1) % 3], r = v[(e + 2) % 3];
    const uint32_t s = thirdNode(second, p, q);
    uint32_t* w = tris_ + 3 * second;
    v[0] = r, v[1] = p, v[2] = s;
    w[0] = s, w[1] = q, w[2] = r;
    ++flipped_;
}

void TriangleStripifier::take(uint32_t triangle) {
    used_[triangle] = 1;
    for (int e = 0; e < 3; ++e) {
        const uint32_t n = neighbours_[3 * triangle + e];
        if (n == kNone || used_[n])
            continue;
        --freeDegree_[n];
        buckets_[freeDegree_[n]].push_back(n);
    }
}

uint32_t TriangleStripifier::nextStart() {
    for (uint32_t degree = 0; degree < 4; ++degree) {
        const uint32_t start = popStart(degree);
        if (start != kNone)
            return start;
    }
    return kNone;
}

// The free triangles' entries are lazy: a triangle stays in the buckets of its former degrees.
uint32_t TriangleStripifier::popStart(uint32_t degree) {
    auto& bucket = buckets_[degree];
    while (!bucket.empty()) {
        const uint32_t t = bucket.back();
        bucket.pop_back();
        if (!used_[t] && freeDegree_[t] == degree)
            return t;
    }
    return kNone;
}

}  // namespace facet
}  // namespace orik
