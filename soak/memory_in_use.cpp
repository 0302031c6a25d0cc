#include "soak/memory_in_use.h"

#if defined(__SANITIZE_ADDRESS__)
#define MW_ASAN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MW_ASAN_ALLOCATOR 1
#endif
#endif

#ifdef MW_ASAN_ALLOCATOR
#include <cstddef>
// The sanitizer runtime's own count; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif
#if defined(__GLIBC__) || defined(__linux__)
#include <malloc.h>
#endif
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>

namespace mw {

std::int64_t ResidentBytes() {
#ifdef _WIN32
  return 0;  // the memory check of `make soak` runs on Linux
#else
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (f == nullptr) return 0;
  long total = 0;
  long resident = 0;
  const int got = std::fscanf(f, "%ld %ld", &total, &resident);
  std::fclose(f);
  return got == 2 ? static_cast<std::int64_t>(resident) * ::sysconf(_SC_PAGESIZE) : 0;
#endif
}

std::int64_t HeapBytesInUse() {
#if defined(MW_ASAN_ALLOCATOR)
  return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__)
  // glibc's thread cache keeps freed small blocks, and mallinfo2 counts them
  // as in use, so its count drifts with how full the cache happens to be.
  // Only with the cache off (GLIBC_TUNABLES=glibc.malloc.tcache_count=0) is
  // it the program's own: a freed block must leave the count.
  void* probe = std::malloc(1000);
  if (probe == nullptr || ::malloc_usable_size(probe) < 1000) return 0;  // also keeps the block
  const std::size_t with_probe = ::mallinfo2().uordblks;
  std::free(probe);
  if (::mallinfo2().uordblks >= with_probe) return 0;
  // Small blocks in the arenas, and the big ones glibc maps on their own.
  const struct mallinfo2 info = ::mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
#else
  return 0;
#endif
}

}  // namespace mw
