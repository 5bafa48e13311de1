// Times the GIF picture: decoding a large picture into its bitmap and every
// frame of an animation, encoding a screen-sized frame, writing a read file
// back, and the splash window from its resource to the painted window; and
// the memory a large decode takes beyond the file.

#include "BenchReport.h"
#include "BitmapFileImage.h"
#include "GIFImage.h"
#include "GifBitmapImage.h"
#include "GifData.h"
#include "GifLzw.h"
#include "GifWriter.h"
#include "Splash.h"
#include "Streams.h"

#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int Runs = 5;

// An 8-bit picture with noise over bands: hard enough for LZW that a
// 4,000 x 3,000 picture codes to about 8 MB.
std::vector<std::uint8_t> Pixels(int width, int height, int seed)
{
    std::mt19937 random(static_cast<unsigned>(seed));
    const auto row = static_cast<std::size_t>(DibRowSize(width, 8));
    std::vector<std::uint8_t> bits(row * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bits[static_cast<std::size_t>(y) * row + static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(((x / 5 + y / 7 + seed) & 0xF0) | (random() & 0x07));
    return bits;
}

std::string BitmapImage(int width, int height, const std::vector<std::uint8_t>& bits)
{
    std::vector<DibRgbQuad> table(256);
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] =
            DibRgbQuad{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3), 0};
    TStringStream stream;
    WriteBitmapFileImage(stream, MakeBitmapInfoHeader(width, height, 8), table.data(), bits.data());
    return stream.DataString();
}

// A GIF file of `frames` frames of the size, written by the program's writer.
std::string GifFile(int width, int height, int frames)
{
    GifImageData image;
    for (int i = 0; i < frames; ++i) {
        image.frames.push_back(image.CreateFrameData());
        EncodeGifBitmapImage(image, *image.frames.back(), BitmapImage(width, height, Pixels(width, height, i)),
                             nullptr);
    }
    return WriteGifData(image);
}

std::int64_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return static_cast<std::int64_t>(counters.PagefileUsage);
}

void LargePicture()
{
    const int width = 4000, height = 3000;
    const std::string file = GifFile(width, height, 1);
    std::printf("a %d x %d 256-colour picture: %.1f MB\n", width, height, file.size() / 1048576.0);
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        TGIFImage image;
        TStringStream stream(file);
        const auto start = BenchClock::now();
        image.LoadFromStream(stream);
        runs.push_back(MillisecondsSince(start));
    }
    Report("decode a 4,000 x 3,000 GIF into its bitmap", Best(runs), 300);

    // The memory the decode holds beyond the file, sampled as it goes.
    {
        TGIFImage image;
        TStringStream stream(file);
        const std::int64_t before = PrivateBytes();
        std::int64_t peak = before;
        image.OnProgressStage = [&](TGIFImage&, TProgressStage, int, const std::string&) {
            peak = std::max(peak, PrivateBytes());
        };
        image.LoadFromStream(stream);
        peak = std::max(peak, PrivateBytes());
        const double bitmap = static_cast<double>(DibImageSize(width, height, 8));
        const double allowed = static_cast<double>(file.size()) + 2 * bitmap;
        Report("memory that decode takes, in MB (file + 2 x bitmap)", static_cast<double>(peak - before) / 1048576.0,
               allowed / 1048576.0, "MB");
    }

    TGIFImage image;
    TStringStream stream(file);
    image.LoadFromStream(stream);
    runs.clear();
    for (int run = 0; run < Runs; ++run) {
        TMemoryStream written;
        const auto start = BenchClock::now();
        image.SaveToStream(written);
        runs.push_back(MillisecondsSince(start));
    }
    Report("write that picture back", Best(runs), 100);
}

void Animation()
{
    const std::string file = GifFile(640, 480, 100);
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        TGIFImage image;
        TStringStream stream(file);
        image.ReadStream(static_cast<std::int64_t>(file.size()), stream, false);
        const auto start = BenchClock::now();
        image.DecodeAllFrames();
        runs.push_back(MillisecondsSince(start));
    }
    Report("decode every frame of a 100-frame 640 x 480 animation", Best(runs), 800);
}

void Encoding()
{
    const std::string bitmap = BitmapImage(1920, 1080, Pixels(1920, 1080, 3));
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        GifImageData image;
        image.frames.push_back(image.CreateFrameData());
        const auto start = BenchClock::now();
        EncodeGifBitmapImage(image, *image.frames[0], bitmap, nullptr);
        runs.push_back(MillisecondsSince(start));
    }
    Report("encode a 1,920 x 1,080 8-bit frame", Best(runs), 150);
}

void SplashWindow()
{
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        const auto start = BenchClock::now();
        ShowSplash();
        GdiFlush();
        runs.push_back(MillisecondsSince(start));
        CloseSplash();
    }
    Report("the splash from its resource to the painted window", Best(runs), 20);
}

} // namespace

int main()
{
    LargePicture();
    Animation();
    Encoding();
    SplashWindow();
    return 0;
}
