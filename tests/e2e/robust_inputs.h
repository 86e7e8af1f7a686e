// Bad set files for the robustness tests, and what a sound reader makes of
// them: the records it holds, the runner's command menu and the editor's list.
//
// Every test here has a short form, run with the suite, and a long form, run
// when TASKLARK_ROBUSTNESS=long (tools/robustness): every size instead of a
// sample, many more random files and ten times the messages. Random inputs
// come from one seed, printed with the results; TASKLARK_SEED=N repeats a run.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "command_record.h"
#include "harness.h"
#include "hotkey_text.h"

namespace robust {

using e2e::Bytes;

inline std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

inline bool LongRun() { return Environment("TASKLARK_ROBUSTNESS") == "long"; }

// The short form always draws the same inputs; the long one new ones each run.
inline unsigned Seed() {
  static const unsigned seed = [] {
    const std::string given = Environment("TASKLARK_SEED");
    unsigned value = !given.empty() ? static_cast<unsigned>(std::strtoul(given.c_str(), nullptr, 10))
                     : LongRun()    ? GetTickCount()
                                    : 20240611u;
    std::cout << "robustness: " << (LongRun() ? "long" : "short") << " run, TASKLARK_SEED=" << value
              << std::endl;
    return value;
  }();
  return seed;
}

// How many of each kind: {short form, long form}.
inline int Scaled(int shortRun, int longRun) { return LongRun() ? longRun : shortRun; }

// ---------------------------------------------------------------------------
// Making set files

inline const unsigned char* RawOf(const CommandRecord& record) {
  return reinterpret_cast<const unsigned char*>(&record);
}
inline unsigned char* RawOf(CommandRecord& record) { return reinterpret_cast<unsigned char*>(&record); }

// Slot i of a set is the file's bytes from i * RECORD_SIZE.
inline Bytes Cut(const Bytes& bytes, std::size_t size) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(size, bytes.size())));
}

// Sizes of a set file on both sides of every record boundary, up to one
// record and a byte past a full table. The short form keeps the boundaries
// that differ: empty, the first records, and around the 30-record limit.
inline std::vector<std::size_t> BoundarySizes() {
  std::vector<std::size_t> sizes;
  for (std::size_t n = 0; n <= MAX_COMMANDS + 1; ++n) {
    const bool sampled = n <= 2 || n >= MAX_COMMANDS - 1;
    if (!LongRun() && !sampled) continue;
    if (n > 0) sizes.push_back(n * RECORD_SIZE - 1);
    sizes.push_back(n * RECORD_SIZE);
    sizes.push_back(n * RECORD_SIZE + 1);
  }
  return sizes;
}

// Hotkey keys of the well-formed records, Ctrl+Alt with one key each.
constexpr char kSlotKeys[] = "abcdefghijklmnopqrstuvwxyz01234";
static_assert(sizeof kSlotKeys - 1 == MAX_COMMANDS + 1, "a key for one record more than a set holds");

// One record more than a set holds, as the editor writes them: record i is
// "Slot i", starts `commandOf(tag)` with the tag "slot<i>" and has the hotkey
// Ctrl+Alt with kSlotKeys[i].
template <class CommandOf>
std::vector<CommandRecord> OverfullSet(CommandOf commandOf) {
  std::vector<CommandRecord> records;
  for (int i = 0; i <= MAX_COMMANDS; ++i) {
    const std::string hotkey = std::string("110") + kSlotKeys[i];
    records.push_back(e2e::Record("Slot " + std::to_string(i), commandOf("slot" + std::to_string(i)),
                                  SHOWCMD_DEFAULT, 'C', hotkey));
  }
  return records;
}

// A record no writer of the set makes: both length bytes 255 and no NUL
// anywhere, so that a reader that trusts a length reads on into the next
// field. The name is padded with 'N' to its 40 characters, the command with
// 'x' to its 255, and the filler bytes are letters.
inline CommandRecord OverlongRecord(std::string_view name, std::string_view command, char key,
                                    std::uint8_t nameLength = 255) {
  CommandRecord record;
  std::memset(&record, 'F', sizeof record);
  record.Name.Length = nameLength;
  std::memset(record.Name.Chars, 'N', NAME_CAPACITY);
  std::memcpy(record.Name.Chars, name.data(), std::min(name.size(), NAME_CAPACITY));
  record.Command.Length = 255;
  std::memset(record.Command.Chars, 'x', COMMAND_CAPACITY);
  std::memcpy(record.Command.Chars, command.data(), std::min(command.size(), COMMAND_CAPACITY));
  record.ShowCmd = SW_SHOWNORMAL;
  record.Drive = 'C';
  record.Hotkey = {'1', '1', '0', key};
  return record;
}

inline Bytes Filled(std::size_t size, unsigned char byte) { return Bytes(size, byte); }

inline Bytes RandomBytes(std::mt19937& random, std::size_t size) {
  Bytes bytes(size);
  std::uniform_int_distribution<int> byte(0, 255);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(byte(random));
  return bytes;
}

inline std::size_t RandomSize(std::mt19937& random) {
  return std::uniform_int_distribution<std::size_t>(0, (MAX_COMMANDS + 1) * RECORD_SIZE + 1)(random);
}

// A random file: either noise, or a sound set with some of its bytes changed,
// which reaches more of a reader (separators, hotkeys, plausible lengths).
inline Bytes RandomSetFile(std::mt19937& random) {
  if (random() % 2 == 0) return RandomBytes(random, RandomSize(random));
  Bytes bytes = e2e::SetBytes(OverfullSet([](const std::string& tag) { return "probe.exe " + tag; }));
  bytes.resize(RandomSize(random));
  if (bytes.empty()) return bytes;
  const int changes = std::uniform_int_distribution<int>(1, 64)(random);
  for (int i = 0; i < changes; ++i) {
    const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
    const unsigned char pick[] = {0, 1, '-', '1', 39, 40, 41, 254, 255, static_cast<unsigned char>(random())};
    bytes[at] = pick[random() % sizeof pick];
  }
  return bytes;
}

// Wine 8's edit control crashes on byte 0x98 at the start of a text or after
// a character it draws nothing for (docs/testing-under-wine.md): the editor is
// given none.
inline Bytes WithoutWineCrashText(Bytes bytes) {
  for (unsigned char& b : bytes)
    if (b == 0x98) b = 0x97;
  return bytes;
}

// ---------------------------------------------------------------------------
// What a sound reader makes of a set file

// One record for every record's worth of bytes that the file has begun, at
// most MAX_COMMANDS; the short last one is filled up with zeros.
inline std::vector<CommandRecord> RecordsOf(const Bytes& bytes) {
  std::vector<CommandRecord> records;
  for (std::size_t at = 0; at < bytes.size() && records.size() < MAX_COMMANDS; at += RECORD_SIZE) {
    CommandRecord record;
    std::memset(&record, 0, sizeof record);
    std::memcpy(&record, bytes.data() + at, std::min(RECORD_SIZE, bytes.size() - at));
    records.push_back(record);
  }
  return records;
}

// The name's stored characters, never more than the field holds.
inline std::string StoredName(const CommandRecord& record) {
  const unsigned char* raw = RawOf(record);
  return std::string(reinterpret_cast<const char*>(raw + 1), std::min<std::size_t>(raw[0], NAME_CAPACITY));
}

inline std::string UpToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// The runner's command menu: a separator for a name that begins with a
// hyphen, else the name without its last stored character, a TAB and the
// hotkey, handed to the menu as text that ends at its first NUL (a NUL in the
// name ends the label there; a hotkey without a key shows nothing after the
// TAB).
inline std::vector<e2e::MenuEntry> CommandMenuOf(const std::vector<CommandRecord>& records) {
  std::vector<e2e::MenuEntry> entries;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string name = StoredName(records[i]);
    if (!name.empty() && name[0] == '-') {
      entries.push_back({0, true, ""});
      continue;
    }
    std::string label = name.substr(0, name.empty() ? 0 : name.size() - 1) + '\t';
    label += std::string(HotkeyCodeToMenuText(records[i].Hotkey).view());
    entries.push_back({static_cast<UINT>(i), false, UpToNul(label)});
  }
  return entries;
}

// A menu text that begins with a backspace is taken by the platform's menu as
// a mark (Wine's keeps it out of the text); compare texts without it.
inline std::vector<e2e::MenuEntry> WithoutMenuMarks(std::vector<e2e::MenuEntry> entries) {
  for (e2e::MenuEntry& entry : entries)
    if (!entry.text.empty() && entry.text[0] == '\b') entry.text.erase(0, 1);
  return entries;
}

// The editor's list: each name up to its first NUL.
inline std::vector<std::string> ListedNamesOf(const std::vector<CommandRecord>& records) {
  std::vector<std::string> names;
  for (const CommandRecord& record : records) names.push_back(UpToNul(StoredName(record)));
  return names;
}

// What the editor's command field shows: the stored characters up to the
// first NUL, never past the field.
inline std::string ShownCommandOf(const CommandRecord& record) {
  const std::size_t length = std::min<std::size_t>(record.Command.Length, COMMAND_CAPACITY);
  return UpToNul(std::string(record.Command.Chars, length));
}

}  // namespace robust
