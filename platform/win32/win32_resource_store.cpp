// Resource look-up in the program's own module (the null module handle).
#include "platform/win32/win32_resource_store.h"

#include "platform/win32/win32_headers.h"

namespace platform::win32 {

FoundResource Win32ResourceStore::find(int id, const char* type) {
  if (type == nullptr) return nullptr;
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
  return reinterpret_cast<FoundResource>(found);
}

LoadedResource Win32ResourceStore::load(FoundResource found) {
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(nullptr, reinterpret_cast<HRSRC>(found));
  return reinterpret_cast<LoadedResource>(loaded);
}

const void* Win32ResourceStore::lock(LoadedResource loaded) {
  if (loaded == nullptr) return nullptr;
  return LockResource(reinterpret_cast<HGLOBAL>(loaded));
}

std::uint32_t Win32ResourceStore::size_of(FoundResource found) {
  if (found == nullptr) return 0;
  return static_cast<std::uint32_t>(SizeofResource(nullptr, reinterpret_cast<HRSRC>(found)));
}

}  // namespace platform::win32
