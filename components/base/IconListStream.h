#pragma once
// The icon list's stream form: an int32 count, then for each slot an int32
// size and that many bytes of the icon's own stream form; size 0 for an empty
// slot.

#include <functional>
#include <string>
#include <vector>

class TStream;

// Hands each slot's bytes to `slot` in turn, empty for an empty slot. A count
// or size beyond the bytes left raises EReadError "Stream read error" before
// anything is allocated for it.
void ReadIconListData(TStream& stream, const std::function<void(std::string&& bytes)>& slot);
void WriteIconListData(TStream& stream, const std::vector<std::string>& slots);
