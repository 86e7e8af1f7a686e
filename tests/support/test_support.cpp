#include "test_support.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

ScratchDir::ScratchDir(const std::string& name) {
  static int counter = 0;
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path dir = fs::temp_directory_path() /
                       fs::u8path(name + "-" + std::to_string(now) + "-" + std::to_string(++counter));
  fs::create_directories(dir);
  dir_ = (dir / "").u8string();
}

// A program that is still ending may hold one of the files for a while.
ScratchDir::~ScratchDir() {
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(fs::u8path(dir_), error))
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
  for (int tries = 0;
       tries < 1000 && fs::remove_all(fs::u8path(dir_), error) == static_cast<std::uintmax_t>(-1); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::vector<std::string> ScratchDir::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::u8path(dir_)))
    names.push_back(entry.path().filename().u8string());
  std::sort(names.begin(), names.end());
  return names;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(fs::u8path(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void SetReadOnly(const std::string& path, bool readOnly) {
  fs::permissions(fs::u8path(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

CommandRecord Record(std::string_view name, std::string_view command, std::int32_t show, char drive,
                     std::string_view hotkey) {
  CommandRecord record = {};
  StoreFieldText(record.Name, name);
  StoreFieldText(record.Command, command);
  record.ShowCmd = show;
  record.Drive = drive;
  std::memcpy(&record.Hotkey, hotkey.data(), std::min<std::size_t>(hotkey.size(), 4));
  return record;
}

Bytes SetBytes(const std::vector<CommandRecord>& records) {
  const auto* raw = reinterpret_cast<const unsigned char*>(records.data());
  return Bytes(raw, raw + records.size() * RECORD_SIZE);
}
