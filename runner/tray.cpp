// The tray icon: added at start and again whenever the shell starts anew,
// drawn for the tray's size at the screen's resolution, its tip naming the
// loaded set, and a balloon when hotkeys could not be had.
#include "runner.h"

#include "wide_text.h"

namespace {

constexpr UINT_PTR ICON_RETRY_TIMER = 1;
constexpr UINT ICON_RETRY_INTERVAL_MS = 1000;
constexpr int ICON_RETRY_LIMIT = 60;
constexpr wchar_t MAIN_ICON[] = L"MAINICON";
constexpr UINT BALLOON_TIMEOUT_MS = 10000;

static_assert(sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) >= TIP_CHARS, "tip size");
static_assert(sizeof(NOTIFYICONDATAW::szInfo) / sizeof(wchar_t) == BALLOON_CHARS, "balloon size");

bool TryAddIcon() { return Shell_NotifyIconW(NIM_ADD, &TheRunner.TrayIconData) != FALSE; }

}  // namespace

// The notification area may not be there yet (a runner started with the
// session can be quicker than the shell): then keep trying for a while.
void AddTrayIcon(HWND window) {
  KillTimer(window, ICON_RETRY_TIMER);
  if (TryAddIcon()) return;
  TheRunner.IconRetriesLeft = ICON_RETRY_LIMIT;
  SetTimer(window, ICON_RETRY_TIMER, ICON_RETRY_INTERVAL_MS, nullptr);
}

// Only the runner's own timer: a WM_TIMER of any other id is not its.
void RetryTrayIcon(HWND window, UINT_PTR timer) {
  if (timer != ICON_RETRY_TIMER) return;
  if (TryAddIcon() || --TheRunner.IconRetriesLeft <= 0) KillTimer(window, ICON_RETRY_TIMER);
}

// A new shell knows no icons, and may draw them at another size. One that
// still shows ours keeps it.
void OnTaskbarCreated(HWND window) {
  LoadTrayIcon(0);
  if (Shell_NotifyIconW(NIM_MODIFY, &TheRunner.TrayIconData)) return;
  AddTrayIcon(window);
}

void OnDisplayChange(UINT dpi) {
  LoadTrayIcon(dpi);
  Shell_NotifyIconW(NIM_MODIFY, &TheRunner.TrayIconData);
}

// The small-icon size at `dpi` (0: the screen's), drawn for that size. The
// shared icon stands in when that cannot be had; only an icon loaded for its
// size is the runner's to destroy (the shell keeps a copy of its own).
void LoadTrayIcon(UINT dpi) {
  if (dpi == 0) {
    HDC screen = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
  }
  const int size = TrayIconPixels(dpi);
  NOTIFYICONDATAW& icon = TheRunner.TrayIconData;
  HICON old = TheRunner.IconIsOwn ? icon.hIcon : nullptr;
  icon.hIcon = static_cast<HICON>(LoadImageW(TheRunner.Module, MAIN_ICON, IMAGE_ICON, size, size, 0));
  TheRunner.IconIsOwn = icon.hIcon != nullptr;
  if (!icon.hIcon) icon.hIcon = LoadIconW(TheRunner.Module, MAIN_ICON);
  if (old) DestroyIcon(old);
}

// "Tasklark - " and the set's name.
void UpdateTrayTip() {
  const WideText<TIP_CHARS - 1> tip(TheRunner.Model.Tip());
  lstrcpyW(TheRunner.TrayIconData.szTip, tip.c_str());
  Shell_NotifyIconW(NIM_MODIFY, &TheRunner.TrayIconData);
}

// A balloon from the icon, in a change of its own, so that the tip and the
// icon stay as they are. The text is in the records' code page.
void ShowHotkeyBalloon(std::string_view text) {
  NOTIFYICONDATAW balloon = {};
  balloon.cbSize = NOTIFYICONDATAW_V2_SIZE;
  balloon.hWnd = TheRunner.Window;
  balloon.uID = TRAY_ICON_ID;
  balloon.uFlags = NIF_INFO;
  balloon.uTimeout = BALLOON_TIMEOUT_MS;
  balloon.dwInfoFlags = NIIF_WARNING;
  lstrcpyW(balloon.szInfoTitle, APP_TITLE_WIDE);
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), balloon.szInfo,
                                    BALLOON_CHARS - 1);
  balloon.szInfo[n > 0 ? n : 0] = L'\0';
  Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void RemoveTrayIcon() {
  KillTimer(TheRunner.Window, ICON_RETRY_TIMER);
  Shell_NotifyIconW(NIM_DELETE, &TheRunner.TrayIconData);
  if (TheRunner.IconIsOwn) DestroyIcon(TheRunner.TrayIconData.hIcon);
  TheRunner.TrayIconData.hIcon = nullptr;
}
