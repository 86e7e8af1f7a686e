#include "code_page.h"

#include <windows.h>

#include <cwchar>

#include "paths.h"
#include "wide_text.h"

namespace {

using WideField = WideText<FieldText::capacity()>;

// The whole text, not empty, in the code page. No flags: UTF-8 (65001), the
// code page of many systems, takes none, and neither a "used default"
// answer. Whether every character came through unchanged, not replaced by a
// default or a look-alike, is seen by converting it back.
bool InCodePage(const wchar_t* wide, unsigned codePage, FieldText& out) {
  const int n = WideCharToMultiByte(codePage, 0, wide, -1, out.data(), static_cast<int>(out.capacity() + 1),
                                    nullptr, nullptr);
  out.TakeCString();
  wchar_t back[FieldText::capacity() + 1] = {};
  return n > 1 && MultiByteToWideChar(codePage, 0, out.c_str(), -1, back, sizeof back / sizeof back[0]) > 0 &&
         std::wcscmp(back, wide) == 0;
}

// The path and its file name, taken from the path in UTF-8, where no
// character holds the byte of a backslash but the backslash itself.
bool NamedInCodePage(const wchar_t* path, unsigned codePage, FieldText& command, FieldText& name) {
  PathText utf8;
  return FromWide(path, utf8) && InCodePage(path, codePage, command) &&
         InCodePage(WideField(FileNamePart(utf8)).c_str(), codePage, name);
}

}  // namespace

bool ProgramInCodePage(std::string_view path, unsigned codePage, FieldText& command, FieldText& name) {
  const WideText<PATH_UNITS> wide(path);
  wchar_t shortPath[MAX_PATH] = {};
  return wide.Ok() && (NamedInCodePage(wide.c_str(), codePage, command, name) ||
                       (GetShortPathNameW(wide.c_str(), shortPath, MAX_PATH) &&
                        NamedInCodePage(shortPath, codePage, command, name)));
}
