#include "IconListStream.h"

#include "AniFile.h"
#include "Exceptions.h"
#include "Streams.h"

#include <cstdint>

void ReadIconListData(TStream& stream, const std::function<void(std::string&& bytes)>& slot)
{
    auto left = [&stream] { return stream.Size() - stream.Position(); };
    const std::int32_t count = stream.ReadInt32();
    // Every slot takes at least its size field.
    if (count < 0 || count > left() / 4)
        throw EReadError(kStreamReadError);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t size = stream.ReadInt32();
        if (size <= 0) {
            slot(std::string());
            continue;
        }
        if (size > left())
            throw EReadError(kStreamReadError);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        stream.ReadBuffer(bytes.data(), size);
        slot(std::move(bytes));
    }
}

void WriteIconListData(TStream& stream, const std::vector<std::string>& slots)
{
    stream.WriteInt32(static_cast<std::int32_t>(slots.size()));
    for (const std::string& bytes : slots) {
        stream.WriteInt32(static_cast<std::int32_t>(bytes.size()));
        if (!bytes.empty())
            stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
}
