#include "command_record.h"

#include <cstring>

std::string_view MenuLabelText(const CommandRecord& record) {
  std::string_view stored = record.Name.Stored();
  if (stored.empty()) return stored;
  return std::string_view(stored.data(), stored.size() - 1);
}

std::string_view CommandLineText(const CommandRecord& record) {
  return UpToFirstNul(std::string_view(record.Command.Chars, COMMAND_CAPACITY));
}

std::int32_t ShowCmdByIndex(int index, std::int32_t current) {
  switch (index) {
    case 0: return SHOWCMD_DEFAULT;
    case 1: return SHOWCMD_MINIMIZED;
    case 2: return SHOWCMD_MAXIMIZED;
    default: return current;
  }
}

int IndexByShowCmd(std::int32_t showCmd) {
  if (showCmd == SHOWCMD_MINIMIZED) return 1;
  if (showCmd == SHOWCMD_MAXIMIZED) return 2;
  if (showCmd >= 4 && showCmd <= 10) return 0;
  return SHOWCMD_NO_ITEM;
}

void SetDefaultRecord(CommandRecord& record) {
  record.Name.Store("[Name]");
  record.Command.Store("[Command]");
  record.ShowCmd = SHOWCMD_DEFAULT;
  record.Drive = 'C';
}
