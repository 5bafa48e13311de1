#include "Streams.h"

#include "Exceptions.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr std::int64_t CopyChunk = 64 * 1024;

template <typename T>
T ReadLittleEndian(TStream& stream)
{
    unsigned char bytes[sizeof(T)];
    stream.ReadBuffer(bytes, sizeof bytes);
    std::uint64_t value = 0;
    for (std::size_t i = sizeof bytes; i-- > 0;)
        value = value << 8 | bytes[i];
    return static_cast<T>(value);
}

template <typename T>
void WriteLittleEndian(TStream& stream, T value)
{
    unsigned char bytes[sizeof(T)];
    auto bits = static_cast<std::uint64_t>(value);
    for (unsigned char& byte : bytes) {
        byte = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
    stream.WriteBuffer(bytes, sizeof bytes);
}

} // namespace

// --- TStream --------------------------------------------------------------

std::int64_t TStream::Size()
{
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    // Files may hand out less than asked even before their end; only a read
    // that brings nothing means the data has run out.
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        const std::int64_t done = Read(bytes, count);
        if (done <= 0)
            throw EReadError("Stream read error");
        bytes += done;
        count -= done;
    }
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    while (count > 0) {
        const std::int64_t done = Write(bytes, count);
        if (done <= 0)
            throw EWriteError("Stream write error");
        bytes += done;
        count -= done;
    }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min(count, CopyChunk)));
    for (std::int64_t left = count; left > 0;) {
        const std::int64_t chunk = std::min(left, CopyChunk);
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return count;
}

std::uint8_t TStream::ReadUInt8() { return ReadLittleEndian<std::uint8_t>(*this); }
std::uint16_t TStream::ReadUInt16() { return ReadLittleEndian<std::uint16_t>(*this); }
std::int32_t TStream::ReadInt32() { return static_cast<std::int32_t>(ReadLittleEndian<std::uint32_t>(*this)); }
std::uint32_t TStream::ReadUInt32() { return ReadLittleEndian<std::uint32_t>(*this); }
void TStream::WriteUInt8(std::uint8_t value) { WriteLittleEndian(*this, value); }
void TStream::WriteUInt16(std::uint16_t value) { WriteLittleEndian(*this, value); }
void TStream::WriteInt32(std::int32_t value) { WriteLittleEndian(*this, static_cast<std::uint32_t>(value)); }
void TStream::WriteUInt32(std::uint32_t value) { WriteLittleEndian(*this, value); }

// --- TMemoryStream --------------------------------------------------------

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    // A position before the start or past the end yields nothing.
    if (position_ < 0 || count <= 0 || position_ >= Size())
        return 0;
    const std::int64_t done = std::min(count, Size() - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(done));
    position_ += done;
    return done;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (position_ < 0 || count <= 0)
        return 0;
    const std::int64_t end = position_ + count;
    if (end > Size())
        data_.resize(static_cast<std::size_t>(end), '\0');
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
    position_ = base + offset;
    return position_;
}

void TMemoryStream::SetSize(std::int64_t size)
{
    data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    SetSize(size);
    source.ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& destination) const
{
    destination.WriteBuffer(data_.data(), static_cast<std::int64_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const std::string& path)
{
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& path) const
{
    TFileStream file(path, fmCreate);
    SaveToStream(file);
}

// --- TStringStream --------------------------------------------------------

TStringStream::TStringStream(const std::string& text) { data_ = text; }

TStringStream::TStringStream(std::string&& text) { data_ = std::move(text); }

// --- TFileStream ----------------------------------------------------------

TFileStream::TFileStream(const std::string& path, unsigned mode) : fileName_(path)
{
    std::string reason;
    handle_ = FileHandle::Open(path, mode, reason);
    if (handle_.IsOpen())
        return;
    const bool creating = (mode & fmCreate) == fmCreate;
    const std::string message = creating ? "Cannot create file \"%s\". " : "Cannot open file \"%s\". ";
    if (creating)
        throw EFCreateError(FormatMessageText(message, path) + reason);
    throw EFOpenError(FormatMessageText(message, path) + reason);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    return std::max<std::int64_t>(handle_.Read(buffer, count), 0);
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    return std::max<std::int64_t>(handle_.Write(buffer, count), 0);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) { return handle_.Seek(offset, origin); }

void TFileStream::SetSize(std::int64_t size)
{
    const std::int64_t position = Position();
    if (!handle_.Resize(size))
        throw EWriteError("Stream write error");
    SetPosition(std::min(position, size));
}
