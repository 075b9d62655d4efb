// The screen saver's settings: kept in the user's part of the registry, and the dialog
// that changes them.
#pragma once

#include <string>

#include "platform/win32/win32_headers.h"

namespace platform::win32 {

struct SaverSettings {
  bool use_folder = false;  // the photos of folder, not the player's own pictures
  std::wstring folder;
  bool shuffle = true;
  bool fit_contain = false;  // the whole photo with bars, not the frame filled by cropping
};

// HKCU\Software\<vendor>\<product>, the vendor as the version block names it.
extern const wchar_t* const kSaverSettingsKey;

// The stored settings; the defaults where a value is missing.
SaverSettings load_saver_settings();

// Writes every value; false when the key cannot be written.
bool store_saver_settings(const SaverSettings& settings);

// The settings dialog (resource MQ_IDD_SAVER_SETTINGS) over owner (may be null); OK stores
// what it shows.
void run_saver_settings_dialog(HINSTANCE instance, HWND owner);

// The folder as the photo walk takes paths: in UTF-8 (the ANSI code page would lose names in
// other scripts).
std::string walk_path(const std::wstring& folder);

}  // namespace platform::win32
