// Any command line: the first argument is found without reading past the text,
// holds no quote and no separator outside quotes, and its name part is inside it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  static ArgumentText argument;
  if (!FirstArgument(line, argument)) return 0;
  std::string_view arg = argument.view();
  if (arg.empty() || arg.size() > size || arg.find('"') != std::string_view::npos) std::abort();
  if (arg.find('\0') != std::string_view::npos) std::abort();
  std::string_view name = FileNamePart(arg);
  std::string_view dir = DirectoryPart(arg);
  if (dir.size() + name.size() != arg.size()) std::abort();
  return 0;
}
