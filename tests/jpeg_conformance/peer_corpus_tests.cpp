// The shared peer corpus (a folder beside the work tree, not part of it): every file decodes or
// fails cleanly, also cut short or with changed bytes, and every file that both this decoder and
// djpeg accept decodes on the integer path within one step of `djpeg -dct int -nosmooth`. The
// tests skip when the folder is not there.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/jpeg_conformance/conformance_support.h"
#include "tools/fuzz/fuzz_decode.h"

namespace conformance {
namespace {

std::string peer_dir() {
  return MQ_PEER_CORPUS;
}

std::vector<std::string> peer_files() {
  std::vector<std::string> names = files_in(peer_dir(), ".jpg");
  for (const std::string& name : files_in(peer_dir(), ".jpeg")) names.push_back(name);
  return names;
}

TEST(PeerCorpus, EveryFileDecodesOrFailsCleanlyAlsoWhenDamaged) {
  if (!std::filesystem::is_directory(peer_dir())) GTEST_SKIP() << peer_dir() << " is not here";
  for (const std::string& name : peer_files()) {
    const std::vector<std::uint8_t> bytes = read_bytes(peer_dir() + "/" + name);
    std::string broken = tools::fuzz_decode(bytes.data(), bytes.size(), tools::kTestMaxPixels);
    EXPECT_TRUE(broken.empty()) << name << ": " << broken;
    for (std::size_t i = 1; i < 16 && bytes.size() > 16; ++i) {
      const std::size_t at = bytes.size() * i / 16;
      broken = tools::fuzz_decode(bytes.data(), at, tools::kTestMaxPixels);
      EXPECT_TRUE(broken.empty()) << name << " cut at " << at << ": " << broken;
      std::vector<std::uint8_t> changed = bytes;
      changed[at] = static_cast<std::uint8_t>(~changed[at]);
      broken = tools::fuzz_decode(changed.data(), changed.size(), tools::kTestMaxPixels);
      EXPECT_TRUE(broken.empty()) << name << " with byte " << at << " changed: " << broken;
    }
  }
}

TEST(PeerCorpus, FilesDjpegAcceptsMatchItsIntegerTransform) {
  if (!std::filesystem::is_directory(peer_dir())) GTEST_SKIP() << peer_dir() << " is not here";
  const std::string djpeg = MQ_DJPEG;
  if (djpeg.empty()) GTEST_SKIP() << "djpeg is not installed";
  const std::string reference_path =
      (std::filesystem::temp_directory_path() / "mq_peer_reference.pnm").string();
  for (const std::string& name : peer_files()) {
    const std::string path = peer_dir() + "/" + name;
    const std::vector<std::uint8_t> bytes = read_bytes(path);
    const tools::DecodedPicture ours =
        tools::decode_picture(bytes.data(), static_cast<std::int32_t>(bytes.size()), false);
    if (ours.error_code != 0) continue;  // refusals are judged by the corpus's own list
    const std::string command = "'" + djpeg + "' -dct int -nosmooth -outfile '" + reference_path +
                                "' '" + path + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) continue;
    const Difference difference = compare(ours, read_pnm(reference_path));
    EXPECT_LE(difference.worst_mean(), 1.0)
        << name << ", largest difference " << difference.largest;
  }
  std::remove(reference_path.c_str());
}

}  // namespace
}  // namespace conformance
