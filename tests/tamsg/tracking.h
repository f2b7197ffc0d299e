// Test doubles that count their own destruction, to check ownership without leaks or double frees.
#pragma once

#include <tamsg/tamsg.h>

#include <vector>

namespace tamtest {

// Counts destructions of every tracked object made with the same counter.
struct DeathCounter {
    int deaths = 0;
};

class TrackedGroup : public sglGroup {
public:
    explicit TrackedGroup(DeathCounter& counter) : m_counter(counter) {}
    ~TrackedGroup() override { ++m_counter.deaths; }

private:
    DeathCounter& m_counter;
};

class TrackedGeode : public sglGeode {
public:
    explicit TrackedGeode(DeathCounter& counter) : m_counter(counter) {}
    ~TrackedGeode() override { ++m_counter.deaths; }

private:
    DeathCounter& m_counter;
};

class TrackedPointSet : public sglPointSet {
public:
    explicit TrackedPointSet(DeathCounter& counter) : m_counter(counter) {}
    ~TrackedPointSet() override { ++m_counter.deaths; }

private:
    DeathCounter& m_counter;
};

class TrackedUserData : public sglUserData {
public:
    explicit TrackedUserData(DeathCounter& counter) : m_counter(counter) {}
    ~TrackedUserData() override { ++m_counter.deaths; }
    sglUserData* clone() const override { return new TrackedUserData(m_counter); }

private:
    DeathCounter& m_counter;
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

class TrackedLighting : public sglLighting {
public:
    explicit TrackedLighting(DeathCounter& counter) : m_counter(counter) {}
    ~TrackedLighting() override { ++m_counter.deaths; }

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
