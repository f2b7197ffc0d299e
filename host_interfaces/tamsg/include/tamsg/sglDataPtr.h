// Holder of one block of vertex data handed to a drawable.
#pragma once

#include <tamsg/sglObject.h>

#include <cstddef>
#include <vector>

// Holds a pointer to a block of data. The base does not release the block; subclasses that own
// their block release it in their destructors. A drawable deletes the holders given to it.
class sglDataPtr : public sglObject {
public:
    // Holds data (may be null); the block is not owned by this base class.
    explicit sglDataPtr(void* data = nullptr) : m_pData(data) {}
    ~sglDataPtr() override = default;

    // The held block, or null.
    virtual void* getData() const { return m_pData; }
    // Size of the held block in bytes when known (lets drawables validate counts); 0: unknown.
    virtual size_t getSizeInBytes() const { return 0; }

protected:
    const char* className() const override { return "sglDataPtr"; }

    // The held block; subclasses that own it release it in their destructors.
    void* m_pData;
};

// A holder that owns a std::vector<T>; for host code that makes new vertex arrays.
template <class T>
class sglArrayDataPtr : public sglDataPtr {
public:
    // Takes the elements over (moved in); an empty vector holds a null block.
    explicit sglArrayDataPtr(std::vector<T> elements) : m_elements(std::move(elements)) {
        m_pData = m_elements.empty() ? nullptr : m_elements.data();
    }

    // The elements held.
    const std::vector<T>& elements() const { return m_elements; }
    size_t getSizeInBytes() const override { return m_elements.size() * sizeof(T); }

protected:
    const char* className() const override { return "sglArrayDataPtr"; }

private:
    std::vector<T> m_elements;
};
