// The display objects' one reference count: the last release deletes, an object owned by
// another outlives its last reference, and a release past zero is reported, never wrapped.
#include "platform/reference_counted.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CountedClipper final : public platform::ReferenceCounted<platform::Clipper> {
 public:
  CountedClipper(bool* deleted, bool owned_by_another)
      : ReferenceCounted(owned_by_another ? 0 : 1), deleted_(deleted), owned_(owned_by_another) {}
  platform::HResult set_hwnd(platform::WindowHandle) override { return platform::kS_OK; }
  ~CountedClipper() override { *deleted_ = true; }

 private:
  bool deleted_at_zero() const override { return !owned_; }
  bool* deleted_;
  bool owned_;
};

TEST(ReferenceCounted, TheLastReleaseDeletesTheObject) {
  bool deleted = false;
  auto* clipper = new CountedClipper(&deleted, false);
  EXPECT_EQ(clipper->add_ref(), 2u);
  EXPECT_EQ(clipper->release(), 1u);
  EXPECT_FALSE(deleted);
  EXPECT_EQ(clipper->release(), 0u);
  EXPECT_TRUE(deleted);
}

TEST(ReferenceCounted, AnOverReleaseIsReportedAndTheCountStaysAtZero) {
#if defined(__EMSCRIPTEN__)
  // GoogleTest captures standard error by redirecting its file descriptor, which
  // emscripten's standard error under Node.js does not follow.
  GTEST_SKIP() << "standard error cannot be captured under Node.js";
#endif
  bool deleted = false;
  CountedClipper owned(&deleted, true);
  EXPECT_EQ(owned.add_ref(), 1u);
  EXPECT_EQ(owned.release(), 0u);
  testing::internal::CaptureStderr();
  EXPECT_EQ(owned.release(), 0u);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "moviquel: clipper released more often than referenced\n");
  EXPECT_EQ(owned.references(), 0u);
  EXPECT_EQ(owned.add_ref(), 1u);
  EXPECT_FALSE(deleted);
}

}  // namespace
