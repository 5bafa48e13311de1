#pragma once
// GIF files for the tests, written byte by byte without the codec under test:
// a literal-code raster writer (every pixel a root code, a clear code before
// the code size would grow) and the blocks around it.

#include <cstdint>
#include <string>
#include <vector>

namespace giftest {

inline void Word(std::string& out, unsigned value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

// Codes packed least significant bit first, the code size following what a
// decoder expects; sub-blocks of up to 255 bytes and the terminator.
class CodeStream {
public:
    explicit CodeStream(int minSize) : minSize_(minSize), size_(minSize + 1), next_((1 << minSize) + 2) {}
    void Clear()
    {
        Put(1 << minSize_);
        size_ = minSize_ + 1;
        next_ = (1 << minSize_) + 2;
        first_ = true;
    }
    void End() { Put((1 << minSize_) + 1); }
    // A root code; each but the first after a clear makes the decoder add
    // an entry.
    void Literal(int code)
    {
        Put(code);
        if (!first_ && next_ < 4096) {
            ++next_;
            if (next_ == (1 << size_) && size_ < 12)
                ++size_;
        }
        first_ = false;
    }
    void Raw(int code) { Put(code); }
    std::string Raster() const
    {
        std::string bytes = bytes_;
        if (bits_ > 0)
            bytes.push_back(static_cast<char>(buffer_));
        std::string out(1, static_cast<char>(minSize_));
        for (std::size_t at = 0; at < bytes.size(); at += 255) {
            const std::size_t length = std::min<std::size_t>(255, bytes.size() - at);
            out.push_back(static_cast<char>(length));
            out.append(bytes, at, length);
        }
        out.push_back('\0');
        return out;
    }
    int Room() const { return (1 << size_) - next_; }

private:
    void Put(int code)
    {
        buffer_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += size_;
        while (bits_ >= 8) {
            bytes_.push_back(static_cast<char>(buffer_ & 0xFF));
            buffer_ >>= 8;
            bits_ -= 8;
        }
    }
    int minSize_;
    int size_;
    int next_;
    bool first_ = true;
    std::string bytes_;
    std::uint32_t buffer_ = 0;
    int bits_ = 0;
};

// Every pixel as a literal, a clear first and whenever the size would grow.
inline std::string LiteralRaster(int minSize, const std::vector<int>& pixels, bool leadingClear = true)
{
    CodeStream codes(minSize);
    if (leadingClear)
        codes.Clear();
    for (int pixel : pixels) {
        if (codes.Room() <= 1)
            codes.Clear();
        codes.Literal(pixel);
    }
    codes.End();
    return codes.Raster();
}

// A grey table of 2^bits entries: entry i is (i, i, i) scaled to 0..255.
inline std::string GreyTable(int bits)
{
    std::string table;
    const int count = 1 << bits;
    for (int i = 0; i < count; ++i) {
        const char level = static_cast<char>(i * 255 / (count - 1));
        table.append(3, level);
    }
    return table;
}

inline std::string ScreenHeader(unsigned width, unsigned height, int tableBits, const char* version = "GIF89a")
{
    std::string out = version;
    Word(out, width);
    Word(out, height);
    out.push_back(static_cast<char>(tableBits ? 0x80 | ((tableBits - 1) << 4) | (tableBits - 1) : 0));
    out.push_back('\0');
    out.push_back('\0');
    if (tableBits)
        out += GreyTable(tableBits);
    return out;
}

inline std::string ImageBlock(unsigned left, unsigned top, unsigned width, unsigned height, const std::string& raster,
                              bool interlaced = false, int localBits = 0)
{
    std::string out = ",";
    Word(out, left);
    Word(out, top);
    Word(out, width);
    Word(out, height);
    out.push_back(static_cast<char>((interlaced ? 0x40 : 0) | (localBits ? 0x80 | (localBits - 1) : 0)));
    if (localBits)
        out += GreyTable(localBits);
    return out + raster;
}

inline std::string GraphicControl(int packed, int delay, int transparentIndex)
{
    std::string out = "!\xF9\x04";
    out.push_back(static_cast<char>(packed));
    Word(out, static_cast<unsigned>(delay));
    out.push_back(static_cast<char>(transparentIndex));
    out.push_back('\0');
    return out;
}

inline std::string Comment(const std::string& text)
{
    std::string out = "!\xFE";
    out.push_back(static_cast<char>(text.size()));
    return out + text + std::string(1, '\0');
}

inline std::string LoopBlock(const char* identifier, unsigned count, int blockSize = 11)
{
    std::string out = "!\xFF";
    out.push_back(static_cast<char>(blockSize));
    out.append(identifier, 11);
    out.append("\x03\x01", 2);
    Word(out, count);
    out.push_back('\0');
    return out;
}

} // namespace giftest
