// The running program: where it lies and how it was started.
#pragma once

#include <string_view>

#include "paths.h"

namespace program {

// The program's path, UTF-8; false when it does not fit.
bool Path(PathText& path);
using Line = FixedText<3 * 32767>;  // 32767 UTF-16 units at most
// The program's command line, UTF-8.
void CommandLine(Line& line);
// The value of the program's environment variable `name` (UTF-8); false when
// it has none or the value does not fit.
bool Variable(std::string_view name, Line& value);

}  // namespace program
