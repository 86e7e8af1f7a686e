// The path of a program picked with Browse, in the code page that commands
// are kept in. Windows only; built into the editor's model for its tests.
#pragma once

#include <string_view>

#include "setup_model.h"

// The program's path (UTF-8) and its file name, in code page `codePage`
// (CP_ACP is the system's): as it is, or in its short form, which is ASCII,
// when the volume gives one. The name is taken from the path before the
// conversion: in a double-byte code page a character may end in the byte of
// a backslash. False when the path has a character that the code page has
// no form of its own for, and the short form does not help.
bool ProgramInCodePage(std::string_view path, unsigned codePage, FieldText& command, FieldText& name);
