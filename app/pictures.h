// The two embedded pictures: copied out of the program's resources (type "JPGDATA", ids
// 112 and 115) and descrambled once at start-up, then kept for the whole run.
#pragma once

#include <cstdint>
#include <memory>

#include "app/scramble.h"
#include "platform/resource_store.h"

namespace app {

inline constexpr int kInfoPictureId = 112;
inline constexpr int kMainPictureId = 115;
inline constexpr const char* kPictureType = "JPGDATA";

// An owned byte buffer and its length.
struct PictureBytes {
  std::unique_ptr<std::uint8_t[]> data;
  std::int32_t length = 0;
};

// The descrambled info picture (resource 112) and main picture (resource 115).
struct Pictures {
  PictureBytes info_picture;
  PictureBytes main_picture;
};

// Finds resource id of the given type in store (null: none). On success gives its
// read-only bytes (valid for the whole run) and size; otherwise null and 0.
bool load_resource(platform::ResourceStore* store, int id, const char* type,
                   const std::uint8_t** data, std::uint32_t* size);

// Copies resource id of the given type into a new buffer of exactly its size. Returns
// false, leaving out unchanged, when the resource is missing, too large for a signed
// 32-bit length, or the buffer cannot be allocated.
bool load_resource_copy(platform::ResourceStore* store, int id, const char* type,
                        PictureBytes* out);

// Copies resource 112 of store into info_picture and 115 into main_picture, stopping at the
// first failure (a copy already made stays), then descrambles both with the build's seed
// and width. Returns whether both were loaded.
bool load_pictures(platform::ResourceStore* store, Pictures& pictures);

}  // namespace app
