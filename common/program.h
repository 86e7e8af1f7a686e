// The running program: where it lies and how it was started.
#pragma once

#include "paths.h"

namespace program {

// The program's path, UTF-8; false when it does not fit.
bool Path(PathText& path);
using Line = FixedText<3 * 32767>;  // 32767 UTF-16 units at most
// The program's command line, UTF-8.
void CommandLine(Line& line);

}  // namespace program
