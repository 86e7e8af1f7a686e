#include "bench_support.h"

#include <chrono>
#include <fstream>
#include <future>
#include <memory>
#include <thread>

namespace bench {

namespace {

constexpr DWORD kInjectTimeoutMs = 15000;

bool LoadInto(DWORD processId, const std::string& dllPath) {
  HANDLE target = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_VM_OPERATION | PROCESS_VM_WRITE |
                                  PROCESS_VM_READ | PROCESS_QUERY_INFORMATION,
                              FALSE, processId);
  if (!target) return false;
  void* remote =
      VirtualAllocEx(target, nullptr, dllPath.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool ok = remote && WriteProcessMemory(target, remote, dllPath.c_str(), dllPath.size() + 1, nullptr);
  if (ok) {
    // kernel32 lies at the same address in every process of a session.
    auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    HANDLE thread = CreateRemoteThread(target, nullptr, 0, loadLibrary, remote, 0, nullptr);
    ok = thread != nullptr && WaitForSingleObject(thread, e2e::kTimeoutMs) == WAIT_OBJECT_0;
    if (thread) CloseHandle(thread);
  }
  if (remote) VirtualFreeEx(target, remote, 0, MEM_RELEASE);
  CloseHandle(target);
  return ok;
}

// In a thread of its own, so that a call into the other process that never
// returns costs its time limit, not the whole run.
bool InjectDll(DWORD processId, const std::string& dllPath) {
  auto result = std::make_shared<std::promise<bool>>();
  std::future<bool> done = result->get_future();
  std::thread([result, processId, dllPath] { result->set_value(LoadInto(processId, dllPath)); }).detach();
  return done.wait_for(std::chrono::milliseconds(kInjectTimeoutMs)) == std::future_status::ready &&
         done.get();
}

}  // namespace

bool CountGuiObjects(const e2e::Process& process, const e2e::ProgramDir& dir, GuiCounts& counts) {
  counts = GuiCounts{};
  const std::string result = dir.Path("guicount.txt");
  DeleteFileA(result.c_str());
  if (!InjectDll(process.Id(), dir.Path("guicount.dll")) ||
      !e2e::WaitUntil([&] { return GetFileAttributesA(result.c_str()) != INVALID_FILE_ATTRIBUTES; }))
    return false;
  std::ifstream in(result, std::ios::binary);
  std::string key;
  long value = 0;
  bool complete = false;
  while (in >> key) {
    if (key == "end") {
      complete = true;
      break;
    }
    if (!(in >> value)) break;
    if (key == "gdi")
      counts.gdi = value;
    else if (key == "user")
      counts.user = value;
    else if (key == "menus")
      counts.menus = value;
    else if (key == "windows")
      counts.windows = value;
    else if (key == "gdiobjects")
      counts.gdiObjects = value;
  }
  in.close();
  DeleteFileA(result.c_str());
  return complete;
}

bool WaitForNoPopupMenu(DWORD processId) {
  return e2e::WaitUntil([&] {
    HWND menu = e2e::FindTopLevel("#32768", nullptr, processId);
    return !menu || !IsWindowVisible(menu);
  });
}

void ClearLaunches(const e2e::ProgramDir& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(dir.Path("probe-*.txt").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
    DeleteFileA(dir.Path(found.cFileName).c_str());
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

}  // namespace bench
