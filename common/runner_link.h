// What ties the two programs together besides the set file: the runner's
// window class, which the editor looks for, and the names of the files they
// share a folder with. The message that makes the runner load its set again
// is in messages.h.
#pragma once

#include "messages.h"

constexpr char RUNNER_CLASS_NAME[] = "Tasklark";
constexpr char DEFAULT_SET_FILE_NAME[] = "Tasklark.dat";
constexpr char EDITOR_FILE_NAME[] = "larkedit.exe";
