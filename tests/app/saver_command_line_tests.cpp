// The screen saver's command line in the forms Windows and users write it.
#include <gtest/gtest.h>

#include "app/saver_command_line.h"

namespace app {
namespace {

void expect(const char* text, SaverMode mode, std::uintptr_t window) {
  const SaverCommand command = parse_saver_command_line(text);
  EXPECT_EQ(command.mode, mode) << '"' << text << '"';
  EXPECT_EQ(command.window, window) << '"' << text << '"';
}

TEST(SaverCommandLine, TakesTheHandleAfterAColonOrSpacesWithEitherMarkInAnyCase) {
  expect("/p:123", SaverMode::kPreview, 123);
  expect("-p 123", SaverMode::kPreview, 123);
  expect("/P 123", SaverMode::kPreview, 123);
  expect("  /p\t4294967295 ", SaverMode::kPreview, 4294967295u);
  expect("/c:456", SaverMode::kSettings, 456);
  expect("/S", SaverMode::kRun, 0);
  expect("-s", SaverMode::kRun, 0);
}

TEST(SaverCommandLine, NothingOrSettingsWithoutAHandleOpenTheSettings) {
  expect(nullptr, SaverMode::kSettings, 0);
  expect("", SaverMode::kSettings, 0);
  expect("   ", SaverMode::kSettings, 0);
  expect("/c", SaverMode::kSettings, 0);
}

TEST(SaverCommandLine, APreviewWithoutAHandleAndUnknownOptionsDoNothing) {
  expect("/p", SaverMode::kNone, 0);
  expect("/p:0", SaverMode::kNone, 0);
  expect("/p 12x", SaverMode::kNone, 0);
  expect("/a 123", SaverMode::kNone, 0);
  expect("/x", SaverMode::kNone, 0);
}

}  // namespace
}  // namespace app
