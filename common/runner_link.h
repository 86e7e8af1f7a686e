// What ties the two programs together besides the set file: the runner's
// window class, which the editor looks for, and the message that makes the
// runner load its set again.
#pragma once

constexpr char RUNNER_CLASS_NAME[] = "Tasklark";
constexpr unsigned WM_RELOADSET = 2445;
constexpr char DEFAULT_SET_FILE_NAME[] = "Tasklark.dat";
constexpr char EDITOR_FILE_NAME[] = "larkedit.exe";
