// The example set that a new run folder starts with: the set file made at
// build time holds what its description says, as the editor would store it.
#include <fstream>
#include <map>

#include "hotkey_text.h"
#include "runner_fixture.h"

namespace e2e {
namespace {

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// name | command | window | drive | hotkey, one command per line.
std::vector<CommandRecord> DescribedSet() {
  const std::map<std::string, std::int32_t> windows = {
      {"Default", SHOWCMD_DEFAULT}, {"Minimized", SHOWCMD_MINIMIZED}, {"Maximized", SHOWCMD_MAXIMIZED}};
  std::vector<CommandRecord> set;
  std::ifstream in(BuildDir() + "example-set.txt");
  for (std::string line; std::getline(in, line);) {
    if (Trim(line).empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    for (std::size_t start = 0, bar;; start = bar + 1) {
      bar = line.find('|', start);
      f.push_back(Trim(line.substr(start, bar - start)));
      if (bar == std::string::npos) break;
    }
    EXPECT_EQ(f.size(), 5u) << line;
    f.resize(5);
    HotkeyCode code = TextToHotkeyCode(f[4]);
    std::string hotkey = f[4].empty() ? kNoHotkey : std::string{code.Ctrl, code.Alt, code.Shift, code.Key};
    set.push_back(Record(f[0], f[1], windows.at(f[2]), f[3].empty() ? ' ' : f[3][0], hotkey));
  }
  return set;
}

TEST(ExampleSet, HoldsTheDescribedCommands) {
  const std::vector<CommandRecord> set = DescribedSet();
  EXPECT_GE(set.size(), 3u);
  EXPECT_EQ(ReadBytes(BuildDir() + "example-set.dat"), SetBytes(set));
}

}  // namespace
}  // namespace e2e
