// One command of a command set, exactly as it is kept in memory and in the
// command-set file: 312 bytes, integers little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fixed_text.h"

constexpr int MAX_COMMANDS = 30;
constexpr std::size_t RECORD_SIZE = 312;
constexpr std::size_t NAME_CAPACITY = 40;
constexpr std::size_t COMMAND_CAPACITY = 255;

// Show commands the editor writes (the platform's SW_ values).
constexpr std::int32_t SHOWCMD_DEFAULT = 10;   // SW_SHOWDEFAULT
constexpr std::int32_t SHOWCMD_MINIMIZED = 2;  // SW_SHOWMINIMIZED
constexpr std::int32_t SHOWCMD_MAXIMIZED = 3;  // SW_SHOWMAXIMIZED
constexpr int SHOWCMD_NO_ITEM = -1;            // window-size list index for "no item"

// A length-prefixed text: the length byte, then up to Capacity characters.
template <std::size_t Capacity>
struct StoredText {
  std::uint8_t Length;
  char Chars[Capacity];

  // The stored length, limited to the field: a damaged length byte never
  // makes a reader look past the field.
  std::size_t Size() const { return Length < Capacity ? Length : Capacity; }
  std::string_view Stored() const { return {Chars, Size()}; }

  // Sets the length and the characters; the bytes after them keep what they
  // held, as every writer of the format does.
  void Store(std::string_view text) {
    std::size_t n = text.size() < Capacity ? text.size() : Capacity;
    for (std::size_t i = 0; i < n; ++i) Chars[i] = text[i];
    Length = static_cast<std::uint8_t>(n);
  }
};

// Stored hotkey: three flags, each set only when it is the character '1',
// then the key character.
struct HotkeyCode {
  char Ctrl;
  char Alt;
  char Shift;
  char Key;

  bool HasCtrl() const { return Ctrl == '1'; }
  bool HasAlt() const { return Alt == '1'; }
  bool HasShift() const { return Shift == '1'; }
};

struct CommandRecord {
  StoredText<NAME_CAPACITY> Name;
  StoredText<COMMAND_CAPACITY> Command;
  std::uint8_t Filler1[3];
  std::int32_t ShowCmd;
  char Drive;
  HotkeyCode Hotkey;
  std::uint8_t Filler2[3];
};

static_assert(sizeof(CommandRecord) == RECORD_SIZE, "record size is fixed by the file format");
static_assert(offsetof(CommandRecord, Name) == 0, "file layout");
static_assert(offsetof(CommandRecord, Command) == 41, "file layout");
static_assert(offsetof(CommandRecord, ShowCmd) == 300, "file layout");
static_assert(offsetof(CommandRecord, Drive) == 304, "file layout");
static_assert(offsetof(CommandRecord, Hotkey) == 305, "file layout");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "ShowCmd is stored little-endian");

// The stored form of a field text: the text with one NUL appended, cut to the
// field's capacity.
template <std::size_t Capacity>
void StoreFieldText(StoredText<Capacity>& field, std::string_view text) {
  char stored[Capacity];
  std::size_t n = text.size() < Capacity ? text.size() : Capacity;
  for (std::size_t i = 0; i < n; ++i) stored[i] = text[i];
  if (n < Capacity) stored[n++] = '\0';
  field.Store(std::string_view(stored, n));
}

// The characters a text control shows: the stored text up to its first NUL.
template <std::size_t Capacity>
std::string_view ShownText(const StoredText<Capacity>& field) {
  return UpToFirstNul(field.Stored());
}

// The start of the runner's menu label: the name without its last stored
// character. The whole label (this, a TAB and the hotkey text) is handed to
// the menu as NUL-terminated text, so a NUL in here ends the label.
std::string_view MenuLabelText(const CommandRecord& record);

// The runner's command line: the Command field from its first character up to
// the first NUL, or the whole field when it holds none.
std::string_view CommandLineText(const CommandRecord& record);

// Window-size list index to stored show command; an index that names no item
// keeps the value the record has.
std::int32_t ShowCmdByIndex(int index, std::int32_t current);
// Stored show command to window-size list index; SHOWCMD_NO_ITEM outside 2..10.
int IndexByShowCmd(std::int32_t showCmd);

// Fills a slot with what the editor's Add gives a new command; the rest of the
// slot is left as it is.
void SetDefaultRecord(CommandRecord& record);
