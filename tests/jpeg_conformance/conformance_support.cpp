// Helpers of the conformance tests: files, PNM references from djpeg, decoding and comparison.
#include "tests/jpeg_conformance/conformance_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace conformance {

std::string picture_dir() {
  return MQ_CONFORMANCE_PICTURES;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                   std::istreambuf_iterator<char>());
}

namespace {

// The next header number of a PNM file, skipping white space and comments.
bool pnm_number(const std::vector<std::uint8_t>& bytes, std::size_t& at, std::int32_t& value) {
  while (at < bytes.size()) {
    if (bytes[at] == '#') {
      while (at < bytes.size() && bytes[at] != '\n') ++at;
    } else if (bytes[at] == ' ' || bytes[at] == '\n' || bytes[at] == '\r' || bytes[at] == '\t') {
      ++at;
    } else {
      break;
    }
  }
  value = 0;
  const std::size_t begin = at;
  while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9' && value < 100000) {
    value = value * 10 + (bytes[at] - '0');
    ++at;
  }
  return at > begin;
}

}  // namespace

tools::DecodedPicture read_pnm(const std::string& path) {
  tools::DecodedPicture picture;
  const std::vector<std::uint8_t> bytes = read_bytes(path);
  if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '6')) return picture;
  std::size_t at = 2;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t max_value = 0;
  if (!pnm_number(bytes, at, width) || !pnm_number(bytes, at, height) ||
      !pnm_number(bytes, at, max_value) || max_value != 255) {
    return picture;
  }
  ++at;  // the single white-space byte before the samples
  const std::int32_t channels = bytes[1] == '5' ? 1 : 3;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                            static_cast<std::size_t>(channels);
  if (bytes.size() < at + count) return picture;
  picture.width = width;
  picture.height = height;
  picture.channels = channels;
  picture.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
  return picture;
}

double Difference::worst_mean() const {
  if (mean_per_channel.empty()) return 1e9;
  return *std::max_element(mean_per_channel.begin(), mean_per_channel.end());
}

Difference compare(const tools::DecodedPicture& ours, const tools::DecodedPicture& reference) {
  Difference difference;
  if (ours.width != reference.width || ours.height != reference.height ||
      ours.channels != reference.channels || ours.channels == 0 ||
      ours.pixels.size() != reference.pixels.size()) {
    return difference;
  }
  const auto channels = static_cast<std::size_t>(ours.channels);
  std::vector<double> sums(channels, 0.0);
  for (std::size_t i = 0; i < ours.pixels.size(); ++i) {
    const int delta = std::abs(int{ours.pixels[i]} - int{reference.pixels[i]});
    sums[i % channels] += delta;
    difference.largest = std::max(difference.largest, delta);
  }
  const double pixels = static_cast<double>(ours.pixels.size() / channels);
  for (double sum : sums) difference.mean_per_channel.push_back(sum / pixels);
  return difference;
}

std::vector<std::string> files_in(const std::string& dir, const std::string& extension) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    if (entry.is_regular_file() && entry.path().extension() == extension) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace conformance
