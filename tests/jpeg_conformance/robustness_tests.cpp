// Damaged input: every conformance picture cut short at a spread of offsets and with single
// bytes changed at a spread of positions must decode or fail cleanly on both paths (run under the
// sanitizer preset, this also proves the absence of overruns and leaks). The fuzzer's seeds, its
// minimised corpus and every input it ever broke the decoder with are replayed the same way.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/jpeg_conformance/conformance_support.h"
#include "tools/fuzz/fuzz_decode.h"
#include "tools/fuzz/fuzz_photo.h"

namespace conformance {
namespace {

void expect_clean(const std::vector<std::uint8_t>& bytes, const std::string& what) {
  const std::string broken = tools::fuzz_decode(bytes.data(), bytes.size(), tools::kTestMaxPixels);
  EXPECT_TRUE(broken.empty()) << what << ": " << broken;
  // The photo paths: every scale, each with another orientation, mode and path.
  for (std::uint32_t scale = 0; scale < 4; ++scale) {
    const std::uint32_t selector =
        scale | (static_cast<std::uint32_t>(bytes.size() + scale) % 16) << 2 | (scale & 1) << 6;
    const std::string photo =
        tools::fuzz_photo(bytes.data(), bytes.size(), tools::kTestMaxPixels, selector);
    EXPECT_TRUE(photo.empty()) << what << " (photo paths, selector " << selector << "): " << photo;
  }
}

// Offsets to cut at: the first bytes one by one (SOI and the first segment), then an even
// spread over the file.
std::vector<std::size_t> cut_offsets(std::size_t size) {
  std::vector<std::size_t> offsets = {0, 1, 2, 3, 4, 5, 8, 13, 21, 34, 55, 89, 144, 233};
  constexpr std::size_t kSpread = 16;
  for (std::size_t i = 1; i < kSpread; ++i) offsets.push_back(size * i / kSpread);
  offsets.push_back(size - 1);
  offsets.push_back(size - 2);
  return offsets;
}

// Positions to change: every 7th byte of the headers' region, then an even spread.
std::vector<std::size_t> change_positions(std::size_t size) {
  std::vector<std::size_t> positions;
  for (std::size_t at = 2; at < size && at < 700; at += 7) positions.push_back(at);
  constexpr std::size_t kSpread = 24;
  for (std::size_t i = 1; i < kSpread; ++i) positions.push_back(size * i / kSpread);
  return positions;
}

void expect_damage_handled(const std::string& dir, const std::string& name) {
  const std::vector<std::uint8_t> bytes = read_bytes(dir + "/" + name);
  ASSERT_GT(bytes.size(), 4u) << name;
  for (const std::size_t offset : cut_offsets(bytes.size())) {
    if (offset >= bytes.size()) continue;
    const std::vector<std::uint8_t> cut(bytes.begin(),
                                        bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    expect_clean(cut, name + " cut at " + std::to_string(offset));
  }
  // Three kinds of change: all bits flipped, the byte made FF (a stray marker) and made 0.
  const std::uint8_t kinds[] = {0x00, 0xFF, 0x01};
  std::size_t count = 0;
  for (const std::size_t at : change_positions(bytes.size())) {
    std::vector<std::uint8_t> changed = bytes;
    const std::uint8_t kind = kinds[count++ % 3];
    changed[at] = kind == 0x01 ? static_cast<std::uint8_t>(~changed[at]) : kind;
    expect_clean(changed, name + " with byte " + std::to_string(at) + " changed");
  }
}

// The pictures are split by family so that the sanitizer run spreads over several processes.
void expect_family_handled(const std::string& prefix) {
  std::size_t count = 0;
  for (const std::string& name : files_in(picture_dir(), ".jpg")) {
    if (name.rfind(prefix, 0) != 0) continue;
    expect_damage_handled(picture_dir(), name);
    ++count;
  }
  EXPECT_GT(count, 0u) << "no conformance pictures named " << prefix << "* in " << picture_dir();
}

TEST(DamagedPictures, CutOrChangedPhotographsDecodeOrFailCleanly) {
  expect_family_handled("photo_");
}

TEST(DamagedPictures, CutOrChangedPlasmaPicturesDecodeOrFailCleanly) {
  expect_family_handled("plasma_");
  expect_family_handled("checker_");
}

TEST(DamagedPictures, CutOrChangedTinyPicturesDecodeOrFailCleanly) {
  expect_family_handled("tiny_");
}

TEST(DamagedPictures, CutOrChanged8192PixelPicturesDecodeOrFailCleanly) {
  expect_family_handled("wide_");
  expect_family_handled("tall_");
}

TEST(DamagedPictures, CutOrChangedImageMagickAndRefusedPicturesDecodeOrFailCleanly) {
  expect_family_handled("im_");
  expect_family_handled("refuse_");
}

TEST(DamagedPictures, IntactConformancePicturesKeepEveryPromise) {
  for (const std::string& name : files_in(picture_dir(), ".jpg")) {
    expect_clean(read_bytes(picture_dir() + "/" + name), name);
  }
}

TEST(FuzzCorpus, SeedsAndRegressionInputsDecodeOrFailCleanly) {
  const std::string seeds = MQ_FUZZ_DATA "/seeds";
  const std::vector<std::string> seed_names = files_in(seeds, ".jpg");
  ASSERT_FALSE(seed_names.empty()) << "no seeds in " << seeds;
  for (const std::string& name : seed_names) expect_clean(read_bytes(seeds + "/" + name), name);
  const std::string regressions = MQ_FUZZ_DATA "/regressions";
  for (const std::string& name : files_in(regressions, ".jpg")) {
    expect_clean(read_bytes(regressions + "/" + name), "regression " + name);
  }
}

// The fuzzing campaign's minimised corpus (files named by their hash, no extension) stays small
// enough to keep in the repository, and every input in it keeps the decoder's promises.
TEST(FuzzCorpus, MinimisedCorpusStaysWithinItsBudgetAndDecodesOrFailsCleanly) {
  const std::string corpus = MQ_FUZZ_DATA "/corpus";
  const std::vector<std::string> names = files_in(corpus, "");
  ASSERT_FALSE(names.empty()) << "no inputs in " << corpus;
  std::size_t total = 0;
  for (const std::string& name : names) {
    const std::vector<std::uint8_t> bytes = read_bytes(corpus + "/" + name);
    total += bytes.size();
    expect_clean(bytes, "corpus input " + name);
  }
  EXPECT_LE(total, std::size_t{1} << 20) << "the corpus outgrew its 1 MiB budget";
}

}  // namespace
}  // namespace conformance
