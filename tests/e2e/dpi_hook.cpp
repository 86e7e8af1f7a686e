// Hooked into the editor by its test: a posted WM_NULL with a resolution
// becomes a WM_DPICHANGED sent inside the editor, the window grown by its
// client area; Ok's font height is then left in the property "FontHeight".
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK GetMessageHook(int code, WPARAM removed, LPARAM data) {
  const MSG& msg = *reinterpret_cast<const MSG*>(data);
  if (code == HC_ACTION && removed == PM_REMOVE && msg.message == WM_NULL && msg.wParam != 0) {
    RECT suggested = {};
    GetWindowRect(msg.hwnd, &suggested);
    RECT client = {};
    GetClientRect(msg.hwnd, &client);
    suggested.right += client.right;
    suggested.bottom += client.bottom;
    SendMessageW(msg.hwnd, WM_DPICHANGED, msg.wParam, reinterpret_cast<LPARAM>(&suggested));
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(msg.hwnd, IDOK, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    SetPropW(msg.hwnd, L"FontHeight", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-font.lfHeight)));
  }
  return CallNextHookEx(nullptr, code, removed, data);
}
