// Loaded into a program under test, it looks at the program from inside,
// writes what it found to a file beside itself and unloads itself. Built twice:
//
// menudump.dll (INSPECT_MENU) writes menudump.txt: the items of the program's
// open popup menu, which only its own process can read. Each line: the item
// id, "S" for a separator or "T" for text, and the text as hexadecimal bytes,
// separated by TABs.
//
// guicount.dll (INSPECT_GUI_OBJECTS) writes guicount.txt: "key value" lines of
// the program's live USER and GDI objects. Windows reports them through
// GetGuiResources (gdi, user); Wine 8 answers 0 there, so they are also
// counted one by one (menus, windows, gdiobjects): Wine accepts a handle's
// index alone (high word 0) for its menus and GDI objects, so every index can
// be asked whether it is a live object of this process.
//
// The last line of either file is "end".
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

#if defined(INSPECT_MENU)
const char kResultName[] = "menudump";
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

std::string Inspect() {
  // The menu window can show a moment before it answers with its menu.
  HMENU menu = nullptr;
  for (int i = 0; i < kMenuWaitTries; ++i) {
    menu = FindOwnOpenMenu();
    if (menu && GetMenuItemCount(menu) > 0) break;
    Sleep(kMenuWaitStepMs);
  }
  return menu ? DescribeMenu(menu) : std::string("end\n");
}

#elif defined(INSPECT_GUI_OBJECTS)
const char kResultName[] = "guicount";
constexpr ULONG_PTR kFirstUserHandle = 0x0020;
constexpr ULONG_PTR kFirstGdiHandle = 0x0020;
constexpr unsigned kHandleIndexes = 0x8000;

int CountMenus() {
  int count = 0;
  for (unsigned i = 0; i < kHandleIndexes; ++i)
    if (IsMenu(reinterpret_cast<HMENU>(kFirstUserHandle + (static_cast<ULONG_PTR>(i) << 1)))) ++count;
  return count;
}

int CountGdiObjects() {
  int count = 0;
  for (unsigned i = 0; i < kHandleIndexes; ++i)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(kFirstGdiHandle + i)) != 0) ++count;
  return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == GetCurrentProcessId()) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, CountChild, count);
  }
  return TRUE;
}

int CountWindows() {
  int count = 0;
  EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::string Inspect() {
  HANDLE process = GetCurrentProcess();
  return "gdi " + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)) +
         "\nuser " + std::to_string(GetGuiResources(process, GR_USEROBJECTS)) +
         "\nmenus " + std::to_string(CountMenus()) + "\nwindows " + std::to_string(CountWindows()) +
         "\ngdiobjects " + std::to_string(CountGdiObjects()) + "\nend\n";
}
#endif

// Writes the result beside the DLL under its final name only once complete.
DWORD WINAPI InspectAndUnload(void* parameter) {
  HMODULE self = static_cast<HMODULE>(parameter);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  std::string base = path;
  base = base.substr(0, base.find_last_of('\\') + 1) + kResultName;

  std::string text = Inspect();
  HANDLE file = CreateFileA((base + ".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExA((base + ".tmp").c_str(), (base + ".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
  FreeLibraryAndExitThread(self, 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    HANDLE thread = CreateThread(nullptr, 0, InspectAndUnload, instance, 0, nullptr);
    if (thread) CloseHandle(thread);
  }
  return TRUE;
}
