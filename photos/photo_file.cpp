// Reading and fitting one photo.
#include "photos/photo_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "jpeg/error_codes.h"

namespace photos {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string unreadable(const char* what) {
  return std::string("cannot be read (") + what + ")";
}

// ISO base media files (HEIF, AVIF) start with a box of type "ftyp" and a brand.
std::string other_format(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() >= 12 && std::memcmp(bytes.data() + 4, "ftyp", 4) == 0) {
    const std::string brand(bytes.begin() + 8, bytes.begin() + 12);
    if (brand == "avif" || brand == "avis") return "an AVIF picture, not a JPEG";
    if (brand == "heic" || brand == "heix" || brand == "hevc" || brand == "hevx" ||
        brand == "heim" || brand == "heis" || brand == "mif1" || brand == "msf1") {
      return "a HEIC picture, not a JPEG";
    }
  }
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), kPng, 4) == 0)
    return "a PNG picture, not a JPEG";
  return {};
}

}  // namespace

FileBytes read_photo_file(const std::string& path) {
  FileBytes result;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    result.problem = unreadable(std::strerror(errno));
    return result;
  }
  // Read in pieces rather than by the size the file had a moment ago: it may change meanwhile.
  std::uint8_t piece[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(piece, 1, sizeof piece, file.get());
    if (got == 0) break;
    if (static_cast<std::int64_t>(result.bytes.size() + got) > kMaxPhotoFileBytes) {
      result.bytes = {};
      result.problem = "the file is too large (over 256 MB)";
      return result;
    }
    result.bytes.insert(result.bytes.end(), piece, piece + got);
  }
  if (std::ferror(file.get())) {
    result.bytes = {};
    result.problem = unreadable(std::strerror(errno));
  }
  return result;
}

FittedPhoto fit_photo(const std::vector<std::uint8_t>& bytes, const jpeg::FitFrame& frame) {
  FittedPhoto result;
  if (bytes.empty()) {
    result.problem = "the file is empty";
    return result;
  }
  if (std::string format = other_format(bytes); !format.empty()) {
    result.problem = std::move(format);
    return result;
  }
  result.pixels.resize(static_cast<std::size_t>(frame.width) *
                       static_cast<std::size_t>(frame.height));
  std::int64_t offset = 0;
  jpeg::DecoderOptions options;
  const std::int32_t code =
      jpeg::decode_fitted(bytes.data(), static_cast<std::int32_t>(bytes.size()), options, frame,
                          result.pixels.data(), &offset);
  if (code == 0) return result;
  result.pixels = {};
  result.problem = jpeg::error_text(code);
  // Where the data is damaged, the byte helps whoever looks at the file; a refused kind of
  // JPEG is refused by its headers, so no byte is given for those.
  if (code != jpeg::NoStartOfImage && code != jpeg::ArithmeticCoding &&
      code != jpeg::UnsupportedFrame && code != jpeg::SamplePrecision &&
      code != jpeg::ComponentCount && code != jpeg::ImageTooLarge && code != jpeg::OutOfMemory &&
      offset > 0) {
    result.problem += " at byte " + std::to_string(offset);
  }
  return result;
}

}  // namespace photos
