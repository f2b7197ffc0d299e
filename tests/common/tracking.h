// Scene objects that count their own destruction, to check ownership without leaks or double
// frees.
#pragma once

#include <tamsg/tamsg.h>

#include <vector>

namespace tamtest {

// Counts destructions of every tracked object made with the same counter.
struct DeathCounter {
    int deaths = 0;
};

// An object of the given scene class that counts its destruction.
template <class Base>
class Tracked : public Base {
public:
    explicit Tracked(DeathCounter& counter) : m_counter(counter) {}
    ~Tracked() override { ++m_counter.deaths; }

protected:
    DeathCounter& m_counter;
};

using TrackedGroup = Tracked<sglGroup>;
using TrackedGeode = Tracked<sglGeode>;
using TrackedPointSet = Tracked<sglPointSet>;
using TrackedLighting = Tracked<sglLighting>;

// A user-data record whose clones count with the same counter.
class TrackedUserData : public Tracked<sglUserData> {
public:
    using Tracked::Tracked;
    sglUserData* clone() const override { return new TrackedUserData(m_counter); }
};

// A data pointer owning a copy of the values, counting its destruction.
template <class T>
class TrackedDataPtr : public sglArrayDataPtr<T> {
public:
    TrackedDataPtr(DeathCounter& counter, std::vector<T> values)
        : sglArrayDataPtr<T>(std::move(values)), m_counter(counter) {}
    ~TrackedDataPtr() override { ++m_counter.deaths; }

private:
    DeathCounter& m_counter;
};

// A point set of the given positions (3 floats each), one point per primitive.
inline sglPointSet* MakePoints(const std::vector<float>& xyz) {
    auto* points = new sglPointSet;
    points->setNumPrims(static_cast<unsigned int>(xyz.size() / 3));
    points->setCoordList(new sglArrayDataPtr<float>(xyz), SGL_FLOAT, 3, 0, 0);
    return points;
}

}  // namespace tamtest
