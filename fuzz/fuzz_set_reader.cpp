// Set files of any content and any read behaviour: the reader stays inside
// the table, and every text taken from a record inside its field.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "command_set.h"
#include "hotkey_text.h"

namespace {

// The first byte picks the largest piece a read hands out, the second
// whether the source claims more bytes than it has.
struct FuzzSource final : RecordSource {
  FuzzSource(const std::uint8_t* data, std::size_t size) : data(data + 2), size(size - 2) {
    piece = 1 + (data[0] * 5) % RECORD_SIZE;
    claimed = (data[1] & 1) ? this->size * 3 + 1 : this->size;
  }
  std::uint64_t Size() override { return claimed; }
  std::size_t Read(void* buffer, std::size_t wanted) override {
    const std::size_t n = std::min({wanted, piece, size - at});
    std::memcpy(buffer, data + at, n);
    at += n;
    return n;
  }
  const std::uint8_t* data;
  std::size_t size, piece, at = 0, claimed;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CommandSet set;
  if (size < 2) return 0;
  std::memset(&set, 0x5A, sizeof set);
  FuzzSource source(data, size);
  ReadRecords(source, set);
  bool ok = set.Count >= 0 && set.Count <= MAX_COMMANDS;
  for (const CommandRecord& r : set.Records) {
    if (&r - set.Records == set.Count) break;
    const HotkeyText shown = HotkeyCodeToText(r.Hotkey);  // stored and shown again unchanged
    ok = ok && MenuLabelText(r).size() < NAME_CAPACITY && CommandLineText(r).size() <= COMMAND_CAPACITY &&
         ShownText(r.Name).size() <= NAME_CAPACITY && ShownText(r.Command).size() <= COMMAND_CAPACITY &&
         HotkeyCodeToText(TextToHotkeyCode(shown)) == shown.view() && IndexByShowCmd(r.ShowCmd) <= 2;
  }
  if (!ok) std::abort();
  return 0;
}
