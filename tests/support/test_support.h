// Scratch folders, files and set records for every test. Paths are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "command_record.h"

using Bytes = std::vector<unsigned char>;

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name = "tasklark");
  ~ScratchDir();
  const std::string& Dir() const { return dir_; }  // with its separator
  std::string Path(std::string_view name) const { return dir_ + std::string(name); }
  std::vector<std::string> Names() const;  // sorted

 private:
  std::string dir_;
};

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void SetReadOnly(const std::string& path, bool readOnly);

// A record as the editor stores it; `hotkey` is the Ctrl, Alt, Shift flags and the key.
CommandRecord Record(std::string_view name, std::string_view command, std::int32_t show = SHOWCMD_DEFAULT,
                     char drive = 'C', std::string_view hotkey = std::string_view("000", 4));
Bytes SetBytes(const std::vector<CommandRecord>& records);
