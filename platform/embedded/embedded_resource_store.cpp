// Look-up in a table of compiled-in resources. Found and loaded handles are both the
// address of the table entry, so nothing is allocated and nothing needs freeing.
#include "platform/embedded/embedded_resource_store.h"

namespace platform {

namespace {

char upper_ascii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Windows compares string resource type names without regard to case.
bool same_type_name(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (upper_ascii(*a) != upper_ascii(*b)) return false;
  }
  return *a == *b;
}

template <typename Handle>
Handle handle_of(const EmbeddedResource* entry) {
  return reinterpret_cast<Handle>(const_cast<EmbeddedResource*>(entry));
}

template <typename Handle>
const EmbeddedResource* entry_of(Handle handle) {
  return reinterpret_cast<const EmbeddedResource*>(handle);
}

}  // namespace

FoundResource EmbeddedResourceStore::find(int id, const char* type) {
  if (type == nullptr) return nullptr;
  for (const EmbeddedResource& entry : table_) {
    if (entry.id == id && same_type_name(entry.type, type)) {
      return handle_of<FoundResource>(&entry);
    }
  }
  return nullptr;
}

LoadedResource EmbeddedResourceStore::load(FoundResource found) {
  return found == nullptr ? nullptr : handle_of<LoadedResource>(entry_of(found));
}

const void* EmbeddedResourceStore::lock(LoadedResource loaded) {
  return loaded == nullptr ? nullptr : entry_of(loaded)->data;
}

std::uint32_t EmbeddedResourceStore::size_of(FoundResource found) {
  return found == nullptr ? 0u : entry_of(found)->size;
}

}  // namespace platform
