// The command set: up to MAX_COMMANDS records in file order, and the
// command-set file, a headerless run of RECORD_SIZE-byte records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "command_record.h"
#include "error.h"

struct CommandSet {
  CommandRecord Records[MAX_COMMANDS];
  int Count;
};

// Where records are read from: a file, or memory in tests and fuzzing.
class RecordSource {
 public:
  virtual std::uint64_t Size() = 0;
  // Reads up to `size` bytes at the current position; 0 when it fails or ends.
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;

 protected:
  ~RecordSource() = default;
};

// Reads records into slots 0, 1, ... while the position is below the size:
// one read of RECORD_SIZE bytes per record. Stops after MAX_COMMANDS records
// and at a read that delivers nothing. A short last piece fills the start of
// its slot and the rest of that slot is zero. Slots after the last one read
// keep what they held. Returns how many records the source holds by its
// size, a short last one included: more than were read when it holds more
// than MAX_COMMANDS.
std::uint64_t ReadRecords(RecordSource& source, CommandSet& set);

// Fills the set from the file at the path; a file that cannot be opened gives
// an empty set, and false with the reason in error::Last(). Needs read
// access only. `held`, when given, is how many records the file holds.
bool ReadCommandSet(const char* path, CommandSet& set, std::uint64_t* held = nullptr);

// Creates the file with no records, or empties an existing one.
bool CreateEmptySetFile(const char* path);

// Writes the set to a new file beside the file the path leads to (through a
// link, beside its target) and moves it over that file in one step, so the
// old file stays whole until the new one is complete, and the new one takes
// its attributes, security and streams (file::MoveOver). On failure the old
// file is untouched, the new one is removed and `error` tells why.
//
// The new file's name is a tilde and one of the 36 digits and lower-case
// letters, the first that is free (only the character when the set's own
// name has one): no longer than the set's name, so it fits wherever the set
// does. Where no new file can be made beside the set (the user may change
// the file but not add one to its folder, or every such name is taken), an
// existing set is written over in place: it stays the same file, but a
// failure on the way leaves it part new, part old.
bool SaveCommandSet(const char* path, const CommandSet& set, error::Code& error);
