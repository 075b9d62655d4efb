// The screen saver's settings in the registry (wide values, so that any folder name is
// kept) and its settings dialog.
#include "platform/win32/win32_saver_settings.h"

#include <shlobj.h>

#include <vector>

#include "resources/resource_ids.h"
#include "resources/version.h"

namespace platform::win32 {

const wchar_t* const kSaverSettingsKey = L"Software\\" MQ_COMPANY_TEXT "\\" MQ_PRODUCT_TEXT;

namespace {

constexpr const wchar_t* kUseFolderValue = L"UseFolder";
constexpr const wchar_t* kFolderValue = L"Folder";
constexpr const wchar_t* kShuffleValue = L"Shuffle";
constexpr const wchar_t* kFitContainValue = L"FitContain";

bool read_flag(HKEY key, const wchar_t* name, bool fallback) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return fallback;
  }
  return value != 0;
}

std::wstring read_text(HKEY key, const wchar_t* name) {
  DWORD size = 0;
  DWORD type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size == 0) {
    return {};
  }
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return std::wstring(text.data());
}

bool write_flag(HKEY key, const wchar_t* name, bool flag) {
  const DWORD value = flag ? 1 : 0;
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value)) == ERROR_SUCCESS;
}

bool write_text(HKEY key, const wchar_t* name, const std::wstring& text) {
  const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size) ==
         ERROR_SUCCESS;
}

std::wstring item_text(HWND dialog, int id) {
  const int length = GetWindowTextLengthW(GetDlgItem(dialog, id));
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
  GetDlgItemTextW(dialog, id, text.data(), length + 1);
  return std::wstring(text.data());
}

void show_settings(HWND dialog, const SaverSettings& settings) {
  // The path first: its change notice picks the folder, which the choice then overrides.
  SetDlgItemTextW(dialog, MQ_IDC_FOLDER_PATH, settings.folder.c_str());
  CheckRadioButton(dialog, MQ_IDC_OWN_PICTURES, MQ_IDC_FOLDER_PICTURES,
                   settings.use_folder ? MQ_IDC_FOLDER_PICTURES : MQ_IDC_OWN_PICTURES);
  CheckDlgButton(dialog, MQ_IDC_SHUFFLE, settings.shuffle ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(dialog, MQ_IDC_FIT_COVER, MQ_IDC_FIT_CONTAIN,
                   settings.fit_contain ? MQ_IDC_FIT_CONTAIN : MQ_IDC_FIT_COVER);
}

SaverSettings shown_settings(HWND dialog) {
  SaverSettings settings;
  settings.folder = item_text(dialog, MQ_IDC_FOLDER_PATH);
  settings.use_folder =
      IsDlgButtonChecked(dialog, MQ_IDC_FOLDER_PICTURES) == BST_CHECKED && !settings.folder.empty();
  settings.shuffle = IsDlgButtonChecked(dialog, MQ_IDC_SHUFFLE) == BST_CHECKED;
  settings.fit_contain = IsDlgButtonChecked(dialog, MQ_IDC_FIT_CONTAIN) == BST_CHECKED;
  return settings;
}

// The shell's folder chooser; the chosen folder goes into the path field.
void browse(HWND dialog) {
  BROWSEINFOW info{};
  info.hwndOwner = dialog;
  info.lpszTitle = L"The folder whose photos the screen saver plays:";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
  if (chosen == nullptr) return;
  wchar_t path[MAX_PATH] = {};
  if (SHGetPathFromIDListW(chosen, path) != FALSE) {
    SetDlgItemTextW(dialog, MQ_IDC_FOLDER_PATH, path);
  }
  CoTaskMemFree(chosen);
}

INT_PTR CALLBACK settings_procedure(HWND dialog, UINT id, WPARAM wparam, LPARAM) {
  switch (id) {
    case WM_INITDIALOG:
      show_settings(dialog, load_saver_settings());
      // The path field first: a folder typed there is the quickest way to name one.
      SetFocus(GetDlgItem(dialog, MQ_IDC_FOLDER_PATH));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case MQ_IDC_FOLDER_PATH:
          // A folder typed in means the folder's photos.
          if (HIWORD(wparam) == EN_CHANGE) {
            CheckRadioButton(dialog, MQ_IDC_OWN_PICTURES, MQ_IDC_FOLDER_PICTURES,
                             MQ_IDC_FOLDER_PICTURES);
          }
          return TRUE;
        case MQ_IDC_BROWSE:
          browse(dialog);
          return TRUE;
        case IDOK:
          store_saver_settings(shown_settings(dialog));
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

SaverSettings load_saver_settings() {
  SaverSettings settings;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSaverSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return settings;
  }
  settings.use_folder = read_flag(key, kUseFolderValue, settings.use_folder);
  settings.folder = read_text(key, kFolderValue);
  settings.shuffle = read_flag(key, kShuffleValue, settings.shuffle);
  settings.fit_contain = read_flag(key, kFitContainValue, settings.fit_contain);
  RegCloseKey(key);
  return settings;
}

bool store_saver_settings(const SaverSettings& settings) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSaverSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool written = write_flag(key, kUseFolderValue, settings.use_folder) &&
                       write_text(key, kFolderValue, settings.folder) &&
                       write_flag(key, kShuffleValue, settings.shuffle) &&
                       write_flag(key, kFitContainValue, settings.fit_contain);
  RegCloseKey(key);
  return written;
}

void run_saver_settings_dialog(HINSTANCE instance, HWND owner) {
  // The folder chooser is a shell object, which needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  DialogBoxParamW(instance, MAKEINTRESOURCEW(MQ_IDD_SAVER_SETTINGS), owner, settings_procedure, 0);
  if (SUCCEEDED(com)) CoUninitialize();
}

std::string walk_path(const std::wstring& folder) {
  if (folder.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string path(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, path.data(), size, nullptr, nullptr);
  path.resize(static_cast<std::size_t>(size) - 1);
  return path;
}

}  // namespace platform::win32
