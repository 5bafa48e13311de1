#pragma once
// Byte streams: one interface over memory, strings and files, so that loading
// and saving code does not care where the bytes live. Sizes, positions and
// counts are 64-bit throughout.

#include "FileHandle.h"

#include <cstdint>
#include <string>

class TStream {
public:
    virtual ~TStream() = default;

    // Return the bytes transferred: fewer than count at the end of the data,
    // 0 on failure.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }

    // All or nothing: throw EReadError / EWriteError when the stream runs short.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from the source's position; a count of 0 copies the
    // whole source from its start. Returns the bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    // Little-endian, whatever the host.
    std::uint8_t ReadUInt8();
    std::uint16_t ReadUInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    void WriteUInt8(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt32(std::uint32_t value);
};

// A growable block of bytes. Seeking past the end and writing there fills the
// gap with zeros.
class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    // Keeps the position unless it lies beyond the new end.
    void SetSize(std::int64_t size) override;

    void* Memory() { return data_.data(); }
    const void* Memory() const { return data_.data(); }
    void Clear();
    // Replaces the contents with all of the source, and rewinds.
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& destination) const;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

protected:
    // A string holds arbitrary bytes just as well and lets TStringStream hand
    // its contents out without a copy.
    std::string data_;
    std::int64_t position_ = 0;
};

// A memory stream read back as text.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const std::string& text = std::string());
    // Takes the text over without copying it.
    explicit TStringStream(std::string&& text);
    const std::string& DataString() const { return data_; }
};

class TFileStream : public TStream {
public:
    // Throws EFCreateError (fmCreate) or EFOpenError, naming the file and the
    // system's reason.
    TFileStream(const std::string& path, unsigned mode);

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    // Keeps the position unless it lies beyond the new end.
    void SetSize(std::int64_t size) override;

    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    FileHandle handle_;
};
