#pragma once
// ActionOutline files (".ao"): an 18-byte magic, 7 bytes skipped, then one
// record per page in pre-order: name, body (each a 32-bit little-endian
// length and the bytes, cut at the first NUL) and the number of direct
// children that follow. Read into the ".kbf" reader's records; no window code.

#include "KbfFormat.h"

#include <cstdint>
#include <string>
#include <string_view>

class TStream;

enum class ActionOutlineReadResult {
    Ok,
    NotActionOutline, // wrong magic
    Corrupted,        // a record runs past the end, a length or count is
                      // negative, or a record follows the root's whole branch
};

// The message the user sees for a result; empty for Ok.
const char* ActionOutlineReadMessage(ActionOutlineReadResult result);

// Reads n bytes (throws EReadError when fewer are left); the result is those
// bytes up to the first NUL.
std::string ReadStreamString(TStream& stream, std::int64_t n);

// The state icon of a name, and the name without its icon prefix
// (0x01 0x01 and an icon code, when the name has at least 3 bytes).
std::int32_t ActionOutlineStateOf(std::string& name);

// pages[0] stands for the root of a new outline: every record met while no
// branch is open replaces it (rootRecordRead set). Every page read before a
// failure is kept. Bodies come as the file holds them.
ActionOutlineReadResult ReadActionOutline(std::string_view bytes, KbfOutline& outline);
