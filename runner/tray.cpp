// The tray icon: added at start and again whenever the shell starts anew,
// drawn for the tray's size at the screen's resolution, its tip naming the
// loaded set, and a balloon when hotkeys could not be had.
#include "runner.h"

#include "wide_text.h"

namespace {

// An icon of version 4 shows the standard tip only when asked, each time.
constexpr UINT TRAY_ICON_FLAGS = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
constexpr UINT_PTR ICON_RETRY_TIMER = 1;
constexpr UINT ICON_RETRY_INTERVAL_MS = 1000;
constexpr int ICON_RETRY_LIMIT = 60;
constexpr wchar_t MAIN_ICON[] = L"MAINICON";
constexpr UINT BALLOON_TIMEOUT_MS = 10000;

static_assert(sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) >= TIP_CHARS, "tip size");
static_assert(sizeof(NOTIFYICONDATAW::szInfo) / sizeof(wchar_t) == BALLOON_CHARS, "balloon size");

// Every icon added speaks version 4: keys on the icon reach the runner as
// keys, with the icon's place.
bool TryAddIcon(TrayIcon& tray) {
  if (!Shell_NotifyIconW(NIM_ADD, &tray.Data)) return false;
  tray.Data.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconW(NIM_SETVERSION, &tray.Data);
  return true;
}

// The small-icon size at `dpi` (0: the screen's), drawn for that size. The
// shared icon stands in when that cannot be had; only an icon loaded for its
// size is the runner's to destroy (the shell keeps a copy of its own).
void LoadTrayIcon(TrayIcon& tray, UINT dpi) {
  if (dpi == 0) {
    HDC screen = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
  }
  const int size = TrayIconPixels(dpi);
  HICON old = tray.IconIsOwn ? tray.Data.hIcon : nullptr;
  tray.Data.hIcon = static_cast<HICON>(LoadImageW(tray.Module, MAIN_ICON, IMAGE_ICON, size, size, 0));
  tray.IconIsOwn = tray.Data.hIcon != nullptr;
  if (!tray.Data.hIcon) tray.Data.hIcon = LoadIconW(tray.Module, MAIN_ICON);
  if (old) DestroyIcon(old);
}

// The notification area may not be there yet (a runner started with the
// session can be quicker than the shell): then keep trying for a while.
void TryAddIconNowAndLater(TrayIcon& tray) {
  KillTimer(tray.Data.hWnd, ICON_RETRY_TIMER);
  if (TryAddIcon(tray)) return;
  tray.RetriesLeft = ICON_RETRY_LIMIT;
  SetTimer(tray.Data.hWnd, ICON_RETRY_TIMER, ICON_RETRY_INTERVAL_MS, nullptr);
}

}  // namespace

// The window hears of clicks on the icon; its tip is the program's name
// until a set is loaded.
void AddTrayIcon(TrayIcon& tray, HWND window, HINSTANCE module) {
  NOTIFYICONDATAW& icon = tray.Data;
  icon = NOTIFYICONDATAW{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = TRAY_ICON_ID;
  icon.uFlags = TRAY_ICON_FLAGS;
  icon.uCallbackMessage = WM_TRAYNOTIFY;
  lstrcpyW(icon.szTip, APP_TITLE_WIDE);
  tray.Module = module;
  LoadTrayIcon(tray, 0);
  TryAddIconNowAndLater(tray);
}

// Only the runner's own timer: a WM_TIMER of any other id is not its.
void RetryTrayIcon(TrayIcon& tray, UINT_PTR timer) {
  if (timer != ICON_RETRY_TIMER) return;
  if (TryAddIcon(tray) || --tray.RetriesLeft <= 0) KillTimer(tray.Data.hWnd, ICON_RETRY_TIMER);
}

// A new shell knows no icons, and may draw them at another size. One that
// still shows ours keeps it.
void AddTrayIconAgain(TrayIcon& tray) {
  LoadTrayIcon(tray, 0);
  if (Shell_NotifyIconW(NIM_MODIFY, &tray.Data)) return;
  TryAddIconNowAndLater(tray);
}

// The icon drawn again for the size at `dpi` (0: the screen's).
void ResizeTrayIcon(TrayIcon& tray, UINT dpi) {
  LoadTrayIcon(tray, dpi);
  Shell_NotifyIconW(NIM_MODIFY, &tray.Data);
}

void UpdateTrayTip(TrayIcon& tray, std::string_view tip) {
  const WideText<TIP_CHARS - 1> wide(tip);
  lstrcpyW(tray.Data.szTip, wide.c_str());
  Shell_NotifyIconW(NIM_MODIFY, &tray.Data);
}

// A balloon from the icon; the tip and the icon stay as they are. The model
// keeps the text within the balloon.
void ShowLoadBalloon(const TrayIcon& tray, std::string_view text) {
  NOTIFYICONDATAW balloon = tray.Data;
  balloon.uFlags = TRAY_ICON_FLAGS | NIF_INFO;
  balloon.uTimeout = BALLOON_TIMEOUT_MS;
  balloon.dwInfoFlags = NIIF_WARNING;
  lstrcpyW(balloon.szInfoTitle, APP_TITLE_WIDE);
  Utf8ToUtf16(text, reinterpret_cast<char16_t*>(balloon.szInfo), BALLOON_CHARS - 1);
  Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void RemoveTrayIcon(TrayIcon& tray) {
  KillTimer(tray.Data.hWnd, ICON_RETRY_TIMER);
  Shell_NotifyIconW(NIM_DELETE, &tray.Data);
  if (tray.IconIsOwn) DestroyIcon(tray.Data.hIcon);
  tray.Data.hIcon = nullptr;
}
