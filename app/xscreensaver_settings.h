// The image folder that xscreensaver's settings name for its image hacks: imageDirectory in
// ~/.xscreensaver, used only while chooseRandomImages is on, as xscreensaver itself does.
#pragma once

#include <optional>
#include <string>

namespace app {

// Reads the settings text (the file's content) and gives the folder, with a leading "~/"
// taken as home; none when images are off, the folder is not named or the text is not
// settings.
std::optional<std::string> xscreensaver_image_folder(const std::string& settings,
                                                     const std::string& home);

// The same for the settings file of home (home/.xscreensaver); none when it cannot be read.
std::optional<std::string> read_xscreensaver_image_folder(const std::string& home);

}  // namespace app
