// Reading and fitting one photo.
#include "photos/photo_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>

#include "jpeg/error_codes.h"
#include "photos/photo_path.h"

namespace photos {

namespace {

// The decoder's source over an open file: each decoder's open() starts again at byte 0.
class FileInputStream final : public jpeg::JpegInputStream {
 public:
  explicit FileInputStream(std::ifstream& file) : file_(file) {}
  void open() override {
    file_.clear();
    file_.seekg(0);
  }
  std::int32_t read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) override {
    if (max_bytes <= 0) return 0;
    file_.read(reinterpret_cast<char*>(buffer), max_bytes);
    if (file_.bad()) return kReadError;
    const auto got = static_cast<std::int32_t>(file_.gcount());
    if (got < max_bytes) at_end = true;
    return got;
  }

 private:
  std::ifstream& file_;
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
  // Through a path, not fopen, which would read a UTF-8 name in Windows' ANSI code page.
  std::ifstream file(path_of(path), std::ios::binary);
  if (!file) return {{}, std::string("cannot be read (") + std::strerror(errno) + ")"};
  char start[12];
  file.read(start, sizeof start);
  if (file.bad()) return {{}, std::string("cannot be read (") + std::strerror(errno) + ")"};
  const auto got = static_cast<std::size_t>(file.gcount());
  if (std::string format = other_format(reinterpret_cast<const std::uint8_t*>(start), got);
      !format.empty()) {
    return {{}, format};
  }
  FileInputStream stream(file);
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
