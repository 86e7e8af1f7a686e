// The two tray menus.
#include "runner.h"

namespace {

// Opens above and to the left of the point; items are chosen with the left button.
constexpr UINT MENU_TRACK_FLAGS = TPM_RIGHTALIGN | TPM_BOTTOMALIGN;
static_assert(MENU_TRACK_FLAGS == 0x28, "menu position flags");

void AppendSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

// Shows the menu at the point and destroys it; a choice arrives afterwards
// as a WM_COMMAND. The runner has to be the foreground window for the menu
// to close when the user clicks elsewhere, and the posted WM_NULL lets a
// second click on the icon work at once. A Down key waiting in the queue
// chooses the first item as soon as the menu runs, as for a menu opened from
// the keyboard.
void TrackAndDestroy(HWND window, HMENU menu, POINT at, bool fromKeyboard) {
  SetForegroundWindow(window);
  if (fromKeyboard) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
  if (TrackPopupMenu(menu, MENU_TRACK_FLAGS, at.x, at.y, 0, window, nullptr)) SetForegroundWindow(window);
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

}  // namespace

// Item ids are the slot indexes, separators included, so an id always names
// its record.
void ShowCommandMenu(HWND window, const RunnerModel& model, POINT at, bool fromKeyboard) {
  HMENU menu = CreatePopupMenu();
  for (int slot = 0; slot <= model.LastIndex; ++slot) {
    const CommandMenuItem item = model.CommandMenuEntry(slot);
    if (item.Separator)
      AppendSeparator(menu);
    else
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(slot), item.Label.c_str());
  }
  TrackAndDestroy(window, menu, at, fromKeyboard);
}

void ShowControlMenu(HWND window, POINT at, bool fromKeyboard) {
  HMENU menu = CreatePopupMenu();
  for (const ControlMenuItem& item : CONTROL_MENU) {
    if (item.Text)
      AppendMenuA(menu, MF_STRING, item.Id, item.Text);
    else
      AppendSeparator(menu);
  }
  TrackAndDestroy(window, menu, at, fromKeyboard);
}
