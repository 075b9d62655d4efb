// The photo show over a folder made in the test: the order of the walk, hidden files, a link
// loop, the shuffled rounds, and the lines for files that cannot be shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/xscreensaver_settings.h"
#include "photos/photo_file.h"
#include "photos/photo_loader.h"
#include "photos/photo_show.h"
#include "photos/playlist.h"

namespace photos {
namespace {

namespace fs = std::filesystem;

class PhotoFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("mq_photos_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    std::ifstream photo(MQ_TEST_PHOTO, std::ios::binary);
    photo_.assign(std::istreambuf_iterator<char>(photo), {});
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path path = root_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::string photo(const std::string& name) { return write(name, photo_); }

  fs::path root_;
  std::string photo_;
};

std::vector<std::string> walk_all(std::vector<std::string> paths) {
  PhotoWalk walk(std::move(paths));
  std::vector<std::string> seen;
  while (std::optional<WalkEntry> entry = walk.next()) {
    seen.push_back(entry->problem.empty() ? entry->path : entry->path + ": " + entry->problem);
  }
  return seen;
}

TEST_F(PhotoFolder, TheWalkGoesByPathSkipsHiddenOnesAndEndsInALinkLoop) {
  const std::string b = photo("b.jpg"), a2 = photo("a/2.jpg"), a10 = photo("a/10.jpg");
  // A name that is not UTF-8 is still a file's name, walked and read by its own bytes.
  const std::string odd = photo("\xff/\xc3.jpg");
  EXPECT_EQ(fit_photo_file(odd, {}).problem, "");
  photo(".hidden.jpg");
  photo(".folder/c.jpg");
  fs::create_directory_symlink(root_, root_ / "a" / "loop");
  const std::string named_hidden = photo(".named.jpg");
  const std::string missing = (root_ / "missing").string();
  EXPECT_EQ(walk_all({root_.string(), named_hidden, missing, b}),
            (std::vector<std::string>{a10, a2, b, odd, named_hidden,
                                      missing + ": no such file or folder"}));
}

TEST_F(PhotoFolder, ThePathOrderWrapsBothWaysAndShuffledRoundsPlayEachPhotoOnce) {
  for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) photo(name);
  Playlist in_order(PhotoWalk({root_.string()}), false, 1);
  const std::int64_t first = *in_order.after(std::nullopt);
  EXPECT_EQ(fs::path(in_order.path(first)).filename(), "1.jpg");
  const std::int64_t last = *in_order.before(first);
  EXPECT_EQ(fs::path(in_order.path(last)).filename(), "5.jpg");
  EXPECT_EQ(in_order.after(last), first);
  in_order.drop(last);
  EXPECT_EQ(fs::path(in_order.path(*in_order.before(first))).filename(), "4.jpg");

  Playlist shuffled(PhotoWalk({root_.string()}), true, 7);
  std::vector<std::string> played;
  std::optional<std::int64_t> at;
  for (int i = 0; i < 50; ++i) {
    at = shuffled.after(at);
    played.push_back(shuffled.path(*at));
  }
  for (std::ptrdiff_t round = 0; round < 10; ++round) {
    const std::set<std::string> photos(played.begin() + round * 5, played.begin() + round * 5 + 5);
    EXPECT_EQ(photos.size(), 5u) << "round " << round;
  }
  EXPECT_EQ(std::adjacent_find(played.begin(), played.end()), played.end());
  // Nor when the file that ended a round was found bad and dropped as it came.
  for (std::uint32_t seed = 1; seed <= 30; ++seed) {
    Playlist with_bad(PhotoWalk({root_.string()}), true, seed);
    std::vector<std::string> shown;
    for (std::optional<std::int64_t> next; shown.size() < 12;) {
      next = with_bad.after(next);
      if (fs::path(with_bad.path(*next)).filename() == "5.jpg") {
        with_bad.drop(*next);
      } else {
        shown.push_back(with_bad.path(*next));
      }
    }
    EXPECT_EQ(std::adjacent_find(shown.begin(), shown.end()), shown.end()) << "seed " << seed;
  }
  // Back through what was played, and forward again along the same photos.
  const std::int64_t back = *shuffled.before(*at);
  EXPECT_EQ(shuffled.path(back), played[48]);
  EXPECT_EQ(shuffled.after(back), at);
}

TEST_F(PhotoFolder, FilesThatCannotBeShownAreToldOnceEachAndSkipped) {
  write("1-empty.jpg", "");
  write("2-png.jpg", "\x89PNG\r\n\x1a\n rest of a PNG");
  write("3-heic.jpg", std::string("\0\0\0\x18"
                                  "ftypheic\0\0\0\0",
                                  16));
  const std::string good = photo("4-good.jpg");
  write("5-cut.jpg", photo_.substr(0, 2000));
  write("6-text.jpg", "hello");
  const std::string other = photo("7-good.jpg");
  std::vector<std::string> lines, shown;
  PhotoShow show(Playlist(PhotoWalk({root_.string()}), false, 1),
                 std::make_unique<PhotoLoader>(jpeg::FitFrame{}),
                 {[&](const std::string& line) { lines.push_back(line); },
                  [&](const std::string& path) { shown.push_back(path); },
                  {}});
  ASSERT_TRUE(show.start());
  EXPECT_EQ(show.current().size(), 640u * 480u);
  show.want_next();
  while (!show.poll()) {
  }
  show.want_next();  // past the bad ones before the first photo, to it again
  while (!show.poll()) {
  }
  EXPECT_EQ(shown, (std::vector<std::string>{good, other, good}));
  const std::string dir = root_.string() + "/";
  EXPECT_EQ(lines, (std::vector<std::string>{
                       dir + "1-empty.jpg: the file is empty",
                       dir + "2-png.jpg: a PNG picture, not a JPEG",
                       dir + "3-heic.jpg: a HEIC picture, not a JPEG",
                       dir + "5-cut.jpg: the JPEG data is damaged at byte 2000",
                       dir + "6-text.jpg: not a JPEG file",
                   }));
}

TEST_F(PhotoFolder, NoPhotoToShowIsAFailedStart) {
  write("a.jpg", "not a photo");
  std::vector<std::string> lines;
  const auto show = [&] {
    return PhotoShow(Playlist(PhotoWalk({root_.string(), (root_ / "gone").string()}), true, 1),
                     std::make_unique<PhotoLoader>(jpeg::FitFrame{}),
                     {[&](const std::string& line) { lines.push_back(line); },
                      {},
                      [&] { lines.push_back("nothing"); }});
  };
  EXPECT_FALSE(show().start());
  EXPECT_EQ(lines.size(), 2u);
  // Begun without waiting, as in a browser: told once the last file is found bad.
  PhotoShow begun = show();
  begun.begin();
  while (!begun.exhausted()) begun.poll();
  EXPECT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines.back(), "nothing");
}

TEST(XscreensaverSettings, TheImageFolderCountsOnlyWithRandomImagesOn) {
  EXPECT_EQ(app::xscreensaver_image_folder(
                "imageDirectory:\t~/Pictures\nchooseRandomImages: True\n", "/home/u"),
            "/home/u/Pictures");
  EXPECT_EQ(
      app::xscreensaver_image_folder("chooseRandomImages:\tFalse\nimageDirectory: /p\n", "/h"),
      std::nullopt);
  EXPECT_EQ(app::xscreensaver_image_folder("chooseRandomImages: True\nimageDirectory:\n", "/h"),
            std::nullopt);
}

}  // namespace
}  // namespace photos
