#pragma once
// TreePad text files (".hjt"), versions 0.9 and 2.7: a header line, then per
// node ("dt=Text" in 2.7) "<node>", the title, the level, the body lines and
// the end-of-node line. Read into the ".kbf" reader's records, so the caller
// makes the pages the same way; no window code.
//
// The reader skips white space after the level and after every body line, as
// TreePad's own reading did: the leading blanks and tabs of a body line and
// empty body lines are lost. Lines are read whole, whatever their length.

#include "KbfFormat.h"

#include <string_view>

enum class TreePadReadResult {
    Ok,
    NotTreePad,   // the header is neither known version
    Newer,        // a 2.7 node holds another data type than text
    Corrupted,    // a 0.9 node marker line of line feeds only
    MissingLevel, // a node without a level number (or one below -1)
};

// The message the user sees for a result; empty for Ok.
const char* TreePadReadMessage(TreePadReadResult result);

// Reads the file's bytes (CR bytes are dropped; 0x1A is an ordinary byte).
// pages[0] stands for the root of a new outline: it is replaced, and
// rootRecordRead set, only by a level-0 node. Every page read before a
// failure is kept, with parents pointing at earlier pages. Bodies end each
// line with CR LF, as the editor keeps a page.
TreePadReadResult ReadTreePad(std::string_view bytes, KbfOutline& outline);
