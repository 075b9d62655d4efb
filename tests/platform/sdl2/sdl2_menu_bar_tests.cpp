// The File menu's items as the drawn menu offers them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sdl2/sdl2_menu_bar.h"

namespace platform::sdl2 {
namespace {

TEST(Sdl2Menu, FileMenuHasItsFourCommandsBetweenPairsOfSeparators) {
  std::vector<std::string> texts;
  std::vector<int> commands;
  for (const MenuItem& item : file_menu_items()) {
    texts.push_back(item.text != nullptr ? item.text : "-");
    commands.push_back(item.command);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "-", "About M.Q.L. Player", "-", "-", "Moviquels on the WEB", "-", "-",
                       "Toggle Full-Screen\tAlt+Enter", "-", "-", "E&xit\tAlt+X", "-"}));
  EXPECT_EQ(commands, (std::vector<int>{0, 1000, 0, 0, 40002, 0, 0, 1002, 0, 0, 1001, 0}));
}

}  // namespace
}  // namespace platform::sdl2
