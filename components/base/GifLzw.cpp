#include "GifLzw.h"

#include "Exceptions.h"

#include <array>
#include <vector>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeSize = 12;

std::int64_t RowBytes(const GifPixelRows& rows)
{
    return ((std::int64_t{rows.width} * rows.bitCount + 31) / 32) * 4;
}

std::uint8_t* RowAddress(const GifPixelRows& rows, std::int32_t y)
{
    const std::int64_t stored = rows.topDown ? y : rows.height - 1 - y;
    return rows.pixels + stored * RowBytes(rows);
}

// Reports the stages, and the running percentage whenever it changes; costs
// one test per call without a handler.
class Progress {
public:
    explicit Progress(const TProgressProc& proc) : proc_(proc) {}
    void Start() { Report(psStarting, 0, {}); }
    void Running(std::int64_t done, std::int64_t total)
    {
        if (!proc_ || total <= 0)
            return;
        const auto percent = static_cast<int>(done * 100 / total);
        if (percent != last_) {
            last_ = percent;
            proc_(psRunning, static_cast<std::uint8_t>(percent), {});
        }
    }
    void End(bool failed, const std::string& message) { Report(psEnding, failed ? 0 : 100, message); }

private:
    void Report(TProgressStage stage, int percent, const std::string& message)
    {
        if (proc_)
            proc_(stage, static_cast<std::uint8_t>(percent), message);
    }
    const TProgressProc& proc_;
    int last_ = -1;
};

// Codes, least significant bit first, across the data sub-blocks. Past the
// last byte of the data there is no code.
class CodeReader {
public:
    explicit CodeReader(std::string_view data) : data_(data), position_(1) {}

    // -1 when the data has run out.
    int Read(int size)
    {
        while (bits_ < size) {
            if (blockLeft_ == 0) {
                if (position_ >= data_.size())
                    return -1;
                blockLeft_ = static_cast<std::uint8_t>(data_[position_++]);
                if (blockLeft_ == 0)
                    return -1; // the terminator
            }
            if (position_ >= data_.size())
                return -1;
            buffer_ |= std::uint32_t{static_cast<std::uint8_t>(data_[position_++])} << bits_;
            bits_ += 8;
            --blockLeft_;
        }
        const int code = static_cast<int>(buffer_ & ((1u << size) - 1));
        buffer_ >>= size;
        bits_ -= size;
        return code;
    }
    std::size_t Position() const { return position_; }

private:
    std::string_view data_;
    std::size_t position_;
    std::size_t blockLeft_ = 0;
    std::uint32_t buffer_ = 0;
    int bits_ = 0;
};

// Pixels left to right along the rows, in plain or interlaced order; writes
// nothing once the rows are full.
template <int BitCount>
class PixelWriter {
public:
    PixelWriter(const GifPixelRows& rows, bool interlaced) : rows_(rows), order_(rows.height, interlaced)
    {
        if (rows.width <= 0)
            order_ = GifRowOrder(0, false);
        StartRow();
    }
    bool Full() const { return order_.Done(); }
    void Put(std::uint8_t value)
    {
        if (!row_)
            return;
        if constexpr (BitCount == 8) {
            row_[x_] = value;
        } else if constexpr (BitCount == 4) {
            std::uint8_t& byte = row_[x_ >> 1];
            byte = (x_ & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F))
                            : static_cast<std::uint8_t>(value << 4);
        } else {
            std::uint8_t& byte = row_[x_ >> 3];
            const auto bit = static_cast<std::uint8_t>(0x80 >> (x_ & 7));
            // The first pixel of a byte sets the whole byte.
            if ((x_ & 7) == 0)
                byte = (value & 1) ? bit : 0;
            else if (value & 1)
                byte |= bit;
        }
        if (++x_ == rows_.width) {
            order_.Next();
            StartRow();
        }
    }

private:
    void StartRow()
    {
        x_ = 0;
        row_ = order_.Done() ? nullptr : RowAddress(rows_, order_.Row());
    }
    const GifPixelRows& rows_;
    GifRowOrder order_;
    std::uint8_t* row_ = nullptr;
    std::int32_t x_ = 0;
};

struct Damaged {};

} // namespace

GifRowOrder::GifRowOrder(std::int32_t height, bool interlaced) : height_(height), interlaced_(interlaced)
{
    SkipEmptyPasses();
}

void GifRowOrder::Next()
{
    static constexpr int steps[] = {8, 8, 4, 2};
    if (!interlaced_) {
        ++row_;
        return;
    }
    row_ += steps[pass_];
    SkipEmptyPasses();
}

void GifRowOrder::SkipEmptyPasses()
{
    static constexpr int starts[] = {0, 4, 2, 1};
    if (!interlaced_)
        return;
    while (row_ >= height_ && pass_ < 3) {
        ++pass_;
        row_ = starts[pass_];
    }
}

namespace {

template <int BitCount>
bool DecodeRows(std::string_view raster, const GifPixelRows& rows, bool interlaced, int frameBits, bool tolerate,
                const TProgressProc& progressProc)
{
    Progress progress(progressProc);
    progress.Start();
    bool corrupted = false;
    try {
        auto damage = [&] {
            if (!tolerate)
                throw EInvalidGraphicOperation(kGifCorruptData);
            corrupted = true;
            throw Damaged{};
        };
        if (raster.empty())
            damage();
        int minSize = static_cast<std::uint8_t>(raster[0]);
        if (minSize < 2 || minSize > 9) {
            if (!tolerate)
                throw EInvalidGraphicOperation(kGifCodeSizeRange);
            corrupted = true;
            throw Damaged{};
        }
        const int clear = 1 << minSize;
        const int end = clear + 1;
        const int pixelMask = (1 << frameBits) - 1;
        std::vector<std::uint16_t> prefix(kMaxCodes), suffix(kMaxCodes);
        std::array<std::uint8_t, kMaxCodes + 1> stack;
        int codeSize = minSize + 1;
        int limit = 1 << codeSize;
        int nextFree = clear + 2;
        int previous = -1; // none: the stream starts as after a clear
        int firstRoot = 0;
        CodeReader reader(raster);
        PixelWriter<BitCount> writer(rows, interlaced);
        while (!writer.Full()) {
            int code = reader.Read(codeSize);
            if (code < 0 || code == end)
                break;
            if (code == clear) {
                codeSize = minSize + 1;
                limit = 1 << codeSize;
                nextFree = clear + 2;
                previous = -1;
                continue;
            }
            if (previous < 0) {
                // A literal; anything else has no entry yet.
                if (code > clear)
                    damage();
                firstRoot = code;
                writer.Put(static_cast<std::uint8_t>(code & pixelMask));
                previous = code;
                progress.Running(static_cast<std::int64_t>(reader.Position()), static_cast<std::int64_t>(raster.size()));
                continue;
            }
            if (code > nextFree || (code == nextFree && nextFree >= kMaxCodes))
                damage();
            const int received = code;
            std::size_t depth = 0;
            if (code == nextFree) {
                stack[depth++] = static_cast<std::uint8_t>(firstRoot);
                code = previous;
            }
            while (code > end) {
                if (depth >= kMaxCodes)
                    damage();
                stack[depth++] = static_cast<std::uint8_t>(suffix[static_cast<std::size_t>(code)]);
                code = prefix[static_cast<std::size_t>(code)];
            }
            if (code >= clear || depth >= stack.size())
                damage();
            firstRoot = code;
            stack[depth++] = static_cast<std::uint8_t>(code);
            while (depth > 0)
                writer.Put(static_cast<std::uint8_t>(stack[--depth] & pixelMask));
            if (nextFree < kMaxCodes) {
                prefix[static_cast<std::size_t>(nextFree)] = static_cast<std::uint16_t>(previous);
                suffix[static_cast<std::size_t>(nextFree)] = static_cast<std::uint16_t>(firstRoot);
                ++nextFree;
                if (nextFree >= limit && codeSize < kMaxCodeSize) {
                    ++codeSize;
                    limit <<= 1;
                }
            }
            previous = received;
            progress.Running(static_cast<std::int64_t>(reader.Position()), static_cast<std::int64_t>(raster.size()));
        }
    } catch (const Damaged&) {
    } catch (const Exception& error) {
        progress.End(true, error.Message());
        throw;
    }
    progress.End(false, {});
    return corrupted;
}

} // namespace

bool DecodeLzwRaster(std::string_view raster, const GifPixelRows& rows, bool interlaced, int frameBits,
                     bool tolerate, const TProgressProc& progress)
{
    switch (rows.bitCount) {
    case 8:
        return DecodeRows<8>(raster, rows, interlaced, frameBits, tolerate, progress);
    case 4:
        return DecodeRows<4>(raster, rows, interlaced, frameBits, tolerate, progress);
    default:
        return DecodeRows<1>(raster, rows, interlaced, frameBits, tolerate, progress);
    }
}

// ---- encoding ----

namespace {

constexpr int kHashSize = 17777;
constexpr int kResetCode = 4094;

// Codes packed least significant bit first into 255-byte sub-blocks.
class CodeWriter {
public:
    explicit CodeWriter(std::string& out) : out_(out) {}
    void Write(int code, int size)
    {
        buffer_ |= std::uint32_t(code) << bits_;
        bits_ += size;
        while (bits_ >= 8) {
            Byte(static_cast<std::uint8_t>(buffer_));
            buffer_ >>= 8;
            bits_ -= 8;
        }
    }
    void Flush()
    {
        if (bits_ > 0)
            Byte(static_cast<std::uint8_t>(buffer_));
        bits_ = 0;
        buffer_ = 0;
        if (!block_.empty()) {
            out_.push_back(static_cast<char>(block_.size()));
            out_.append(block_);
        }
        out_.push_back('\0');
    }

private:
    void Byte(std::uint8_t value)
    {
        block_.push_back(static_cast<char>(value));
        if (block_.size() == 255) {
            out_.push_back(static_cast<char>(255));
            out_.append(block_);
            block_.clear();
        }
    }
    std::string& out_;
    std::string block_;
    std::uint32_t buffer_ = 0;
    int bits_ = 0;
};

struct StringEntry {
    std::uint16_t prefix = 0;
    std::uint8_t suffix = 0;
};

} // namespace

void EncodeLzwRaster(std::string& out, const GifPixelRows& rows, bool interlaced, const TProgressProc& progressProc)
{
    if (rows.bitCount != 1 && rows.bitCount != 4 && rows.bitCount != 8)
        throw EInvalidGraphicOperation(kGifEncodingError);
    Progress progress(progressProc);
    const int initialSize = rows.bitCount == 1 ? 3 : rows.bitCount + 1;
    const int minSize = initialSize - 1;
    out.push_back(static_cast<char>(minSize));
    const int clear = 1 << minSize;
    const int end = clear + 1;
    int lastCode = end;
    int codeSize = initialSize;
    int limit = 1 << codeSize;
    std::vector<std::int16_t> slots(kHashSize, -1);
    std::vector<StringEntry> pool(kMaxCodes);
    CodeWriter writer(out);
    writer.Write(clear, codeSize);
    progress.Start();

    int length = 0;
    int prefix = 0;
    std::int64_t hash = 0;
    std::int32_t done = 0;
    try {
        for (GifRowOrder order(rows.width > 0 ? rows.height : 0, interlaced); !order.Done(); order.Next()) {
            const std::uint8_t* row = RowAddress(rows, order.Row());
            for (std::int32_t x = 0; x < rows.width; ++x) {
                int pixel;
                if (rows.bitCount == 8)
                    pixel = row[x];
                else if (rows.bitCount == 4)
                    pixel = (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
                else
                    pixel = (row[x >> 3] >> (7 - (x & 7))) & 1;
                ++length;
                if (length == 1) {
                    prefix = pixel;
                    hash = pixel * 301 + 903;
                    continue;
                }
                hash = ((pixel + length + 4) * hash) % kHashSize;
                auto slot = static_cast<std::size_t>(hash);
                int found = -1;
                while (slots[slot] >= 0) {
                    const StringEntry& entry = pool[static_cast<std::size_t>(slots[slot])];
                    if (entry.prefix == prefix && entry.suffix == pixel) {
                        found = slots[slot];
                        break;
                    }
                    slot = slot + 1 == kHashSize ? 0 : slot + 1;
                }
                if (found >= 0) {
                    prefix = found;
                    continue;
                }
                writer.Write(prefix, codeSize);
                ++lastCode;
                pool[static_cast<std::size_t>(lastCode)] = {static_cast<std::uint16_t>(prefix),
                                                            static_cast<std::uint8_t>(pixel)};
                slots[slot] = static_cast<std::int16_t>(lastCode);
                prefix = pixel;
                hash = pixel * 301 + 903;
                length = 1;
                if (lastCode == limit) {
                    limit <<= 1;
                    ++codeSize;
                } else if (lastCode >= kResetCode) {
                    writer.Write(prefix, codeSize);
                    writer.Write(clear, codeSize);
                    length = 0;
                    lastCode = end;
                    codeSize = initialSize;
                    limit = 1 << codeSize;
                    std::fill(slots.begin(), slots.end(), std::int16_t{-1});
                }
            }
            progress.Running(++done, rows.height);
        }
        // A reset on the very last pixel has already written it.
        if (length > 0)
            writer.Write(prefix, codeSize);
        writer.Write(end, codeSize);
        writer.Flush();
    } catch (const Exception& error) {
        progress.End(true, error.Message());
        throw;
    }
    progress.End(false, {});
}
