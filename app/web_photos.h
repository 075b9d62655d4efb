// The browser's photos: the files a page was given (picked or dropped), read by the page one
// at a time when due and fitted here; their problems are shown in the page.
#pragma once

#include <cstdint>
#include <memory>

#include "photos/photo_show.h"

namespace app {

// A show over the page's count photos, which the page keeps in the order of their paths and
// reads by index. Begun: its first photo comes in a later frame.
std::unique_ptr<photos::PhotoShow> begin_page_photos(std::int32_t count, bool shuffle,
                                                     bool contain);

}  // namespace app
