// Counts every allocation of the benchmark program that includes this header (once), so that a
// benchmark can state the heap memory its operation held and its peak.
#pragma once

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::atomic<std::size_t> gHeapInUse{0};
std::atomic<std::size_t> gHeapPeak{0};

// The block's size sits in front of it; 16 bytes keep the block aligned for any type.
constexpr std::size_t kHeader = 16;

void* CountedAllocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    std::size_t inUse = gHeapInUse += size;
    std::size_t peak = gHeapPeak.load();
    while (inUse > peak && !gHeapPeak.compare_exchange_weak(peak, inUse)) {
    }
    return block + kHeader;
}

void CountedFree(void* memory) noexcept {
    if (!memory)
        return;
    auto* block = static_cast<unsigned char*>(memory) - kHeader;
    std::size_t size;
    std::memcpy(&size, block, sizeof size);
    gHeapInUse -= size;
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    return CountedAllocate(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAllocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* memory) noexcept {
    CountedFree(memory);
}
void operator delete[](void* memory) noexcept {
    CountedFree(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    CountedFree(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    CountedFree(memory);
}
