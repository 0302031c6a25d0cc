#pragma once
// What this process holds in memory, as the soak reads it after each game.

#include <cstdint>

namespace mw {

// Resident memory in bytes (0 when unknown): for people to read; the
// allocator's pools and the sanitizer's quarantine make it noisy.
std::int64_t ResidentBytes();

// Heap bytes allocated and not yet freed (0 when unknown): under
// AddressSanitizer its allocator's count, else glibc's when its thread cache
// is off. Unlike the resident size it does not move when freed memory is kept
// for later.
std::int64_t HeapBytesInUse();

}  // namespace mw
