// What the models' fuzz targets share: the input taken a byte at a time, the
// failed check, and a folder of the process's own for the files they make.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "file.h"

inline std::string_view input;  // what is left of it

inline std::string Bytes(std::size_t wanted) {
  const std::string taken(input.substr(0, wanted));
  input.remove_prefix(taken.size());
  return taken;
}

// Zero once the input is used up.
inline std::uint8_t Byte() { return Bytes(1)[0]; }

inline void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// A folder of the process's own, in memory where the system has a folder for
// that; removed at exit.
struct ScratchFolder {
  ScratchFolder() { std::filesystem::create_directories(Path); }
  ~ScratchFolder() { std::filesystem::remove_all(Path); }
  const std::string Path = std::string(file::IsFolder("/dev/shm") ? "/dev/shm" : "/tmp") + "/fuzz." +
                           std::to_string(getpid()) + "/";
};
