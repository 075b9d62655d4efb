// The main window's accelerator table as TranslateAcceleratorA applies it, for the backends
// that make their key messages themselves (SDL2, the browser); on Windows the system loads
// the same table from the executable's resources.
#pragma once

#include <cstdint>

#include "platform/message_pump.h"

namespace platform::emulated {

// The command of a key-down message by the table in resources/commands.h, or 0 when the
// message is no accelerator.
std::uint16_t accelerator_command(const Message& message);

// TranslateAcceleratorA: when message is an accelerator key, its command goes through
// pump to the window as WM_COMMAND, and the result is true.
bool translate_accelerator(MessagePump& pump, const Message& message);

}  // namespace platform::emulated
