// The global allocator of this test program, able to fail on demand on the
// calling thread, so that out-of-memory paths can be driven.
#include <cstdlib>
#include <new>

#include "parts_fixture.h"

namespace {

thread_local bool t_failAllocations = false;

}  // namespace

namespace parts_test {

void FailAllocations(bool fail) {
    t_failAllocations = fail;
}

}  // namespace parts_test

void* operator new(std::size_t size) {
    void* memory = t_failAllocations ? nullptr : std::malloc(size ? size : 1);
    if (!memory) {
        throw std::bad_alloc();
    }
    return memory;
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return t_failAllocations ? nullptr : std::malloc(size ? size : 1);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
