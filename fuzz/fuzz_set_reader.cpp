// Set files of any content and any read behaviour: the reader stays inside
// the table, and every text taken from a record inside its field.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "command_set.h"
#include "hotkey_text.h"

namespace {

// The fuzzer's bytes; the first picks the largest piece one read hands out,
// the second whether the source claims more bytes than it has.
class FuzzSource final : public RecordSource {
 public:
  FuzzSource(const std::uint8_t* data, std::size_t size)
      : data_(data + 2), size_(size - 2), piece_(1 + (data[0] * 5) % RECORD_SIZE), lies_(data[1] & 1) {}
  std::uint64_t Size() override { return lies_ ? size_ * 3 + 1 : size_; }
  std::size_t Read(void* buffer, std::size_t size) override {
    std::size_t n = size < piece_ ? size : piece_;
    if (n > size_ - at_) n = size_ - at_;
    std::memcpy(buffer, data_ + at_, n);
    at_ += n;
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_, piece_, at_ = 0;
  bool lies_;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static CommandSet set;
  std::memset(&set, 0x5A, sizeof set);
  FuzzSource source(data, size);
  ReadRecords(source, set);
  Check(set.Count >= 0 && set.Count <= MAX_COMMANDS);
  for (int i = 0; i < set.Count; ++i) {
    const CommandRecord& r = set.Records[i];
    Check(MenuLabelText(r).size() < NAME_CAPACITY && CommandLineText(r).size() <= COMMAND_CAPACITY);
    Check(ShownText(r.Name).size() <= NAME_CAPACITY && ShownText(r.Command).size() <= COMMAND_CAPACITY);
    // What the editor shows is stored and shown again unchanged.
    const HotkeyText shown = HotkeyCodeToText(r.Hotkey);
    Check(HotkeyCodeToText(TextToHotkeyCode(shown)) == shown.view());
    Check(IndexByShowCmd(r.ShowCmd) >= SHOWCMD_NO_ITEM && IndexByShowCmd(r.ShowCmd) <= 2);
  }
  return 0;
}
