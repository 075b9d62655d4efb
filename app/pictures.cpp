// Loading and descrambling of the embedded pictures through the platform's resource store.
#include "app/pictures.h"

#include <cstring>
#include <limits>
#include <new>

#include "app/scramble_key.h"
#include "platform/resource_store.h"

namespace app {

bool load_resource(platform::ResourceStore* store, int id, const char* type,
                   const std::uint8_t** data, std::uint32_t* size) {
  *data = nullptr;
  *size = 0;
  if (store == nullptr) return false;
  const platform::FoundResource found = store->find(id, type);
  if (found == nullptr) return false;
  // A resource that is found but cannot be loaded or locked has no bytes to hand out;
  // it counts as missing rather than as a null buffer of some size.
  const void* bytes = store->lock(store->load(found));
  if (bytes == nullptr) return false;
  *data = static_cast<const std::uint8_t*>(bytes);
  *size = store->size_of(found);
  return true;
}

bool load_resource_copy(platform::ResourceStore* store, int id, const char* type,
                        PictureBytes* out) {
  const std::uint8_t* bytes = nullptr;
  std::uint32_t size = 0;
  if (!load_resource(store, id, type, &bytes, &size)) return false;
  if (size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) return false;
  std::unique_ptr<std::uint8_t[]> copy(new (std::nothrow) std::uint8_t[size]);
  if (copy == nullptr) return false;
  if (size > 0) std::memcpy(copy.get(), bytes, size);
  out->data = std::move(copy);
  out->length = static_cast<std::int32_t>(size);
  return true;
}

bool load_pictures(platform::ResourceStore* store, Pictures& pictures) {
  PictureBytes& info = pictures.info_picture;
  PictureBytes& main = pictures.main_picture;
  if (!load_resource_copy(store, kInfoPictureId, kPictureType, &info)) return false;
  if (!load_resource_copy(store, kMainPictureId, kPictureType, &main)) return false;
  // The pictures' own arguments are always valid, so the results need no check.
  descramble(info.data.get(), info.length, kScrambleSeed, kScrambleWidth);
  descramble(main.data.get(), main.length, kScrambleSeed, kScrambleWidth);
  return true;
}

}  // namespace app
