// What the bench needs beyond the end-to-end tests' harness: counting a
// program's USER and GDI objects from inside it, and clearing the probe's
// reports between launches.
#pragma once

#include "harness.h"

namespace bench {

// Live USER and GDI objects of a process, counted from inside it by the
// folder's copy of guicount.dll. GetGuiResources is 0 under Wine; there the
// counted menus, windows and GDI objects tell.
struct GuiCounts {
  long gdi = -1, user = -1;
  long menus = -1, windows = -1, gdiObjects = -1;
};
bool CountGuiObjects(const e2e::Process& process, const e2e::ProgramDir& dir, GuiCounts& counts);

bool WaitForNoPopupMenu(DWORD processId);
void ClearLaunches(const e2e::ProgramDir& dir);

}  // namespace bench
