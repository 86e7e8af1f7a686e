// Loaded into a program by the tests while one of its popup menus is open: it
// writes that menu's items to menudump.txt beside itself and unloads itself.
// (A menu can only be read by the process that owns it.)
//
// Each line: the item id, "S" for a separator or "T" for text, and the text
// as hexadecimal bytes, separated by TABs; the last line is "end".
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
constexpr int kMenuWaitTries = 200;
constexpr DWORD kMenuWaitStepMs = 10;

HMENU FindOwnOpenMenu() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32768", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId() && IsWindowVisible(window))
      return reinterpret_cast<HMENU>(SendMessageA(window, kGetMenuHandle, 0, 0));
  }
  return nullptr;
}

std::string DescribeMenu(HMENU menu) {
  std::string text;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char label[512] = {};
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    item.dwTypeData = label;
    item.cch = sizeof label - 1;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item)) continue;
    text += std::to_string(item.wID) + ((item.fType & MFT_SEPARATOR) ? "\tS\t" : "\tT\t");
    for (UINT j = 0; j < item.cch && label[j]; ++j) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(label[j]));
      text += hex;
    }
    text += "\n";
  }
  return text + "end\n";
}

DWORD WINAPI DumpAndUnload(void* parameter) {
  HMODULE self = static_cast<HMODULE>(parameter);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  std::string dir = path;
  dir = dir.substr(0, dir.find_last_of('\\') + 1);

  // The menu window can show a moment before it answers with its menu.
  HMENU menu = nullptr;
  for (int i = 0; i < kMenuWaitTries; ++i) {
    menu = FindOwnOpenMenu();
    if (menu && GetMenuItemCount(menu) > 0) break;
    Sleep(kMenuWaitStepMs);
  }
  std::string text = menu ? DescribeMenu(menu) : std::string("end\n");
  std::string temp = dir + "menudump.tmp";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExA(temp.c_str(), (dir + "menudump.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
  FreeLibraryAndExitThread(self, 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    HANDLE thread = CreateThread(nullptr, 0, DumpAndUnload, instance, 0, nullptr);
    if (thread) CloseHandle(thread);
  }
  return TRUE;
}
