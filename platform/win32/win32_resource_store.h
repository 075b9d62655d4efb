// The executable's own resources (FindResourceA, LoadResource, LockResource,
// SizeofResource) behind the portable ResourceStore.
#pragma once

#include "platform/resource_store.h"

namespace platform::win32 {

class Win32ResourceStore final : public ResourceStore {
 public:
  FoundResource find(int id, const char* type) override;
  LoadedResource load(FoundResource found) override;
  const void* lock(LoadedResource loaded) override;
  std::uint32_t size_of(FoundResource found) override;
};

}  // namespace platform::win32
