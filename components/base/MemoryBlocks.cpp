#include "MemoryBlocks.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// Each block carries its size in a prefix kept at the strictest alignment, so
// that the caller's pointer stays aligned for any pixel or colour type.
constexpr std::size_t kPrefix = alignof(std::max_align_t);

std::int32_t& SizeOf(void* block) { return *reinterpret_cast<std::int32_t*>(static_cast<char*>(block) - kPrefix); }

void* Payload(void* raw) { return static_cast<char*>(raw) + kPrefix; }
void* Raw(void* block) { return static_cast<char*>(block) - kPrefix; }

} // namespace

void* AllocMemo(std::int32_t size)
{
    if (size <= 0)
        return nullptr;
    void* raw = std::calloc(1, kPrefix + static_cast<std::size_t>(size));
    if (!raw)
        return nullptr;
    void* block = Payload(raw);
    SizeOf(block) = size;
    return block;
}

void* ReallocMemo(void* block, std::int32_t size)
{
    if (!block)
        return AllocMemo(size);
    if (size <= 0) {
        FreeMemo(block);
        return nullptr;
    }
    const std::int32_t old = SizeOf(block);
    void* raw = std::realloc(Raw(block), kPrefix + static_cast<std::size_t>(size));
    if (!raw)
        return nullptr;
    void* grown = Payload(raw);
    if (size > old)
        std::memset(static_cast<char*>(grown) + old, 0, static_cast<std::size_t>(size - old));
    SizeOf(grown) = size;
    return grown;
}

std::int32_t GetMemoSize(const void* block)
{
    return block ? SizeOf(const_cast<void*>(block)) : 0;
}

void FreeMemo(void*& block)
{
    if (!block)
        return;
    std::free(Raw(block));
    block = nullptr;
}

bool CompareMem(const void* a, const void* b, std::uint32_t count)
{
    return count == 0 || std::memcmp(a, b, count) == 0;
}

void* HugeOffset(void* pointer, std::int32_t offset)
{
    return static_cast<char*>(pointer) + offset;
}

void HugeInc(void*& pointer, std::int32_t delta) { pointer = HugeOffset(pointer, delta); }

void HugeDec(void*& pointer, std::int32_t delta) { pointer = HugeOffset(pointer, -delta); }

void HugeMove(void* base, std::int32_t fromIndex, std::int32_t toIndex, std::int32_t count)
{
    if (count <= 0)
        return;
    void** items = static_cast<void**>(base);
    std::memmove(items + toIndex, items + fromIndex, static_cast<std::size_t>(count) * sizeof(void*));
}

void HMemCpy(void* destination, const void* source, std::int32_t count)
{
    if (count <= 0)
        return;
    std::memmove(destination, source, static_cast<std::size_t>(count));
}
