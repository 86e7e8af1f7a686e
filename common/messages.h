// Every private message and command id of both programs, in one block, so
// that none is taken twice and the tests name them as the programs do.
#pragma once

// The first message number the system leaves to a program (WM_APP).
constexpr unsigned APP_MESSAGE_BASE = 0x8000;

// The runner's tray icon reports clicks with this message.
constexpr unsigned WM_TRAYNOTIFY = 2135;
// Posted by the editor to the runner's window: load the set file again. It
// crosses programs, so its number never changes.
constexpr unsigned WM_RELOADSET = 2445;
// Posted by the editor's dialog to itself when the set file is there but
// cannot be read; wParam holds the error.
constexpr unsigned WM_UNREADABLE_SET = APP_MESSAGE_BASE + 1;
// Posted to the editor's drive field when it was left empty, and checked
// once the focus has settled.
constexpr unsigned WM_CHECKLEAVE = APP_MESSAGE_BASE + 2;
// Posted to the editor's dialog by the thread of Browse's Open dialog when
// that dialog has closed.
constexpr unsigned WM_BROWSED = APP_MESSAGE_BASE + 3;
// Posted by the editor's dialog to itself when the set file holds more
// commands than it shows.
constexpr unsigned WM_CUT_SET = APP_MESSAGE_BASE + 4;

// The control menu's commands are the letters A, B, E, L and S; a record's
// command is its slot, 0 to 29.
constexpr unsigned IDM_ABOUT = 'A';
constexpr unsigned IDM_SAVEAS = 'B';
constexpr unsigned IDM_CLOSE = 'E';
constexpr unsigned IDM_LOAD = 'L';
constexpr unsigned IDM_SETUP = 'S';

// The resolution that every size in pixels is given at: 96 pixels per inch.
constexpr int STANDARD_DPI = 96;
