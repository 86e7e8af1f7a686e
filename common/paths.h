// Command-line arguments and the parts of a path, as both programs take them.
#pragma once

#include <cstddef>
#include <string_view>

#include "fixed_text.h"

// A path: UTF-8 inside, and at most MAX_PATH - 1 UTF-16 units at the
// system's calls, up to three bytes each here. A longer path is refused,
// never cut.
constexpr std::size_t PATH_UNITS = 259;
using PathText = FixedText<3 * PATH_UNITS>;

// The longest command line the platform hands a program.
constexpr std::size_t COMMAND_LINE_CAPACITY = 32767;
using ArgumentText = FixedText<COMMAND_LINE_CAPACITY>;

// The first argument after the program name. Arguments are separated by
// characters with codes 1 to 32; a double quote opens or closes a quoted
// stretch whose blanks belong to the argument, and the quotes are dropped. An
// empty quoted argument ("") counts as no argument. Returns false when there
// is no argument.
bool FirstArgument(std::string_view commandLine, ArgumentText& argument);

// Everything after the last backslash or colon; the whole path when it has
// neither.
std::string_view FileNamePart(std::string_view path);
// Everything up to and including the last backslash or colon; empty when it
// has neither.
std::string_view DirectoryPart(std::string_view path);

namespace path {

// A folder separator of the file system: the backslash, and where the shared
// code runs natively the slash too.
bool IsSeparator(char c);
// The same file name or folder, ignoring letter case.
bool Same(std::string_view a, std::string_view b);

}  // namespace path
