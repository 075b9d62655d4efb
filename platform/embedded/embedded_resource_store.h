// A resource store over a table of resources compiled into the program: the Linux
// player's store, and the tests' store over tables of their own.
#pragma once

#include <span>

#include "platform/embedded/embedded_resources.h"
#include "platform/resource_store.h"

namespace platform {

class EmbeddedResourceStore : public ResourceStore {
 public:
  // The table is not copied; it must outlive the store.
  explicit EmbeddedResourceStore(std::span<const EmbeddedResource> table) : table_(table) {}

  FoundResource find(int id, const char* type) override;
  LoadedResource load(FoundResource found) override;
  const void* lock(LoadedResource loaded) override;
  std::uint32_t size_of(FoundResource found) override;

 private:
  std::span<const EmbeddedResource> table_;
};

}  // namespace platform
