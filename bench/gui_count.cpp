// guicount.dll: loaded into a program the bench measures, it counts the
// program's live USER and GDI objects from inside, writes guicount.txt beside
// itself ("key value" lines) and unloads itself. Windows reports them through
// GetGuiResources (gdi, user); Wine 8 answers 0 there, so they are also
// counted one by one (menus, windows, gdiobjects): Wine accepts a handle's
// index alone (high word 0) for its menus and GDI objects, so every index can
// be asked whether it is a live object of this process.
//
// The last line is "end".
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

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
  return "gdi " + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)) + "\nuser " +
         std::to_string(GetGuiResources(process, GR_USEROBJECTS)) + "\nmenus " +
         std::to_string(CountMenus()) + "\nwindows " + std::to_string(CountWindows()) + "\ngdiobjects " +
         std::to_string(CountGdiObjects()) + "\nend\n";
}

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
