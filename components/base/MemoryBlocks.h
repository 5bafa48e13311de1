#pragma once
// Raw zero-filled memory blocks and byte-offset pointer arithmetic, for the
// picture codecs that walk pixel and colour buffers by address.

#include <cstdint>

// A new zero-filled block of `size` bytes; null for a size of 0 or less.
void* AllocMemo(std::int32_t size);
// Resizes a block, zero-filling any growth; a null block is allocated, a size
// of 0 or less frees the block and gives null.
void* ReallocMemo(void* block, std::int32_t size);
// The size of a block in bytes; 0 for null.
std::int32_t GetMemoSize(const void* block);
// Frees the block the variable holds, if any, and nulls the variable.
void FreeMemo(void*& block);

// True when the first `count` bytes are equal; a count of 0 is true.
bool CompareMem(const void* a, const void* b, std::uint32_t count);

void* HugeOffset(void* pointer, std::int32_t offset);
void HugeInc(void*& pointer, std::int32_t delta);
void HugeDec(void*& pointer, std::int32_t delta);
// Moves `count` pointer-sized items of an array from one index to another;
// the ranges may overlap.
void HugeMove(void* base, std::int32_t fromIndex, std::int32_t toIndex, std::int32_t count);
// Copies `count` bytes, overlap-safe; a count of 0 or less copies nothing.
void HMemCpy(void* destination, const void* source, std::int32_t count);
