// Scratch files for the unit tests, in a folder removed at the end of each test.
#pragma once

#include <string>
#include <vector>

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  // The path of `name` inside the folder, with the platform's separator.
  std::string Path(const std::string& name) const;
  // The folder's own path with its trailing separator.
  const std::string& Dir() const { return dir_; }
  std::vector<std::string> Names() const;

 private:
  std::string dir_;
};

std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
void SetReadOnly(const std::string& path, bool readOnly);
