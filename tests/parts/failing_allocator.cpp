// This program's global allocator, able to fail on demand on the calling thread.
#include <cstdlib>
#include <new>

#include "parts_fixture.h"

namespace {

thread_local bool t_fail = false;

void* Allocate(std::size_t size) noexcept {
    return t_fail ? nullptr : std::malloc(size ? size : 1);
}

}  // namespace

void parts_test::FailAllocations(bool fail) {
    t_fail = fail;
}

void* operator new(std::size_t size) {
    void* memory = Allocate(size);
    return memory ? memory : throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
