// The floor Tasklark is measured against: the least Win32 program that does
// the runner's start-up work (a window class, a hidden window, a tray icon,
// one global hotkey, a message loop) and nothing else.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr char CLASS_NAME[] = "TasklarkReference";
constexpr UINT WM_ICONNOTIFY = WM_APP + 1;
constexpr UINT ICON_ID = 1;
constexpr int HOTKEY_ID = 0;
constexpr UINT HOTKEY_MODIFIERS = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT HOTKEY_KEY = 'R';

NOTIFYICONDATAA icon;

LRESULT CALLBACK ReferenceWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
      icon.hWnd = window;
      icon.uID = ICON_ID;
      icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
      icon.uCallbackMessage = WM_ICONNOTIFY;
      icon.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
      lstrcpynA(icon.szTip, CLASS_NAME, sizeof icon.szTip);
      Shell_NotifyIconA(NIM_ADD, &icon);
      RegisterHotKey(window, HOTKEY_ID, HOTKEY_MODIFIERS, HOTKEY_KEY);
      break;
    case WM_DESTROY:
      Shell_NotifyIconA(NIM_DELETE, &icon);
      UnregisterHotKey(window, HOTKEY_ID);
      PostQuitMessage(0);
      break;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ReferenceWndProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = CLASS_NAME;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, CLASS_NAME, CLASS_NAME, WS_MINIMIZE, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, module, nullptr);
  if (!window) return 0;
  ShowWindow(window, SW_HIDE);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
