// Turns an indexed triangle list into triangle strips that keep every triangle's winding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orik {
namespace facet {

// Strips over a node array: strip k uses the next lengths[k] entries of indices. A strip
// v0 v1 v2 v3 ... stands for the triangles (v0,v1,v2), (v2,v1,v3), (v2,v3,v4), (v4,v3,v5) ...
struct TriangleStrips {
    std::vector<uint32_t> indices;
    std::vector<uint32_t> lengths;

    // Number of triangles the strips stand for.
    size_t TriangleCount() const { return indices.size() - 2 * lengths.size(); }
    void Clear() {
        indices.clear();
        lengths.clear();
    }
};

// Decides whether two neighbouring triangles may trade their shared edge for the other diagonal
// of the quad they form (geometry the stripifier does not know).
class QuadFlipTest {
public:
    virtual ~QuadFlipTest() = default;
    // Whether (p,q,r) and (q,p,s), sharing the edge p-q, may become (r,p,s) and (s,q,r).
    virtual bool CanFlip(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const = 0;
};

// Greedy stripifier: starts each strip at one of two free triangles with the fewest free
// neighbours, tries their three rotations, extends each both ways and keeps the longest (less
// what it leaves isolated or at a dead end). Where the next two triangles form a quad that may be
// flipped, a strip may turn the quad's diagonal to go on, or to go on along fewer free neighbours.
// A greedy cover depends on its tie-breaks, so the cover is made under a few rules and the one with
// the fewest indices is kept. Linear in the number of triangles; keeps scratch buffers between
// calls.
class TriangleStripifier {
public:
    // Covers the triangles (3 node indices each, below nodeCount) with strips, each triangle once
    // and with its winding; out is overwritten. No triangle gives empty strips.
    void Build(const uint32_t* triangles, size_t triangleCount, size_t nodeCount,
               TriangleStrips& out);

    // As above, and may flip quads that flips (null: none) allows; flipped pairs are rewritten
    // in place in triangles, so that the strips stand for exactly the triangles left there.
    // Returns the number of pairs flipped.
    size_t Build(uint32_t* triangles, size_t triangleCount, size_t nodeCount,
                 const QuadFlipTest* flips, TriangleStrips& out);

private:
    // Tie-breaks of one greedy cover.
    struct Rules {
        bool lowestFirst;  // among equal start candidates, the lowest triangle number first
    };

    void cover(TriangleStrips& out);
    // One step of a walk: a triangle, or a flipped pair, and the nodes it adds to the strip.
    struct Step {
        uint32_t triangle;
        uint32_t partner;    // second triangle of a flipped pair, or none
        uint32_t node;       // node added next to the strip's end
        uint32_t outerNode;  // for a pair: node added after it
    };
    // The walks from one start triangle in one rotation.
    struct Walk {
        uint32_t start = 0;
        uint32_t rotation = 0;
        std::vector<Step> forward;   // appended after the start triangle
        std::vector<Step> backward;  // prepended before it, nearest first
        bool reverse = false;        // emit from the forward end so the winding comes out right
        size_t triangleCount = 0;
    };

    void buildAdjacency(size_t nodeCount);
    uint32_t crossEdge(uint32_t triangle, uint32_t a, uint32_t b) const;
    uint32_t thirdNode(uint32_t triangle, uint32_t a, uint32_t b) const;
    bool isFree(uint32_t triangle) const;
    uint32_t freeDegreeWithout(uint32_t triangle, uint32_t excluded) const;
    bool canFlip(uint32_t first, uint32_t second);
    bool preferFlip(uint32_t n, uint32_t m, uint32_t a, uint32_t b, uint32_t w);
    bool step(uint32_t& near, uint32_t& a, uint32_t& b, Step& step);
    void weighStart(uint32_t start, int& best, long& bestScore);
    void walk(uint32_t start, uint32_t rotation, Walk& result);
    long score(const Walk& candidate);
    static void shortenByOne(std::vector<Step>& steps);
    void emit(const Walk& chosen, TriangleStrips& out);
    void flipPair(uint32_t first, uint32_t second);
    void take(uint32_t triangle);
    uint32_t nextStart();
    uint32_t popStart(uint32_t degree);

    uint32_t* tris_ = nullptr;  // written only when flips_ is set
    size_t triCount_ = 0;
    const QuadFlipTest* flips_ = nullptr;
    Rules rules_{};
    size_t flipped_ = 0;
    std::vector<uint32_t> neighbours_;  // 3 per triangle, across edge (v[e], v[e+1]); none: ~0
    std::vector<uint32_t> incidence_;   // triangles around each node (CSR)
    std::vector<uint32_t> incidenceStart_;
    std::vector<uint8_t> freeDegree_;   // free neighbours of each free triangle
    std::vector<uint8_t> startDegree_;  // free neighbours before the first strip
    std::vector<uint8_t> used_;
    std::vector<uint8_t> flipVerdict_;  // 3 per triangle: 0 unknown, 1 may flip, 2 may not
    std::vector<uint32_t> stamp_;       // last walk that visited each triangle
    uint32_t trial_ = 0;
    std::vector<uint32_t> buckets_[4];  // free triangles by free degree (lazy)
    Walk walks_[2];                     // the best walk so far and the one being measured
    std::vector<uint32_t> nodes_;       // scratch: node sequence of the strip being emitted
    std::vector<uint32_t> original_;    // the triangles as given, while covers may flip them
    std::vector<uint32_t> bestTris_;    // the triangles of the best cover so far
    TriangleStrips trialStrips_;
};

}  // namespace facet
}  // namespace orik
