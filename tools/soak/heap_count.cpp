// Counting replacements of the C allocator's entry points. They forward to the C library's
// own allocator (its __libc_ entry points) and add or remove each block's usable size, so
// that operator new, the decoder's calloc and the library's own users are all counted.
// The process has one thread, so plain counters serve.
#include "tools/soak/heap_count.h"

#include <malloc.h>

#include <cerrno>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::int64_t bytes_in_use = 0;
std::int64_t blocks_in_use = 0;

void* counted(void* block) {
  if (block != nullptr) {
    bytes_in_use += static_cast<std::int64_t>(malloc_usable_size(block));
    ++blocks_in_use;
  }
  return block;
}

void uncount(void* block) {
  if (block != nullptr) {
    bytes_in_use -= static_cast<std::int64_t>(malloc_usable_size(block));
    --blocks_in_use;
  }
}

}  // namespace

namespace soak {

std::int64_t heap_bytes_in_use() {
  return bytes_in_use;
}

std::int64_t heap_blocks_in_use() {
  return blocks_in_use;
}

}  // namespace soak

extern "C" {

void* malloc(std::size_t size) {
  return counted(__libc_malloc(size));
}

void* calloc(std::size_t count, std::size_t size) {
  return counted(__libc_calloc(count, size));
}

void* realloc(void* block, std::size_t size) {
  // A failed realloc leaves the old block in place and counted.
  const std::int64_t old_bytes =
      block != nullptr ? static_cast<std::int64_t>(malloc_usable_size(block)) : 0;
  void* moved = __libc_realloc(block, size);
  if (moved == nullptr && size != 0) return nullptr;
  if (block != nullptr) {
    bytes_in_use -= old_bytes;
    --blocks_in_use;
  }
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
