// Resource identifiers of the editor, shared by editor.rc and the code.
#pragma once

// The button pictures in 16 colours, fuchsia transparent, each drawn for
// 16, 20, 24 and 32 pixels: the picture drawn for a size has its id plus
// that size.
#define IDB_GLYPH_ADD 1000
#define IDB_GLYPH_DELETE 1100
#define IDB_GLYPH_UP 1200
#define IDB_GLYPH_DOWN 1300
#define IDB_GLYPH_OK 1400
#define IDB_GLYPH_CANCEL 1500
