// The table from KeyboardEvent.code to Windows virtual-key codes.
#include "platform/web/web_keys.h"

#include <cstring>

namespace platform::web {

namespace {

struct Named {
  const char* code;
  std::uint32_t key;
};

constexpr Named kNamed[] = {
    {"Space", kVK_SPACE},
    {"Enter", kVK_RETURN},
    {"NumpadEnter", kVK_RETURN},
    {"Escape", kVK_ESCAPE},
    {"Backspace", kVK_BACK},
    {"Tab", kVK_TAB},
    {"ShiftLeft", kVK_SHIFT},
    {"ShiftRight", kVK_SHIFT},
    {"ControlLeft", kVK_CONTROL},
    {"ControlRight", kVK_CONTROL},
    {"AltLeft", kVK_MENU},
    {"AltRight", kVK_MENU},
    {"Pause", 0x13},
    {"CapsLock", 0x14},
    {"PageUp", 0x21},
    {"PageDown", 0x22},
    {"End", 0x23},
    {"Home", 0x24},
    {"ArrowLeft", 0x25},
    {"ArrowUp", 0x26},
    {"ArrowRight", 0x27},
    {"ArrowDown", 0x28},
    {"PrintScreen", 0x2C},
    {"Insert", 0x2D},
    {"Delete", 0x2E},
    {"MetaLeft", 0x5B},
    {"MetaRight", 0x5C},
    {"ContextMenu", 0x5D},
    {"NumpadMultiply", 0x6A},
    {"NumpadAdd", 0x6B},
    {"NumpadSubtract", 0x6D},
    {"NumpadDecimal", 0x6E},
    {"NumpadDivide", 0x6F},
    {"NumLock", 0x90},
    {"ScrollLock", 0x91},
    {"Semicolon", 0xBA},
    {"Equal", 0xBB},
    {"Comma", 0xBC},
    {"Minus", 0xBD},
    {"Period", 0xBE},
    {"Slash", 0xBF},
    {"Backquote", 0xC0},
    {"BracketLeft", 0xDB},
    {"Backslash", 0xDC},
    {"BracketRight", 0xDD},
    {"Quote", 0xDE},
};

// The number after prefix in code ("F12" -> 12), or -1.
int number_after(const char* code, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  if (std::strncmp(code, prefix, length) != 0) return -1;
  const char* digits = code + length;
  if (*digits == '\0') return -1;
  int value = 0;
  for (; *digits != '\0'; ++digits) {
    if (*digits < '0' || *digits > '9' || value > 99) return -1;
    value = value * 10 + (*digits - '0');
  }
  return value;
}

}  // namespace

std::uint32_t virtual_key(const char* code) {
  if (code == nullptr) return kVK_NoMapping;
  // Letters and digits: Windows uses the upper-case ASCII code for both.
  if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0') {
    return static_cast<std::uint32_t>(code[3]);
  }
  if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && code[6] == '\0') {
    return static_cast<std::uint32_t>(code[5]);
  }
  if (const int f = number_after(code, "F"); f >= 1 && f <= 24) {
    return 0x70u + static_cast<std::uint32_t>(f - 1);  // VK_F1..VK_F24
  }
  if (const int n = number_after(code, "Numpad"); n >= 0 && n <= 9) {
    return 0x60u + static_cast<std::uint32_t>(n);  // VK_NUMPAD0..9
  }
  for (const Named& named : kNamed) {
    if (std::strcmp(code, named.code) == 0) return named.key;
  }
  return kVK_NoMapping;
}

Message key_message(WindowHandle window, const KeyEvent& event) {
  KeyTransition key;
  key.virtual_key = virtual_key(event.code);
  key.down = event.down;
  key.repeat = event.repeat;
  key.alt = event.alt;
  key.shift = event.shift;
  key.ctrl = event.ctrl;
  return platform::key_message(window, key);
}

}  // namespace platform::web
