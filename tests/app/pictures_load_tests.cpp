// Loading the embedded pictures through the resource store: the pictures built into this
// binary against the JPEGs in resources/, missing resources, and a store that finds a
// resource but cannot lock it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/pictures.h"
#include "platform/embedded/embedded_resource_store.h"
#include "platform/embedded/embedded_resources.h"
#include "platform/window_system.h"

namespace {

std::vector<std::uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> bytes_of(const app::PictureBytes& picture) {
  if (picture.data == nullptr) return {};
  return {picture.data.get(), picture.data.get() + picture.length};
}

// The two pictures a test loads.
class PictureLoading : public ::testing::Test {
 protected:
  app::Pictures pictures_;
};

const std::array<unsigned char, 3> kThreeBytes = {10, 20, 30};
const std::array<unsigned char, 5> kFiveBytes = {1, 2, 3, 4, 5};

TEST_F(PictureLoading, EmbeddedPicturesDescrambleToTheJpegsByteForByte) {
  platform::EmbeddedResourceStore store(platform::embedded_resources());
  ASSERT_TRUE(app::load_pictures(&store, pictures_));
  EXPECT_EQ(bytes_of(pictures_.info_picture), read_file(MQ_RESOURCES_DIR "/info_picture.jpg"));
  EXPECT_EQ(bytes_of(pictures_.main_picture), read_file(MQ_RESOURCES_DIR "/main_picture.jpg"));
}

TEST_F(PictureLoading, EmbeddedBytesAreScrambledNotPlainJpeg) {
  platform::EmbeddedResourceStore store(platform::embedded_resources());
  const std::array<std::pair<int, const char*>, 2> pictures = {
      {{app::kInfoPictureId, "/info_picture.jpg"}, {app::kMainPictureId, "/main_picture.jpg"}}};
  for (const auto& [id, file] : pictures) {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t size = 0;
    ASSERT_TRUE(app::load_resource(&store, id, "JPGDATA", &bytes, &size));
    const std::vector<std::uint8_t> jpeg = read_file(std::string(MQ_RESOURCES_DIR) + file);
    ASSERT_EQ(size, jpeg.size());
    // No JPEG start-of-image marker, and only chance agreement (about 1 in 256) elsewhere.
    EXPECT_FALSE(bytes[0] == 0xFF && bytes[1] == 0xD8) << "resource " << id;
    std::size_t equal = 0;
    for (std::size_t i = 0; i < size; ++i) equal += bytes[i] == jpeg[i] ? 1u : 0u;
    EXPECT_LT(equal, size / 100) << "resource " << id;
  }
}

TEST_F(PictureLoading, MissingMainPictureAfterThePresentInfoPictureFails) {
  const std::array<platform::EmbeddedResource, 1> table = {
      {{112, "JPGDATA", kThreeBytes.data(), 3}}};
  platform::EmbeddedResourceStore store(table);
  EXPECT_FALSE(app::load_pictures(&store, pictures_));
  // The info picture was copied before the failure and stays, still scrambled.
  EXPECT_EQ(pictures_.info_picture.length, 3);
  EXPECT_EQ(bytes_of(pictures_.info_picture), (std::vector<std::uint8_t>{10, 20, 30}));
  EXPECT_EQ(pictures_.main_picture.data, nullptr);
  EXPECT_EQ(pictures_.main_picture.length, 0);
}

TEST_F(PictureLoading, MissingInfoPictureFailsBeforeLookingAtTheMainPicture) {
  const std::array<platform::EmbeddedResource, 1> table = {
      {{115, "JPGDATA", kThreeBytes.data(), 3}}};
  platform::EmbeddedResourceStore store(table);
  EXPECT_FALSE(app::load_pictures(&store, pictures_));
  EXPECT_EQ(pictures_.info_picture.data, nullptr);
  EXPECT_EQ(pictures_.main_picture.data, nullptr);
}

TEST_F(PictureLoading, ResourceOfAnotherTypeIsNotFound) {
  const std::array<platform::EmbeddedResource, 2> table = {
      {{112, "PNGDATA", kThreeBytes.data(), 3}, {115, "JPGDATA", kFiveBytes.data(), 5}}};
  platform::EmbeddedResourceStore store(table);
  const std::uint8_t* bytes = reinterpret_cast<const std::uint8_t*>(&table);
  std::uint32_t size = 77;
  EXPECT_FALSE(app::load_resource(&store, 112, "JPGDATA", &bytes, &size));
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(size, 0u);
  // Type names compare without regard to case, as Windows compares them.
  EXPECT_TRUE(app::load_resource(&store, 115, "jpgdata", &bytes, &size));
  EXPECT_EQ(bytes, kFiveBytes.data());
  EXPECT_EQ(size, 5u);
}

TEST_F(PictureLoading, CopyHasExactlyTheResourceBytesInABufferOfItsOwn) {
  const std::array<platform::EmbeddedResource, 1> table = {
      {{115, "JPGDATA", kFiveBytes.data(), 5}}};
  platform::EmbeddedResourceStore store(table);
  app::PictureBytes copy;
  ASSERT_TRUE(app::load_resource_copy(&store, 115, "JPGDATA", &copy));
  EXPECT_EQ(copy.length, 5);
  EXPECT_NE(copy.data.get(), kFiveBytes.data());
  EXPECT_EQ(bytes_of(copy), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST_F(PictureLoading, NoInstalledStoreMeansNoResources) {
  platform::ResourceStore* const store = nullptr;
  const std::uint8_t* bytes = nullptr;
  std::uint32_t size = 0;
  EXPECT_FALSE(app::load_resource(store, 112, "JPGDATA", &bytes, &size));
  EXPECT_FALSE(app::load_pictures(store, pictures_));
}

// A store that finds every resource; its data cannot be loaded (LoadResource failing), or
// it reports a size the given way.
class OddStore : public platform::ResourceStore {
 public:
  OddStore(bool loadable, std::uint32_t size) : loadable_(loadable), size_(size) {}
  platform::FoundResource find(int, const char*) override {
    return reinterpret_cast<platform::FoundResource>(&marker_);
  }
  platform::LoadedResource load(platform::FoundResource found) override {
    return loadable_ ? reinterpret_cast<platform::LoadedResource>(found) : nullptr;
  }
  const void* lock(platform::LoadedResource loaded) override { return loaded; }
  std::uint32_t size_of(platform::FoundResource) override { return size_; }

 private:
  bool loadable_;
  std::uint32_t size_;
  int marker_ = 0;
};

TEST_F(PictureLoading, FoundResourceThatCannotBeLoadedCountsAsMissing) {
  OddStore store(false, 1000);
  const std::uint8_t* bytes = nullptr;
  std::uint32_t size = 0;
  EXPECT_FALSE(app::load_resource(&store, 112, "JPGDATA", &bytes, &size));
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_FALSE(app::load_pictures(&store, pictures_));
  EXPECT_EQ(pictures_.info_picture.data, nullptr);
}

TEST_F(PictureLoading, ResourceTooLargeForASignedLengthIsNotCopied) {
  OddStore store(true, 0x80000000u);
  app::PictureBytes copy;
  EXPECT_FALSE(app::load_resource_copy(&store, 112, "JPGDATA", &copy));
  EXPECT_EQ(copy.data, nullptr);
  EXPECT_EQ(copy.length, 0);
}

}  // namespace
