#include "test_files.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {
std::atomic<int> counter{0};
}

ScratchDir::ScratchDir() {
  fs::path dir = fs::temp_directory_path() /
                 ("tasklark-unit-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-" +
                  std::to_string(counter++));
  fs::remove_all(dir);
  fs::create_directories(dir);
  dir_ = (dir / "").string();
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored))
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(dir_, ignored);
}

std::string ScratchDir::Path(const std::string& name) const { return dir_ + name; }

std::vector<std::string> ScratchDir::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
  return names;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void SetReadOnly(const std::string& path, bool readOnly) {
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add);
}
