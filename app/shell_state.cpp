// Storage of the shell's flags.
#include "app/shell_state.h"

namespace app {

std::int32_t windowed = start_full_screen ? 0 : 1;
std::int32_t app_active = 0;
std::int32_t show_statistics = 0;

}  // namespace app
