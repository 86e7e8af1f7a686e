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

#include "file.h"

inline const std::uint8_t* input;  // what is left of it
inline const std::uint8_t* inputEnd;

// Zero once the input is used up.
inline std::uint8_t Byte() { return input < inputEnd ? *input++ : 0; }

inline std::string Bytes(std::size_t wanted) {
  const std::size_t n = std::min<std::size_t>(wanted, inputEnd - input);
  input += n;
  return std::string(reinterpret_cast<const char*>(input - n), n);
}

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
