// Base of every object the kernel allocates and hands out (entities, lists, refinements, mesh
// managers): allocation goes through the kernel's allocator.
#pragma once

#include <cstddef>

// Objects of the kernel. operator new/delete are the kernel's allocator (ordinary heap memory);
// deleting through a base pointer is safe (virtual destructor).
class ORIK_OBJECT {
public:
    ORIK_OBJECT() = default;
    ORIK_OBJECT(const ORIK_OBJECT&) = default;
    ORIK_OBJECT& operator=(const ORIK_OBJECT&) = default;
    virtual ~ORIK_OBJECT();

    // The kernel's allocator; throws std::bad_alloc like the global operator new.
    static void* operator new(std::size_t size);
    static void* operator new[](std::size_t size);
    // Releases memory from the kernel's allocator; null is ignored.
    static void operator delete(void* block) noexcept;
    static void operator delete[](void* block) noexcept;
};
