#pragma once
// The rich edit control of the platform reads RTF through fixed-size tables
// it does not check: a token buffer of 1,024 bytes, a font or style name
// buffer of the same size, a stack of 32 groups, 64 cells to a table row.
// Past them it writes over its own memory, stops answering or ends the
// process. RTF handed to it is screened first; what real RTF never holds
// (a control word longer than 32 letters, a parameter of more than ten
// digits, a name of more than 255 characters, rows with more cells than
// they define) is refused before the control sees a byte of it.

#include <string_view>

// Whether the control can read these bytes as RTF within its limits. Bytes
// that do not begin as RTF does pass: the control refuses them itself.
bool RichEditCanReadRtf(std::string_view bytes);
