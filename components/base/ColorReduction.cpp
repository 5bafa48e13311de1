#include "ColorReduction.h"

#include "BitmapFileImage.h"

#include <cstdlib>
#include <vector>

const std::array<std::uint8_t, 4> ColorLevels::four = {0, 85, 170, 255};
const std::array<std::uint8_t, 6> ColorLevels::six = {0, 51, 102, 153, 204, 255};
const std::array<std::uint8_t, 7> ColorLevels::seven = {0, 43, 85, 128, 170, 213, 255};
const std::array<std::uint8_t, 8> ColorLevels::eight = {0, 36, 73, 109, 146, 182, 219, 255};

namespace {

template <std::size_t N>
std::array<std::uint8_t, 256> BuildNearest(const std::array<std::uint8_t, N>& levels)
{
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < N; ++i) {
            if (std::abs(v - levels[i]) < std::abs(v - levels[best]))
                best = i;
        }
        table[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(best);
    }
    return table;
}

const std::array<std::uint8_t, 256> kNearest4 = BuildNearest(ColorLevels::four);
const std::array<std::uint8_t, 256> kNearest6 = BuildNearest(ColorLevels::six);
const std::array<std::uint8_t, 256> kNearest7 = BuildNearest(ColorLevels::seven);
const std::array<std::uint8_t, 256> kNearest8 = BuildNearest(ColorLevels::eight);

// Calls index(blue, green, red, x, y) for every pixel and stores its result as
// the pixel's 8-bit index, row by row in memory order.
template <class Index>
void MapPixels(PixelRows rows, Index index)
{
    const std::int64_t inRow = DibRowSize(rows.width, 24);
    const std::int64_t outRow = DibRowSize(rows.width, 8);
    for (int y = 0; y < rows.height; ++y) {
        const std::uint8_t* in = rows.bits + y * inRow;
        std::uint8_t* out = rows.bits + y * outRow;
        for (int x = 0; x < rows.width; ++x, in += 3)
            out[x] = index(in[0], in[1], in[2], x, y);
    }
}

// Calls visit(blue, green, red) for every pixel.
template <class Visit>
void VisitPixels(PixelRows rows, Visit visit)
{
    const std::int64_t inRow = DibRowSize(rows.width, 24);
    for (int y = 0; y < rows.height; ++y) {
        const std::uint8_t* in = rows.bits + y * inRow;
        for (int x = 0; x < rows.width; ++x, in += 3)
            visit(in[0], in[1], in[2]);
    }
}

DibRgbQuad Quad(int red, int green, int blue, int reserved = 0)
{
    return DibRgbQuad{static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(green),
                      static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(reserved)};
}

} // namespace

const std::array<std::uint8_t, 256>& NearestLevelTable(int levels)
{
    switch (levels) {
    case 4:
        return kNearest4;
    case 6:
        return kNearest6;
    case 7:
        return kNearest7;
    default:
        return kNearest8;
    }
}

// ---- Histogram ----

namespace {

constexpr int kHistogramColors = 2049;
constexpr int kHistogramSlots = 5191;
constexpr std::uint16_t kEmptySlot = 0xFFFF;

struct HistogramColor {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint32_t count;
    int index;
};

class ColorHistogram {
public:
    // Counts the masked colours; false when a 2,050th distinct colour shows.
    bool Count(PixelRows rows, const std::uint8_t masks[3])
    {
        colors_.clear();
        slots_.assign(kHistogramSlots, kEmptySlot);
        bool full = false;
        int last = -1;
        std::uint32_t lastKey = 0xFFFFFFFF;
        VisitPixels(rows, [&](std::uint8_t b, std::uint8_t g, std::uint8_t r) {
            if (full)
                return;
            const std::uint32_t key = Key(b & masks[0], g & masks[1], r & masks[2]);
            if (key != lastKey) {
                last = Find(static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
                            static_cast<std::uint8_t>(key >> 16), true);
                lastKey = key;
            }
            if (last < 0) {
                full = true;
                return;
            }
            ++colors_[static_cast<std::size_t>(last)].count;
        });
        return !full;
    }

    // The index of a stored colour, or of a new one when `add`; -1 when full.
    int Find(std::uint8_t b, std::uint8_t g, std::uint8_t r, bool add)
    {
        int slot = static_cast<int>(((r + g) * (b + g) * (r + b)) % kHistogramSlots);
        for (;;) {
            const std::uint16_t at = slots_[static_cast<std::size_t>(slot)];
            if (at == kEmptySlot)
                break;
            const HistogramColor& c = colors_[at];
            if (c.blue == b && c.green == g && c.red == r)
                return at;
            slot = slot == kHistogramSlots - 1 ? 0 : slot + 1;
        }
        if (!add || static_cast<int>(colors_.size()) == kHistogramColors)
            return -1;
        slots_[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(colors_.size());
        colors_.push_back(HistogramColor{b, g, r, 0, -1});
        return static_cast<int>(colors_.size()) - 1;
    }

    std::vector<HistogramColor>& Colors() { return colors_; }

private:
    static std::uint32_t Key(int b, int g, int r) { return static_cast<std::uint32_t>(b | g << 8 | r << 16); }

    std::vector<HistogramColor> colors_;
    std::vector<std::uint16_t> slots_;
};

void CoarsenMask(std::uint8_t masks[3])
{
    std::uint8_t& blue = masks[0];
    std::uint8_t& green = masks[1];
    std::uint8_t& red = masks[2];
    std::uint8_t& coarser = red < green ? green : (blue < red ? red : blue);
    coarser = static_cast<std::uint8_t>(coarser << 1);
}

int TakeMostFrequent(std::vector<HistogramColor>& colors, int wanted, DibPalette& palette)
{
    std::vector<std::uint32_t> counts;
    counts.reserve(colors.size());
    for (const HistogramColor& c : colors)
        counts.push_back(c.count);
    int taken = 0;
    for (; taken < wanted; ++taken) {
        std::size_t best = counts.size();
        for (std::size_t i = 0; i < counts.size(); ++i) {
            if (counts[i] > 0 && (best == counts.size() || counts[i] > counts[best]))
                best = i;
        }
        if (best == counts.size())
            break;
        counts[best] = 0;
        colors[best].index = taken;
        palette[static_cast<std::size_t>(taken)] = Quad(colors[best].red, colors[best].green, colors[best].blue);
    }
    for (int i = taken; i < 256; ++i)
        palette[static_cast<std::size_t>(i)] = Quad(128, 128, 128);
    return taken;
}

int NearestEntry(const HistogramColor& c, const DibPalette& palette, int entries)
{
    int best = 0;
    int bestDistance = 0x7FFFFFFF;
    for (int i = 0; i < entries; ++i) {
        const DibRgbQuad& p = palette[static_cast<std::size_t>(i)];
        const int dr = c.red - p.red, dg = c.green - p.green, db = c.blue - p.blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace

int HistogramReduce(PixelRows rows, int colours, DibPalette& palette)
{
    const int wanted = colours < 1 ? 1 : (colours > 256 ? 256 : colours);
    std::uint8_t masks[3] = {0xFF, 0xFF, 0xFF};
    ColorHistogram histogram;
    while (!histogram.Count(rows, masks))
        CoarsenMask(masks);
    std::vector<HistogramColor>& colors = histogram.Colors();
    const int taken = TakeMostFrequent(colors, wanted, palette);
    for (HistogramColor& c : colors) {
        if (c.index < 0)
            c.index = NearestEntry(c, palette, taken);
    }
    int lastIndex = 0;
    std::uint32_t lastKey = 0xFFFFFFFF;
    MapPixels(rows, [&](std::uint8_t b, std::uint8_t g, std::uint8_t r, int, int) {
        const std::uint8_t mb = b & masks[0], mg = g & masks[1], mr = r & masks[2];
        const std::uint32_t key = static_cast<std::uint32_t>(mb | mg << 8 | mr << 16);
        if (key != lastKey) {
            lastIndex = colors[static_cast<std::size_t>(histogram.Find(mb, mg, mr, false))].index;
            lastKey = key;
        }
        return static_cast<std::uint8_t>(lastIndex);
    });
    return taken;
}

// ---- Median cut ----

namespace {

constexpr int kCutColors = 4096;
constexpr int kMaxBoxes = 256;

struct CutColor {
    std::uint8_t channel[3]; // red, green, blue high nibbles
    std::uint32_t count;
    std::uint8_t box;
};

struct ColorBox {
    int lower[3];
    int extent[3];
    int first; // into the sort list
    int colors;
    std::uint32_t pixels;
};

class MedianCut {
public:
    explicit MedianCut(PixelRows rows) : rows_(rows), table_(kCutColors)
    {
        for (int c = 0; c < kCutColors; ++c)
            table_[c] = CutColor{{static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>((c >> 4) & 15),
                                  static_cast<std::uint8_t>(c & 15)},
                                 0, 0};
        pixels_.reserve(static_cast<std::size_t>(rows.width) * static_cast<std::size_t>(rows.height));
        VisitPixels(rows, [&](std::uint8_t b, std::uint8_t g, std::uint8_t r) {
            const auto color = static_cast<std::uint16_t>((r >> 4) << 8 | (g >> 4) << 4 | (b >> 4));
            pixels_.push_back(color);
            ++table_[color].count;
        });
        ColorBox first{{0, 0, 0}, {255, 255, 255}, 0, 0, 0};
        for (int c = 0; c < kCutColors; ++c) {
            if (table_[c].count > 0) {
                order_.push_back(static_cast<std::uint16_t>(c));
                first.pixels += table_[c].count;
            }
        }
        first.colors = static_cast<int>(order_.size());
        boxes_.push_back(first);
    }

    int Reduce(DibPalette& palette)
    {
        while (static_cast<int>(boxes_.size()) < kMaxBoxes && SplitWidest()) {
        }
        MakePalette(palette);
        std::size_t p = 0;
        MapPixels(rows_, [&](std::uint8_t, std::uint8_t, std::uint8_t, int, int) { return table_[pixels_[p++]].box; });
        return static_cast<int>(boxes_.size());
    }

private:
    int Value(std::uint16_t color, int channel) const { return table_[color].channel[channel]; }

    bool SplitWidest()
    {
        int bestBox = -1, bestChannel = 0, bestExtent = -1;
        for (std::size_t b = 0; b < boxes_.size(); ++b) {
            if (boxes_[b].colors <= 1)
                continue;
            for (int ch = 0; ch < 3; ++ch) {
                if (boxes_[b].extent[ch] > bestExtent) {
                    bestExtent = boxes_[b].extent[ch];
                    bestBox = static_cast<int>(b);
                    bestChannel = ch;
                }
            }
        }
        if (bestBox < 0)
            return false;
        Split(static_cast<std::size_t>(bestBox), bestChannel);
        return true;
    }

    void Split(std::size_t index, int channel)
    {
        ColorBox& box = boxes_[index];
        Sort(box.first, box.first + box.colors - 1, channel);
        const std::uint32_t half = box.pixels / 2;
        int firstPart = 1;
        std::uint32_t sum = table_[order_[static_cast<std::size_t>(box.first)]].count;
        while (firstPart < box.colors - 1) {
            const std::uint32_t next = table_[order_[static_cast<std::size_t>(box.first + firstPart)]].count;
            if (sum + next > half)
                break;
            sum += next;
            ++firstPart;
        }
        ColorBox second = box;
        second.first = box.first + firstPart;
        second.colors = box.colors - firstPart;
        second.pixels = box.pixels - sum;
        const int upper = box.lower[channel] + box.extent[channel];
        second.lower[channel] = Value(order_[static_cast<std::size_t>(second.first)], channel) * 16;
        second.extent[channel] = upper - second.lower[channel];
        box.colors = firstPart;
        box.pixels = sum;
        box.extent[channel] = Value(order_[static_cast<std::size_t>(second.first - 1)], channel) * 16 - box.lower[channel];
        boxes_.push_back(second);
    }

    // Middle-pivot quicksort with Hoare partitioning; short ranges by
    // insertion, each colour moved before the equal or larger ones.
    void Sort(int low, int high, int channel)
    {
        while (high - low + 1 >= 8) {
            int i = low, j = high;
            const int pivot = Value(order_[static_cast<std::size_t>((low + high) / 2)], channel);
            do {
                while (Value(order_[static_cast<std::size_t>(i)], channel) < pivot)
                    ++i;
                while (Value(order_[static_cast<std::size_t>(j)], channel) > pivot)
                    --j;
                if (i <= j) {
                    std::swap(order_[static_cast<std::size_t>(i)], order_[static_cast<std::size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (low < j)
                Sort(low, j, channel);
            low = i;
        }
        for (int i = low + 1; i <= high; ++i) {
            const std::uint16_t moving = order_[static_cast<std::size_t>(i)];
            int j = i;
            while (j > low && Value(order_[static_cast<std::size_t>(j - 1)], channel) >= Value(moving, channel)) {
                order_[static_cast<std::size_t>(j)] = order_[static_cast<std::size_t>(j - 1)];
                --j;
            }
            order_[static_cast<std::size_t>(j)] = moving;
        }
    }

    void MakePalette(DibPalette& palette)
    {
        palette.fill(DibRgbQuad{});
        for (std::size_t k = 0; k < boxes_.size(); ++k) {
            const ColorBox& box = boxes_[k];
            if (box.colors == 0)
                continue;
            int sums[3] = {0, 0, 0};
            for (int i = 0; i < box.colors; ++i) {
                const std::uint16_t color = order_[static_cast<std::size_t>(box.first + i)];
                table_[color].box = static_cast<std::uint8_t>(k);
                for (int ch = 0; ch < 3; ++ch)
                    sums[ch] += Value(color, ch) * 16 + 15;
            }
            int mean[3];
            for (int ch = 0; ch < 3; ++ch)
                mean[ch] = sums[ch] / box.colors;
            if (mean[0] > 16 || mean[1] > 16 || mean[2] > 16)
                palette[k] = Quad(mean[0], mean[1], mean[2]);
        }
    }

    PixelRows rows_;
    std::vector<CutColor> table_;
    std::vector<std::uint16_t> pixels_;
    std::vector<std::uint16_t> order_;
    std::vector<ColorBox> boxes_;
};

} // namespace

int MedianCutReduce(PixelRows rows, DibPalette& palette)
{
    return MedianCut(rows).Reduce(palette);
}

// ---- Fixed palettes ----

namespace {

void FillRemainingGrey(DibPalette& palette, int from)
{
    for (int i = from; i < 256; ++i)
        palette[static_cast<std::size_t>(i)] = Quad(128, 128, 128, 128);
}

} // namespace

void Trunc784Reduce(PixelRows rows, DibPalette& palette)
{
    for (int r = 0; r < 7; ++r)
        for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b)
                palette[static_cast<std::size_t>(r * 32 + g * 4 + b)] =
                    Quad(ColorLevels::seven[r], ColorLevels::eight[g], ColorLevels::four[b]);
    FillRemainingGrey(palette, 224);
    MapPixels(rows, [](std::uint8_t b, std::uint8_t g, std::uint8_t r, int, int) {
        return static_cast<std::uint8_t>(kNearest7[r] * 32 + kNearest8[g] * 4 + kNearest4[b]);
    });
}

void Trunc666Reduce(PixelRows rows, DibPalette& palette)
{
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette[static_cast<std::size_t>(r * 36 + g * 6 + b)] =
                    Quad(ColorLevels::six[r], ColorLevels::six[g], ColorLevels::six[b]);
    FillRemainingGrey(palette, 216);
    MapPixels(rows, [](std::uint8_t b, std::uint8_t g, std::uint8_t r, int, int) {
        return static_cast<std::uint8_t>(kNearest6[r] * 36 + kNearest6[g] * 6 + kNearest6[b]);
    });
}

void TripelReduce(PixelRows rows, DibPalette& palette)
{
    palette.fill(DibRgbQuad{});
    for (int k = 0; k < 64; ++k) {
        palette[static_cast<std::size_t>(k)] = Quad(4 * k, 0, 0);
        palette[static_cast<std::size_t>(64 + k)] = Quad(0, 4 * k, 0);
        palette[static_cast<std::size_t>(128 + k)] = Quad(0, 0, 4 * k);
    }
    MapPixels(rows, [](std::uint8_t b, std::uint8_t g, std::uint8_t r, int x, int y) {
        switch ((x + y) % 3) {
        case 0:
            return static_cast<std::uint8_t>(r / 4);
        case 1:
            return static_cast<std::uint8_t>(64 + g / 4);
        default:
            return static_cast<std::uint8_t>(128 + b / 4);
        }
    });
}

void GrayscaleReduce(PixelRows rows, DibPalette& palette)
{
    for (int i = 0; i < 256; ++i)
        palette[static_cast<std::size_t>(i)] = Quad(i, i, i);
    MapPixels(rows, [](std::uint8_t b, std::uint8_t g, std::uint8_t r, int, int) {
        return static_cast<std::uint8_t>((77 * r + 150 * g + 29 * b) >> 8);
    });
}

void WriteReducedImage(TStream& stream, PixelRows rows, TMappingMethod method)
{
    BitmapInfoHeader header = MakeBitmapInfoHeader(rows.width, rows.height, 8);
    DibPalette palette{};
    switch (method) {
    case mmHistogram:
        HistogramReduce(rows, 256, palette);
        break;
    case mmQuantize:
        header.clrImportant = static_cast<std::uint32_t>(MedianCutReduce(rows, palette));
        break;
    case mmTrunc784:
        Trunc784Reduce(rows, palette);
        header.clrImportant = 224;
        break;
    case mmTrunc666:
        Trunc666Reduce(rows, palette);
        header.clrImportant = 216;
        break;
    case mmTripel:
        TripelReduce(rows, palette);
        break;
    case mmGrayscale:
        GrayscaleReduce(rows, palette);
        break;
    }
    WriteBitmapFileImage(stream, header, palette.data(), rows.bits);
}
