#pragma once
// ActionOutline files built byte by byte for the reader's tests.

#include <cstdint>
#include <string>

inline std::string Int32Bytes(std::int32_t value)
{
    std::string bytes;
    for (int k = 0; k < 4; ++k)
        bytes += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * k)) & 0xFF);
    return bytes;
}

// One page: name, body and the number of direct children that follow.
inline std::string AoRecord(const std::string& name, const std::string& body, std::int32_t children)
{
    return Int32Bytes(static_cast<std::int32_t>(name.size())) + name +
           Int32Bytes(static_cast<std::int32_t>(body.size())) + body + Int32Bytes(children);
}

// The magic and the 7 bytes skipped, then the records.
inline std::string AoFile(const std::string& records)
{
    return std::string("[GP][AO][1.0][01]\x08", 18) + "1234567" + records;
}
