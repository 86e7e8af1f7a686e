// How the editor's dialog and its controls are found: its window class and
// caption, and the control identifiers. The end-to-end tests use them too.
#pragma once

constexpr char SETUP_CLASS_NAME[] = "TfSetup";
constexpr char APP_TITLE[] = "Configure Tasklark";
constexpr wchar_t APP_TITLE_WIDE[] = L"Configure Tasklark";

// Controls in tab order; Ok and Cancel carry the dialog manager's IDOK and
// IDCANCEL, so that Enter and Escape reach them.
constexpr int ID_NAME_LIST = 101;
constexpr int ID_NAME = 102;
constexpr int ID_COMMAND = 103;
constexpr int ID_BROWSE = 104;
constexpr int ID_WINDOW_SIZE = 105;
constexpr int ID_DRIVE = 106;
constexpr int ID_HOTKEY = 107;
constexpr int ID_ADD = 108;
constexpr int ID_DELETE = 109;
constexpr int ID_UP = 110;
constexpr int ID_DOWN = 111;
constexpr int ID_OK = 1;
constexpr int ID_CANCEL = 2;

// Labels, not in the tab order.
constexpr int ID_NAME_LABEL = 121;
constexpr int ID_COMMAND_LABEL = 122;
constexpr int ID_WINDOW_SIZE_LABEL = 123;
constexpr int ID_DRIVE_LABEL = 124;
constexpr int ID_HOTKEY_LABEL = 125;
