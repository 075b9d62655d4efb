// The shared peer corpus (a folder beside the work tree, not part of it): every file decodes or
// fails cleanly, also cut short or with changed bytes, and every file that both this decoder and
// djpeg accept decodes on the integer path within one step of `djpeg -dct int -nosmooth`.
// Without the folder the tests are skipped, saying so, unless MQ_REQUIRE_PEER_CORPUS is set in
// the environment (CI sets it): then they fail.
#include <gtest/gtest.h>
#include <unistd.h>

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

// Marks the test skipped without the folder, or failed where MQ_REQUIRE_PEER_CORPUS asks for it.
void require_peer_corpus() {
  if (std::filesystem::is_directory(peer_dir())) return;
  if (std::getenv("MQ_REQUIRE_PEER_CORPUS") != nullptr) {
    ADD_FAILURE() << "the peer corpus " << peer_dir() << " is not here";
    return;
  }
  GTEST_SKIP() << "the peer corpus " << peer_dir() << " is not beside the work tree";
}

std::vector<std::string> peer_files() {
  std::vector<std::string> names = files_in(peer_dir(), ".jpg");
  for (const std::string& name : files_in(peer_dir(), ".jpeg")) names.push_back(name);
  return names;
}

TEST(PeerCorpus, EveryFileDecodesOrFailsCleanlyAlsoWhenDamaged) {
  require_peer_corpus();
  if (HasFailure() || IsSkipped()) return;
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
  require_peer_corpus();
  if (HasFailure() || IsSkipped()) return;
  const std::string djpeg = MQ_DJPEG;
  // One file per process: the linux and asan runs (and other work trees) run this at once.
  const std::string reference_path = (std::filesystem::temp_directory_path() /
                                      ("mq_peer_reference_" + std::to_string(getpid()) + ".pnm"))
                                         .string();
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
