// Set files of any content and any read behaviour: each slot holds exactly
// the bytes one read delivered, completed with zeros; the table never takes
// more than it holds, and the slots after the last one read keep what they
// held. A stored hotkey shown by the editor and stored again comes back as
// the same text.
#include <cstring>

#include "command_set.h"
#include "fuzz_support.h"
#include "hotkey_text.h"

namespace {

constexpr std::size_t HEADER_BYTES = 2;
constexpr unsigned char UNTOUCHED = 0x5A;
constexpr std::size_t PIECE_STEP = 5;

// The first byte picks the largest piece a read hands out, the second
// whether the source claims more bytes than it has.
struct FuzzSource final : RecordSource {
  FuzzSource(const std::uint8_t* input, std::size_t inputSize)
      : data(input + HEADER_BYTES), size(inputSize - HEADER_BYTES) {
    piece = 1 + (input[0] * PIECE_STEP) % RECORD_SIZE;
    claimed = size;
    if (input[1] & 1) claimed = size * 3 + 1;
  }
  std::uint64_t Size() override { return claimed; }
  std::size_t Read(void* buffer, std::size_t wanted) override {
    const std::size_t n = std::min({wanted, piece, size - at});
    std::memcpy(buffer, data + at, n);
    at += n;
    return n;
  }
  const std::uint8_t* data;
  std::size_t size;
  std::size_t piece;
  std::size_t at = 0;
  std::uint64_t claimed;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CommandSet set;
  if (size < HEADER_BYTES) return 0;
  std::memset(&set, UNTOUCHED, sizeof set);
  FuzzSource source(data, size);
  ReadRecords(source, set);

  // What the reader should have done, read by read.
  const std::size_t piece = source.piece;
  std::size_t at = 0;
  int count = 0;
  while (at < source.claimed && count < MAX_COMMANDS) {
    const std::size_t n = std::min({RECORD_SIZE, piece, source.size - at});
    if (n == 0) break;
    const auto* slot = reinterpret_cast<const unsigned char*>(&set.Records[count]);
    if (std::memcmp(slot, source.data + at, n) != 0) Fail("a slot differs from its read");
    if (std::count(slot + n, slot + RECORD_SIZE, 0) != static_cast<long>(RECORD_SIZE - n))
      Fail("a short read is not completed with zeros");
    at += n;
    ++count;
  }
  if (set.Count != count) Fail("the count differs from the reads");
  for (int i = count; i < MAX_COMMANDS; ++i) {
    const auto* slot = reinterpret_cast<const unsigned char*>(&set.Records[i]);
    if (std::count(slot, slot + RECORD_SIZE, UNTOUCHED) != static_cast<long>(RECORD_SIZE))
      Fail("a slot after the last read was written");
  }
  for (int i = 0; i < count; ++i) {
    const HotkeyText shown = HotkeyCodeToText(set.Records[i].Hotkey);
    if (HotkeyCodeToText(TextToHotkeyCode(shown)) != shown.view()) Fail("a hotkey changes when stored again");
  }
  return 0;
}
