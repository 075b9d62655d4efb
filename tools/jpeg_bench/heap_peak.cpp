// Counting replacements of the C allocator's entry points: they forward to the C library's own
// allocator (its __libc_ entry points) and add or remove each block's usable size, so that
// operator new, calloc and TurboJPEG's allocations are all counted. Atomic, for the decoder's
// second thread.
#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

#include "tools/jpeg_bench/heap_peak.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<std::int64_t> in_use{0};
std::atomic<std::int64_t> peak{0};
std::atomic<std::int64_t> base{0};

void add(std::int64_t bytes) {
  const std::int64_t now = in_use.fetch_add(bytes, std::memory_order_relaxed) + bytes;
  std::int64_t seen = peak.load(std::memory_order_relaxed);
  while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
  }
}

void* counted(void* block) {
  if (block != nullptr) add(static_cast<std::int64_t>(malloc_usable_size(block)));
  return block;
}

void uncount(void* block) {
  if (block != nullptr) add(-static_cast<std::int64_t>(malloc_usable_size(block)));
}

}  // namespace

namespace bench {

bool heap_counted() {
  return true;
}

void heap_peak_reset() {
  const std::int64_t now = in_use.load(std::memory_order_relaxed);
  base.store(now, std::memory_order_relaxed);
  peak.store(now, std::memory_order_relaxed);
}

std::int64_t heap_peak_bytes() {
  return peak.load(std::memory_order_relaxed) - base.load(std::memory_order_relaxed);
}

}  // namespace bench

extern "C" {

void* malloc(std::size_t size) {
  return counted(__libc_malloc(size));
}

void* calloc(std::size_t count, std::size_t size) {
  return counted(__libc_calloc(count, size));
}

void* realloc(void* block, std::size_t size) {
  // A failed realloc leaves the old block in place and counted.
  const std::size_t old_bytes = block != nullptr ? malloc_usable_size(block) : 0;
  void* moved = __libc_realloc(block, size);
  if (moved == nullptr && size != 0) return nullptr;
  add(-static_cast<std::int64_t>(old_bytes));
  return counted(moved);
}

void free(void* block) {
  uncount(block);
  __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) {
  return counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
  return counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
  void* block = counted(__libc_memalign(alignment, size));
  if (block == nullptr) return ENOMEM;
  *out = block;
  return 0;
}

}  // extern "C"
