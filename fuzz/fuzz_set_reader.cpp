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

struct FuzzSource final : RecordSource {
  FuzzSource(std::string_view bytes, std::size_t pieceSize, std::uint64_t claimedSize)
      : left(bytes), piece(pieceSize), claimed(claimedSize) {}
  std::uint64_t Size() override { return claimed; }
  std::size_t Read(void* buffer, std::size_t wanted) override {
    const std::size_t n = std::min({wanted, piece, left.size()});
    std::memcpy(buffer, left.data(), n);
    left.remove_prefix(n);
    return n;
  }
  std::string_view left;
  const std::size_t piece;
  const std::uint64_t claimed;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CommandSet set;
  if (size < HEADER_BYTES) return 0;
  // The first byte picks the size of every piece a read hands out, the
  // second whether the source claims more bytes than it has.
  const std::string_view bytes(reinterpret_cast<const char*>(data) + HEADER_BYTES, size - HEADER_BYTES);
  const std::size_t piece = 1 + data[0] * PIECE_STEP % RECORD_SIZE;
  FuzzSource source(bytes, piece, data[1] & 1 ? bytes.size() * 3 + 1 : bytes.size());
  std::memset(&set, UNTOUCHED, sizeof set);
  ReadRecords(source, set);

  const int count = static_cast<int>(std::min<std::size_t>(MAX_COMMANDS, (bytes.size() + piece - 1) / piece));
  if (set.Count != count) Fail("the count differs from the reads");
  for (int i = 0; i < MAX_COMMANDS; ++i) {
    unsigned char expected[RECORD_SIZE];
    std::memset(expected, i < count ? 0 : UNTOUCHED, RECORD_SIZE);
    if (i < count) std::memcpy(expected, bytes.data() + i * piece, std::min(piece, bytes.size() - i * piece));
    if (std::memcmp(&set.Records[i], expected, RECORD_SIZE) != 0)
      Fail("a slot differs from its read completed with zeros, or after the last read from what it held");
  }
  for (int i = 0; i < count; ++i) {
    const HotkeyText shown = HotkeyCodeToText(set.Records[i].Hotkey);
    if (HotkeyCodeToText(TextToHotkeyCode(shown)) != shown.view()) Fail("a hotkey changes when stored again");
  }
  return 0;
}
