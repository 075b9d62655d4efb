// Reading and fitting one photo.
#include "photos/photo_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "jpeg/error_codes.h"

namespace photos {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The decoder's source over an open file: each decoder's open() starts again at byte 0.
class FileInputStream final : public jpeg::JpegInputStream {
 public:
  explicit FileInputStream(std::FILE* file) : file_(file) {}
  void open() override { std::rewind(file_); }
  std::int32_t read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) override {
    if (max_bytes <= 0) return 0;
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(max_bytes), file_);
    if (std::ferror(file_)) return kReadError;
    if (got < static_cast<std::size_t>(max_bytes)) at_end = true;
    return static_cast<std::int32_t>(got);
  }

 private:
  std::FILE* file_;
};

// The start of a file that is some other picture, named; empty when it may be a JPEG.
// ISO base media files (HEIF, AVIF) start with a box of type "ftyp" and a brand.
std::string other_format(const std::uint8_t* start, std::size_t size) {
  if (size == 0) return "the file is empty";
  if (size >= 12 && std::memcmp(start + 4, "ftyp", 4) == 0) {
    const std::string brand(start + 8, start + 12);
    if (brand == "avif" || brand == "avis") return "an AVIF picture, not a JPEG";
    if (brand == "heic" || brand == "heix" || brand == "hevc" || brand == "hevx" ||
        brand == "heim" || brand == "heis" || brand == "mif1" || brand == "msf1") {
      return "a HEIC picture, not a JPEG";
    }
  }
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
  if (size >= 4 && std::memcmp(start, kPng, 4) == 0) return "a PNG picture, not a JPEG";
  return {};
}

// The decoder's verdict in words. Where the data is damaged the byte helps whoever looks at
// the file; kinds of JPEG that are refused are refused by their headers, so no byte is given.
std::string refusal(std::int32_t code, std::int64_t offset) {
  std::string text = jpeg::error_text(code);
  const bool kind_refused = code == jpeg::NoStartOfImage || code == jpeg::ArithmeticCoding ||
                            code == jpeg::UnsupportedFrame || code == jpeg::SamplePrecision ||
                            code == jpeg::ComponentCount || code == jpeg::ImageTooLarge ||
                            code == jpeg::OutOfMemory || code == jpeg::ReadFailed;
  if (!kind_refused && offset > 0) text += " at byte " + std::to_string(offset);
  return text;
}

template <typename Decode>
FittedPhoto fitted(const jpeg::FitFrame& frame, Decode&& decode) {
  FittedPhoto result;
  result.pixels.resize(static_cast<std::size_t>(frame.width) *
                       static_cast<std::size_t>(frame.height));
  std::int64_t offset = 0;
  if (const std::int32_t code = decode(result.pixels.data(), &offset); code != 0) {
    result.pixels = {};
    result.problem = refusal(code, offset);
  }
  return result;
}

}  // namespace

FittedPhoto fit_photo_file(const std::string& path, const jpeg::FitFrame& frame) {
  const File file(std::fopen(path.c_str(), "rb"));
  if (!file) return {{}, std::string("cannot be read (") + std::strerror(errno) + ")"};
  std::uint8_t start[12];
  const std::size_t got = std::fread(start, 1, sizeof start, file.get());
  if (std::ferror(file.get()))
    return {{}, std::string("cannot be read (") + std::strerror(errno) + ")"};
  if (std::string format = other_format(start, got); !format.empty()) return {{}, format};
  FileInputStream stream(file.get());
  return fitted(frame, [&](std::uint32_t* pixels, std::int64_t* offset) {
    return jpeg::decode_fitted(stream, {}, frame, pixels, offset);
  });
}

FittedPhoto fit_photo(const std::vector<std::uint8_t>& bytes, const jpeg::FitFrame& frame) {
  if (std::string format = other_format(bytes.data(), bytes.size()); !format.empty()) {
    return {{}, format};
  }
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return {{}, jpeg::error_text(jpeg::ImageTooLarge)};
  }
  return fitted(frame, [&](std::uint32_t* pixels, std::int64_t* offset) {
    return jpeg::decode_fitted(bytes.data(), static_cast<std::int32_t>(bytes.size()), {}, frame,
                               pixels, offset);
  });
}

}  // namespace photos
