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
// keep what they held.
void ReadRecords(RecordSource& source, CommandSet& set);

// Fills the set from the file at the path; a file that cannot be opened gives
// an empty set, and false with the reason in error::Last(). Needs read
// access only.
bool ReadCommandSet(const char* path, CommandSet& set);

// Creates the file with no records, or empties an existing one.
bool CreateEmptySetFile(const char* path);

// Writes the set to a new file beside the path and moves it over the path in
// one step, so the old file stays whole until the new one is complete. On
// failure the old file is untouched, the new one is removed and `error` tells
// why.
bool SaveCommandSet(const char* path, const CommandSet& set, error::Code& error);
