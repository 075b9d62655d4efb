// The page's side of the photo show: requests go to the page, which reads the file, has it
// fitted by its photo worker and hands the frame (or the problem) back through
// mq_web_photo_buffer and mq_web_photo_read.
#include "app/web_photos.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "display/frame_size.h"

namespace app {

namespace {

// No photo the decoder accepts comes near this; a larger file is not read into memory.
constexpr std::size_t kMostFileBytes = std::size_t{256} << 20;

// clang-format off
// The page reads the file (refusing one too large to be a photo before reading it) and has
// its photo worker fit it: the frame's pixels come back, or the reason it cannot be shown.
EM_JS(void, page_read_photo, (int show, int position, int index, int contain, double most_bytes), {
  MoviquelPage.readPhoto(index, most_bytes, contain !== 0).then(
    (fitted) => {
      if (fitted === null) return _mq_web_photo_read(show, position, -2);
      const bytes = fitted.pixels ? new Uint8Array(fitted.pixels.buffer)
                                  : new TextEncoder().encode(fitted.problem);
      const at = _mq_web_photo_buffer(show, bytes.length);
      if (at) HEAPU8.set(bytes, at);
      _mq_web_photo_read(show, position, !at ? -1 : fitted.pixels ? 1 : 2);
    },
    () => _mq_web_photo_read(show, position, -1));
});
EM_JS(void, page_photo_problem, (int index, const char* text), {
  MoviquelPage.photoProblem(index, UTF8ToString(text));
});
EM_JS(void, page_photo_shown, (int index), { MoviquelPage.photoShown(index); });
// clang-format on

// The fitter whose reads and fits the page makes: every photo asked for is read and fitted
// off the page's thread, and taken here between frames.
class PageFitter final : public photos::PhotoFitter {
 public:
  PageFitter(bool contain, int show) : contain_(contain), show_(show) {}
  ~PageFitter() override;

  void request(std::int64_t position, std::string path) override {
    asked_ = position;
    page_read_photo(show_, static_cast<int>(position), std::stoi(path), contain_ ? 1 : 0,
                    static_cast<double>(kMostFileBytes));
    paths_.emplace_back(position, std::move(path));
  }
  bool busy_with(std::int64_t position) const override {
    if (asked_ == position) return true;
    for (const photos::LoadedPhoto& photo : done_) {
      if (photo.position == position) return true;
    }
    return false;
  }
  std::optional<photos::LoadedPhoto> take(bool) override {
    if (done_.empty()) return std::nullopt;
    photos::LoadedPhoto photo = std::move(done_.front());
    done_.pop_front();
    return photo;
  }

  int show() const { return show_; }
  // Room for the frame's pixels or the problem's text.
  std::uint8_t* buffer(std::size_t size) {
    bytes_.assign(std::min(size, kFrameBytes), 0);
    return bytes_.data();
  }
  // outcome: 1 the frame's pixels in the buffer, 2 the problem's text, -1 unreadable, -2 too
  // large to read.
  void read(std::int64_t position, int outcome) {
    photos::LoadedPhoto photo{position, path_of(position), {}};
    if (outcome == 1 && bytes_.size() == kFrameBytes) {
      photo.photo.pixels.resize(kFrameBytes / 4);
      std::memcpy(photo.photo.pixels.data(), bytes_.data(), kFrameBytes);
    } else if (outcome == 2) {
      photo.photo.problem.assign(bytes_.begin(), bytes_.end());
    } else if (outcome == -2) {
      photo.photo.problem = "the file is too large (over 256 MB)";
    } else {
      photo.photo.problem = "cannot be read";
    }
    bytes_ = {};
    if (asked_ == position) asked_.reset();
    done_.push_back(std::move(photo));
  }

 private:
  std::string path_of(std::int64_t position) {
    for (auto it = paths_.begin(); it != paths_.end(); ++it) {
      if (it->first != position) continue;
      std::string path = std::move(it->second);
      paths_.erase(it);
      return path;
    }
    return "0";
  }

  static constexpr std::size_t kFrameBytes =
      std::size_t{4} * display::kFrameWidth * display::kFrameHeight;

  bool contain_;
  int show_;
  std::optional<std::int64_t> asked_;
  std::deque<std::pair<std::int64_t, std::string>> paths_;
  std::deque<photos::LoadedPhoto> done_;
  std::vector<std::uint8_t> bytes_;
};

// The fitter of the show being played; reads for a show since replaced are dropped.
PageFitter* current_fitter = nullptr;
int shows_begun = 0;

PageFitter::~PageFitter() {
  if (current_fitter == this) current_fitter = nullptr;
}

// "INDEX: why" from the show, to the page, which names the file.
void tell_page(const std::string& line) {
  const std::size_t colon = line.find(": ");
  page_photo_problem(std::stoi(line.substr(0, colon)), line.substr(colon + 2).c_str());
}

}  // namespace

std::unique_ptr<photos::PhotoShow> begin_page_photos(std::int32_t count, bool shuffle,
                                                     bool contain) {
  std::int32_t next = 0;
  photos::EntrySource names = [next, count]() mutable -> std::optional<photos::WalkEntry> {
    if (next == count) return std::nullopt;
    return photos::WalkEntry{std::to_string(next++), {}};
  };
  auto fitter = std::make_unique<PageFitter>(contain, ++shows_begun);
  current_fitter = fitter.get();
  auto show = std::make_unique<photos::PhotoShow>(
      photos::Playlist(std::move(names), shuffle, std::random_device{}()), std::move(fitter),
      photos::PhotoShowHooks{
          tell_page, [](const std::string& index) { page_photo_shown(std::stoi(index)); },
          [] { page_photo_problem(-1, "no photo that can be shown in the files given"); }});
  show->begin();
  return show;
}

}  // namespace app

// The page hands a fitted photo over in two steps: a buffer of its size, then the outcome
// (PageFitter::read). Reads for a show since replaced are dropped.
extern "C" {

EMSCRIPTEN_KEEPALIVE std::uint8_t* mq_web_photo_buffer(int show, int size) {
  if (app::current_fitter == nullptr || app::current_fitter->show() != show || size < 0) {
    return nullptr;
  }
  return app::current_fitter->buffer(static_cast<std::size_t>(size));
}

EMSCRIPTEN_KEEPALIVE void mq_web_photo_read(int show, int position, int outcome) {
  if (app::current_fitter != nullptr && app::current_fitter->show() == show) {
    app::current_fitter->read(position, outcome);
  }
}

}  // extern "C"
