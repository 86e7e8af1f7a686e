// Set files of any content and any read behaviour: the reader must stay inside
// the table and every text taken from a record inside its field.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "command_set.h"
#include "hotkey_text.h"

namespace {

// Bytes from the fuzzer; the first byte sets the largest piece one read hands out.
class FuzzSource final : public RecordSource {
 public:
  FuzzSource(const std::uint8_t* data, std::size_t size, std::size_t piece, std::uint64_t claimed)
      : data_(data), size_(size), piece_(piece), claimed_(claimed) {}
  std::uint64_t Size() override { return claimed_; }
  std::size_t Read(void* buffer, std::size_t size) override {
    std::size_t n = size < piece_ ? size : piece_;
    if (n > size_ - pos_) n = size_ - pos_;
    std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_, piece_, pos_ = 0;
  std::uint64_t claimed_;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::size_t piece = 1 + (data[0] * 5) % RECORD_SIZE;
  bool lies = data[1] & 1;  // a size larger than the bytes there are
  data += 2;
  size -= 2;

  static CommandSet set;
  std::memset(&set, 0x5A, sizeof set);
  FuzzSource source(data, size, piece, lies ? size * 3 + 1 : size);
  ReadRecords(source, set);
  Check(set.Count >= 0 && set.Count <= MAX_COMMANDS);

  for (int i = 0; i < set.Count; ++i) {
    const CommandRecord& r = set.Records[i];
    Check(MenuLabelText(r).size() < NAME_CAPACITY);
    Check(CommandLineText(r).size() <= COMMAND_CAPACITY);
    Check(ShownText(r.Name).size() <= NAME_CAPACITY);
    Check(ShownText(r.Command).size() <= COMMAND_CAPACITY);
    HotkeyText shown = HotkeyCodeToText(r.Hotkey);
    // What the editor shows is stored and shown again unchanged.
    Check(HotkeyCodeToText(TextToHotkeyCode(shown)) == shown.view());
    Check(HotkeyCodeToMenuText(r.Hotkey).size() >= 1);
    int index = IndexByShowCmd(r.ShowCmd);
    Check(index >= SHOWCMD_NO_ITEM && index <= 2);
  }
  return 0;
}
