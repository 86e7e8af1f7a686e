// The runner's model on any set file, command id and chosen name: no id
// beyond the loaded set runs, the menu labels, the tip and the balloon fit
// what they are handed to, and Save as names its set in the program's folder.
#include <fstream>

#include "fuzz_support.h"
#include "runner_model.h"
#include "utf8.h"

namespace {

const ScratchFolder folder;
RunnerModel model;
HotkeyWish wishes[MAX_COMMANDS];
CommandText line;

void Load() {
  PathText path;
  if (model.SetFilePath(path)) std::ofstream(path.c_str(), std::ios::binary) << Bytes(Byte() * 48u);
  const int count = model.Load(wishes);
  for (int i = 0; i < count; ++i) {
    if (wishes[i].Slot > model.LastIndex) Fail("a hotkey is wished for no loaded record");
    wishes[i].VirtualKey = Byte() % 4 ? Byte() : -1;  // -1: no key types it
    wishes[i].Registered = wishes[i].VirtualKey != -1 && Byte() % 2;
    wishes[i].Error = Byte();
  }
  // No code page makes more UTF-16 units of a text than it has bytes.
  if (model.LoadNotice(wishes, count).size() >= BALLOON_CHARS) Fail("the balloon's text does not fit");
  char16_t tip[TIP_CHARS];
  if (!Utf8ToUtf16(model.Tip(), tip, TIP_CHARS - 1)) Fail("the tip does not fit");
  for (int slot = 0; slot <= model.LastIndex; ++slot)
    if (model.CommandMenuEntry(slot).Label.WasCut()) Fail("a menu label does not fit");
}

bool InLine(std::string_view part) {
  return part.empty() ||
         (part.data() >= line.data() && part.data() + part.size() <= line.data() + line.size());
}

void Run() {
  std::uintptr_t id = Byte();
  for (int more = Byte() % 8; more > 0; --more) id = id << 8 | Byte();
  int slot = -1;
  if (model.CommandFor(id, slot) != RunnerCommand::Run) return;
  if (slot < 0 || slot > model.LastIndex) Fail("an id beyond the loaded set runs");
  OpenTarget target;
  if (!model.ExpandCommand(model.LaunchOf(slot).CommandLine, line)) return;
  if (!model.OpenTargetOf(line, Byte() % 2 ? start_error::FILE_NOT_FOUND : Byte(), target)) return;
  if (!InLine(target.Target) || !InLine(target.Parameters)) Fail("what a command opens is not in its line");
}

void SaveAs() {
  const SaveAsPlan plan = model.PlanSaveAs(Bytes(Byte()));
  if (plan.Step == SaveAsStep::Nothing) return;
  PathText path(model.ProgramDir);
  if (DirectoryPart(path.Append(plan.Name)) != model.ProgramDir.view())
    Fail("a set is named outside the folder");
  error::Code error = 0;
  model.SaveAs(plan, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  input = {reinterpret_cast<const char*>(data), size};
  std::filesystem::remove_all(folder.Path);
  std::filesystem::create_directories(folder.Path);
  const std::string program = Byte() % 8 ? folder.Path + "Tasklark.exe" : "";  // unknown when empty
  model.Start("Tasklark.exe " + Bytes(Byte()), program);
  while (!input.empty()) {
    switch (Byte() % 4) {
      case 0: Load(); break;
      case 1: Run(); break;
      case 2: SaveAs(); break;
      default: model.TakeChosenName(Bytes(Byte())); break;
    }
  }
  return 0;
}
