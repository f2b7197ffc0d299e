#include <orik/ORIK_OBJECT.h>

#include <new>

ORIK_OBJECT::~ORIK_OBJECT() = default;

void* ORIK_OBJECT::operator new(std::size_t size) {
    return ::operator new(size);
}

void* ORIK_OBJECT::operator new[](std::size_t size) {
    return ::operator new[](size);
}

void ORIK_OBJECT::operator delete(void* block) noexcept {
    ::operator delete(block);
}

void ORIK_OBJECT::operator delete[](void* block) noexcept {
    ::operator delete[](block);
}
