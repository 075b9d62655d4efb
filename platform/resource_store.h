// The embedded-resource look-up of the program's own module, shaped after FindResourceA,
// LoadResource, LockResource and SizeofResource so that the loading code is the same on
// every platform. Windows reads the executable's resources; Linux and the tests read data
// compiled into the program (platform/embedded/).
#pragma once

#include <cstdint>

namespace platform {

// Opaque handles: a found resource (HRSRC) and a loaded one (HGLOBAL). Null means failure.
struct FoundResourceTag;
struct LoadedResourceTag;
using FoundResource = FoundResourceTag*;
using LoadedResource = LoadedResourceTag*;

class ResourceStore {
 public:
  virtual ~ResourceStore() = default;
  // FindResourceA(null module, MAKEINTRESOURCEA(id), type): the resource with an integer
  // id and a string type name (e.g. "JPGDATA"), or null when there is none.
  virtual FoundResource find(int id, const char* type) = 0;
  // LoadResource(null module, found): null when found is null or loading fails.
  virtual LoadedResource load(FoundResource found) = 0;
  // LockResource(loaded): the address of the first byte, read-only and valid for the
  // whole run; null when loaded is null.
  virtual const void* lock(LoadedResource loaded) = 0;
  // SizeofResource(null module, found): the size in bytes, 0 when found is null.
  virtual std::uint32_t size_of(FoundResource found) = 0;
};

}  // namespace platform
