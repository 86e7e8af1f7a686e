// Loaded into a program by the tests: counts the program's live USER and GDI
// objects, writes them to guicount.txt beside itself and unloads itself.
//
// Windows reports the counts through GetGuiResources; Wine 8 answers 0 there,
// so the objects are also counted one by one: Wine accepts a handle's index
// alone (high word 0) for its menus and GDI objects, so every index can be
// asked whether it is a live object of this process.
//
// The file holds "key value" lines: gdi, user (GetGuiResources), menus,
// windows, gdiobjects (counted), then "end".
#include <windows.h>

#include <string>

namespace {

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

DWORD WINAPI CountAndUnload(void* parameter) {
  HMODULE self = static_cast<HMODULE>(parameter);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  std::string dir = path;
  dir = dir.substr(0, dir.find_last_of('\\') + 1);

  HANDLE process = GetCurrentProcess();
  std::string text = "gdi " + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)) +
                     "\nuser " + std::to_string(GetGuiResources(process, GR_USEROBJECTS)) +
                     "\nmenus " + std::to_string(CountMenus()) +
                     "\nwindows " + std::to_string(CountWindows()) +
                     "\ngdiobjects " + std::to_string(CountGdiObjects()) + "\nend\n";
  std::string temp = dir + "guicount.tmp";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExA(temp.c_str(), (dir + "guicount.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
  FreeLibraryAndExitThread(self, 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    HANDLE thread = CreateThread(nullptr, 0, CountAndUnload, instance, 0, nullptr);
    if (thread) CloseHandle(thread);
  }
  return TRUE;
}
