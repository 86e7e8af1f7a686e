// Opening what a command names (a document, a shortcut, a folder, a web
// address) as the shell does on a double click. The shell may take seconds
// (its extensions, a network folder, a browser coming up), so each opening
// has a short-lived thread of its own and the runner goes on at once.
#include "runner.h"

#include <objbase.h>

#include <cstddef>

#include "desktop.h"
#include "utf8.h"

namespace {

// COM is loaded on the first opening only, by its full path: the runner
// starts without it, and never takes a copy that lies in its folder.
constexpr wchar_t COM_LIBRARY[] = L"\\ole32.dll";
constexpr char COM_START[] = "CoInitializeEx";
constexpr char COM_END[] = "CoUninitialize";
using ComStart = HRESULT(WINAPI*)(void*, DWORD);
using ComEnd = void(WINAPI*)();
// The shell's extensions run in the thread's own single-threaded apartment.
constexpr DWORD APARTMENT = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE;

// The call returns once the opening is done, as the thread ends with it; a
// target that cannot be opened is as silent as a program that cannot be
// started. A console program still gets a console of its own.
constexpr ULONG OPEN_FLAGS = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;

// One opening and its texts, in one block of the heap that the thread frees.
struct Opening {
  SHELLEXECUTEINFOW Info;
  wchar_t Directory[sizeof Launch::Root];  // "C:\"
  // The target and the parameters, each with its NUL.
  wchar_t Texts[1];
};

template <class Call>
Call ProcedureOf(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// Opens, and frees the opening. Without COM the shell still opens what needs
// no extension.
DWORD WINAPI OpenOnWorker(void* parameter) noexcept {
  auto* opening = static_cast<Opening*>(parameter);
  const HMODULE com = desktop::LoadSystemLibrary(COM_LIBRARY);
  const auto start = ProcedureOf<ComStart>(com, COM_START);
  const auto end = ProcedureOf<ComEnd>(com, COM_END);
  const bool apartment = start && end && SUCCEEDED(start(nullptr, APARTMENT));
  ShellExecuteExW(&opening->Info);
  if (apartment) end();
  if (com) FreeLibrary(com);
  HeapFree(GetProcessHeap(), 0, opening);
  return 0;
}

}  // namespace

// The default verb, the record's show command, and the root of its drive as
// the directory (null: the runner's own, as for a start from a missing
// drive). The texts are copied: the thread may outlive the next command.
void OpenInShell(const OpenTarget& target, const wchar_t* root, std::int32_t showCommand) {
  // Never more UTF-16 units than UTF-8 bytes.
  const std::size_t units = target.Target.size() + 1 + target.Parameters.size() + 1;
  auto* opening = static_cast<Opening*>(
      HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, offsetof(Opening, Texts) + units * sizeof(wchar_t)));
  if (!opening) return;
  auto* file = reinterpret_cast<char16_t*>(opening->Texts);
  char16_t* parameters = file + target.Target.size() + 1;
  Utf8ToUtf16(target.Target, file, target.Target.size());
  Utf8ToUtf16(target.Parameters, parameters, target.Parameters.size());
  SHELLEXECUTEINFOW& info = opening->Info;
  info.cbSize = sizeof info;
  info.fMask = OPEN_FLAGS;
  info.lpFile = opening->Texts;
  info.lpParameters = target.Parameters.empty() ? nullptr : reinterpret_cast<wchar_t*>(parameters);
  if (root) info.lpDirectory = lstrcpyW(opening->Directory, root);
  info.nShow = showCommand;
  HANDLE worker = CreateThread(nullptr, 0, OpenOnWorker, opening, 0, nullptr);
  if (worker)
    CloseHandle(worker);
  else
    HeapFree(GetProcessHeap(), 0, opening);
}
