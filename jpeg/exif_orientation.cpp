// EXIF orientation: the APP1 payload "Exif\0\0" holds a TIFF file (TIFF 6.0 section 2): a byte
// order mark "II" or "MM", 42, and the offset of IFD0, whose 12-byte entries are tag, type,
// count and value. Every read is checked against the payload's size, and an IFD whose entry
// count does not fit in the payload is refused before it is walked.
#include "jpeg/exif_orientation.h"

namespace jpeg {

namespace {

constexpr std::int32_t kOrientationTag = 0x0112;
constexpr std::int32_t kTypeShort = 3;
constexpr std::int32_t kExifHeaderBytes = 6;
constexpr std::int32_t kEntryBytes = 12;

class TiffReader {
 public:
  TiffReader(const std::uint8_t* data, std::int64_t size, bool big_endian)
      : data_(data), size_(size), big_endian_(big_endian) {}

  bool has(std::int64_t offset, std::int64_t bytes) const {
    return offset >= 0 && bytes >= 0 && offset <= size_ && bytes <= size_ - offset;
  }
  // Callers check has() first.
  std::uint32_t u16(std::int64_t offset) const {
    const std::uint32_t a = data_[offset];
    const std::uint32_t b = data_[offset + 1];
    return big_endian_ ? (a << 8) | b : (b << 8) | a;
  }
  std::uint32_t u32(std::int64_t offset) const {
    const std::uint32_t high = u16(big_endian_ ? offset : offset + 2);
    const std::uint32_t low = u16(big_endian_ ? offset + 2 : offset);
    return (high << 16) | low;
  }

 private:
  const std::uint8_t* data_;
  std::int64_t size_;
  bool big_endian_;
};

}  // namespace

std::int32_t exif_orientation(const std::uint8_t* payload, std::int32_t size) {
  constexpr std::uint8_t kExif[kExifHeaderBytes] = {'E', 'x', 'i', 'f', 0, 0};
  if (payload == nullptr || size < kExifHeaderBytes + 8) return 1;
  for (std::int32_t i = 0; i < kExifHeaderBytes; ++i) {
    if (payload[i] != kExif[i]) return 1;
  }
  const std::uint8_t* tiff = payload + kExifHeaderBytes;
  const std::int64_t tiff_size = size - kExifHeaderBytes;
  bool big_endian = false;
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    big_endian = true;
  } else if (tiff[0] != 'I' || tiff[1] != 'I') {
    return 1;
  }
  const TiffReader r(tiff, tiff_size, big_endian);
  if (r.u16(2) != 42) return 1;
  const std::int64_t ifd = r.u32(4);
  if (!r.has(ifd, 2)) return 1;
  const std::int64_t count = r.u16(ifd);
  if (!r.has(ifd + 2, count * kEntryBytes)) return 1;
  for (std::int64_t e = 0; e < count; ++e) {
    const std::int64_t entry = ifd + 2 + e * kEntryBytes;
    if (r.u16(entry) != kOrientationTag) continue;
    if (r.u16(entry + 2) != kTypeShort || r.u32(entry + 4) != 1) return 1;
    const std::uint32_t value = r.u16(entry + 8);
    return value >= 1 && value <= 8 ? static_cast<std::int32_t>(value) : 1;
  }
  return 1;
}

}  // namespace jpeg
