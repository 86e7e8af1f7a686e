// The tray icon: added at start, again whenever the shell starts anew, and
// its tip naming the loaded set.
#include "runner.h"

#include <cstddef>

namespace {

constexpr UINT_PTR ICON_RETRY_TIMER = 1;
constexpr UINT ICON_RETRY_INTERVAL_MS = 1000;
constexpr int ICON_RETRY_LIMIT = 60;

// The tip of the 88-byte record: 64 characters with the closing NUL (the
// declared field is longer, for later forms of the record).
static_assert(NOTIFYICONDATAA_V1_SIZE == offsetof(NOTIFYICONDATAA, szTip) + TIP_CHARS, "tip size");

bool TryAddIcon() { return Shell_NotifyIconA(NIM_ADD, &TheRunner.TrayIconData) != FALSE; }

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

// A new shell knows no icons. One that still shows ours keeps it as it is.
void OnTaskbarCreated(HWND window) {
  if (Shell_NotifyIconA(NIM_MODIFY, &TheRunner.TrayIconData)) return;
  AddTrayIcon(window);
}

// "Tasklark - " and the set's name, cut to what the tip holds.
void UpdateTrayTip() {
  lstrcpyA(TheRunner.TrayIconData.szTip, TheRunner.Model.Tip().c_str());
  Shell_NotifyIconA(NIM_MODIFY, &TheRunner.TrayIconData);
}

void RemoveTrayIcon() {
  KillTimer(TheRunner.Window, ICON_RETRY_TIMER);
  Shell_NotifyIconA(NIM_DELETE, &TheRunner.TrayIconData);
}
