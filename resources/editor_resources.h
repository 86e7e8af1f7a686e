// Resource identifiers of the editor, shared by editor.rc and the code.
#pragma once

// The button pictures, 16 x 16 in 16 colours; fuchsia is transparent.
#define IDB_GLYPH_ADD 201
#define IDB_GLYPH_DELETE 202
#define IDB_GLYPH_UP 203
#define IDB_GLYPH_DOWN 204
#define IDB_GLYPH_OK 205
#define IDB_GLYPH_CANCEL 206
