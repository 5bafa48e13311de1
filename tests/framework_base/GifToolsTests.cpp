// The GIF codec checked against independent readers and writers of the
// format installed on the machine (giflib's gifbuild and giftext, netpbm's
// giftopnm and pamtogif, gifsicle, ImageMagick). The corpus is made at test
// time; the GIFs that installed packages ship are read where they lie. A
// missing tool skips what needs it.

#if !defined(_WIN32)

#include "GifLzw.h"
#include "GifPixels.h"
#include "GifTestFiles.h"
#include "GifWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

using namespace giftest;
namespace fs = std::filesystem;

namespace {

bool HasTool(const std::string& name)
{
    static std::map<std::string, bool> known;
    const auto found = known.find(name);
    if (found != known.end())
        return found->second;
    return known[name] = std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of a shell command; empty when it fails.
std::string Shell(const std::string& command)
{
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 65536> buffer;
    std::size_t read;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), read);
    return pclose(pipe) == 0 ? out : std::string();
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

// The tools' readings of the files, made by one shell for all of them (a
// process started from a sanitized test is slow to start): beside each file,
// giftopnm's images (".pnm"), gifbuild's dump (".dump"), giftext's screen
// line (".screen").
void RunTools(const std::vector<fs::path>& files)
{
    std::string script = "for f in";
    for (const fs::path& file : files)
        script += " " + Quote(file);
    script += "; do giftopnm -image=all \"$f\" > \"$f.pnm\" 2>/dev/null || rm -f \"$f.pnm\";"
              " gifbuild -d \"$f\" > \"$f.dump\" 2>/dev/null;"
              " giftext \"$f\" 2>/dev/null | grep 'Screen Size' > \"$f.screen\"; done";
    Shell(script);
}

std::string Beside(const fs::path& file, const char* extension)
{
    return ReadFile(file.string() + extension);
}

// Every image of giftopnm's output as RGB triples.
std::vector<std::vector<std::uint32_t>> ToolColours(const fs::path& file)
{
    const std::string out = Beside(file, ".pnm");
    std::vector<std::vector<std::uint32_t>> images;
    std::size_t at = 0;
    while (at + 2 < out.size() && out[at] == 'P') {
        const char kind = out[at + 1];
        std::istringstream header(out.substr(at + 2, 64));
        int width = 0, height = 0, maximum = 1;
        header >> width >> height;
        if (kind != '4')
            header >> maximum;
        at += 2 + static_cast<std::size_t>(header.tellg()) + 1;
        std::vector<std::uint32_t> pixels;
        const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(out[at + i]); };
        if (kind == '4') {
            const std::size_t row = (static_cast<std::size_t>(width) + 7) / 8;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    pixels.push_back((byte(y * row + x / 8) >> (7 - x % 8)) & 1 ? 0 : 0xFFFFFF);
            at += row * static_cast<std::size_t>(height);
        } else if (kind == '5') {
            for (std::size_t i = 0; i < static_cast<std::size_t>(width * height); ++i)
                pixels.push_back(byte(i) * 0x010101u);
            at += static_cast<std::size_t>(width * height);
        } else {
            for (std::size_t i = 0; i < static_cast<std::size_t>(width * height); ++i)
                pixels.push_back(std::uint32_t{byte(3 * i)} << 16 | std::uint32_t{byte(3 * i + 1)} << 8 | byte(3 * i + 2));
            at += static_cast<std::size_t>(width * height) * 3;
        }
        images.push_back(std::move(pixels));
    }
    return images;
}

// Every image of gifbuild's dump as indices (tables of 62 colours or fewer).
std::vector<std::vector<int>> ToolIndices(const fs::path& file)
{
    static const std::string keys = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::istringstream dump(Beside(file, ".dump"));
    std::vector<std::vector<int>> images;
    std::string line;
    int width = 0, height = 0;
    while (std::getline(dump, line)) {
        if (std::sscanf(line.c_str(), "image bits %d by %d", &width, &height) != 2)
            continue;
        std::vector<int> pixels;
        for (int y = 0; y < height && std::getline(dump, line); ++y)
            for (char key : line)
                pixels.push_back(static_cast<int>(keys.find(key)));
        images.push_back(std::move(pixels));
    }
    return images;
}

std::uint32_t Rgb(const TGIFColorTable& table, int index)
{
    const TGIFColorItem item = index < 256 ? table.colors[static_cast<std::size_t>(index)] : TGIFColorItem{};
    return std::uint32_t{item.red} << 16 | std::uint32_t{item.green} << 8 | item.blue;
}

// Our reading agrees with the tools' on every frame: indices and colours.
void ExpectToolsAgree(const fs::path& file)
{
    SCOPED_TRACE(file.string());
    GifImageData image;
    ReadGifData(image, ReadFile(file));
    const auto colours = ToolColours(file);
    ASSERT_EQ(colours.size(), image.frames.size());
    const auto indices = ToolIndices(file);
    for (std::size_t i = 0; i < image.frames.size(); ++i) {
        GifFrameData& frame = *image.frames[i];
        const auto pixels = FramePixels(frame);
        ASSERT_EQ(pixels.size(), colours[i].size()) << "frame " << i;
        std::vector<std::uint32_t> ours;
        for (int index : pixels)
            ours.push_back(Rgb(frame.raster->colorTable, index));
        EXPECT_EQ(ours, colours[i]) << "frame " << i;
        if (frame.raster->colorTable.count <= 62 && indices.size() == image.frames.size()) {
            EXPECT_EQ(pixels, indices[i]) << "frame " << i;
        }
    }
}

// The corpus is made once for the suite: the tools take their time.
class GifTools : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!HasTool("giftopnm") || !HasTool("gifbuild"))
            return;
        char pattern[] = "/tmp/quillo-gif-XXXXXX";
        folder_ = mkdtemp(pattern);
        corpus_ = MakeCorpus();
    }
    static void TearDownTestSuite()
    {
        if (!folder_.empty())
            fs::remove_all(folder_);
        folder_.clear();
    }
    void SetUp() override
    {
        if (folder_.empty())
            GTEST_SKIP() << "giftopnm or gifbuild is not installed";
    }
    static std::vector<fs::path> Corpus() { return corpus_; }
    // A picture of `colours` colours as a PPM file.
    static fs::path Ppm(const std::string& name, int width, int height, int colours, unsigned seed)
    {
        std::mt19937 random(seed);
        std::vector<std::uint32_t> palette;
        for (int i = 0; i < colours; ++i)
            palette.push_back(random() & 0xFFFFFF);
        std::string bytes = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        for (int i = 0; i < width * height; ++i) {
            const std::uint32_t colour = palette[static_cast<std::size_t>(i < colours ? i : random() % colours)];
            bytes += static_cast<char>(colour >> 16);
            bytes += static_cast<char>(colour >> 8);
            bytes += static_cast<char>(colour);
        }
        const fs::path path = folder_ / (name + ".ppm");
        WriteFile(path, bytes);
        return path;
    }
    static fs::path Made(const std::string& name, const std::string& command)
    {
        const fs::path path = folder_ / name;
        Shell(command + " > " + Quote(path));
        return fs::exists(path) && fs::file_size(path) > 0 ? path : fs::path();
    }
    static std::vector<fs::path> MakeCorpus()
    {
        std::vector<fs::path> files;
        const auto add = [&](const fs::path& path) {
            if (!path.empty())
                files.push_back(path);
        };
        if (HasTool("pamtogif")) {
            int n = 0;
            for (auto [width, height, colours] : {std::tuple{37, 23, 2}, std::tuple{1, 1, 1}, std::tuple{9, 5, 3},
                                                  std::tuple{31, 17, 16}, std::tuple{33, 9, 17},
                                                  std::tuple{64, 40, 100}, std::tuple{120, 90, 256}}) {
                const fs::path ppm = Ppm("p" + std::to_string(n), width, height, colours, static_cast<unsigned>(n));
                add(Made("pam" + std::to_string(n) + ".gif", "pamtogif " + Quote(ppm)));
                add(Made("pami" + std::to_string(n++) + ".gif", "pamtogif -interlace " + Quote(ppm)));
            }
        }
        if (HasTool("gifsicle") && files.size() > 4) {
            add(Made("sicle-anim.gif", "gifsicle --loopcount=3 --delay 10 --disposal background --comment hello " +
                                           Quote(files[0]) + " " + Quote(files[4]) + " " + Quote(files[8])));
            add(Made("sicle-interlaced.gif", "gifsicle --interlace --transparent '#000000' " + Quote(files[6])));
            add(Made("sicle-local.gif", "gifsicle " + Quote(files[2]) + " " + Quote(files[10]) + " " +
                                            Quote(files[12])));
        }
        if (HasTool("convert")) {
            const fs::path a = Ppm("im-a", 45, 21, 40, 90), b = Ppm("im-b", 45, 21, 7, 91);
            // One run: the program takes its time to start.
            add(Made("im-anim.gif", "convert -delay 20 -loop 0 " + Quote(a) + " " + Quote(b) +
                                        " -transparent black -interlace GIF gif:-"));
        }
        // The tests' literal coder: no leading clear, code sizes below and
        // above the table's bits.
        CodeStream noClear(3);
        for (int pixel : {0, 1, 2, 3, 4, 5, 6, 7})
            noClear.Literal(pixel);
        noClear.End();
        const auto pattern = [](int count, int modulo) {
            std::vector<int> pixels;
            for (int i = 0; i < count; ++i)
                pixels.push_back((i * 5 + i / 7) % modulo);
            return pixels;
        };
        WriteFile(folder_ / "lit-noclear.gif",
                  ScreenHeader(8, 1, 3) + ImageBlock(0, 0, 8, 1, noClear.Raster()) + ";");
        WriteFile(folder_ / "lit-small.gif",
                  ScreenHeader(13, 7, 8) + ImageBlock(0, 0, 13, 7, LiteralRaster(2, pattern(91, 4))) + ";");
        WriteFile(folder_ / "lit-large.gif",
                  ScreenHeader(13, 7, 2) + ImageBlock(0, 0, 13, 7, LiteralRaster(6, pattern(91, 4))) + ";");
        add(folder_ / "lit-noclear.gif");
        add(folder_ / "lit-small.gif");
        add(folder_ / "lit-large.gif");
        return files;
    }
    static inline fs::path folder_;
    static inline std::vector<fs::path> corpus_;
};

// Copies into the folder, where the tools' readings can lie beside them.
std::vector<fs::path> ShippedGifs(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const char* root : {"/usr/share/doc", "/usr/share/tcltk", "/usr/share/pixmaps", "/usr/share/cmake"}) {
        for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
             it != end && files.size() < 80; it.increment(error)) {
            if (error)
                break;
            if (it->is_regular_file() && it->path().extension() == ".gif") {
                const fs::path copy = folder / ("shipped" + std::to_string(files.size()) + ".gif");
                fs::copy_file(it->path(), copy, fs::copy_options::overwrite_existing, error);
                files.push_back(copy);
            }
        }
    }
    return files;
}

} // namespace

TEST_F(GifTools, EveryFrameOfEveryFileDecodesAsTheToolsDecodeIt)
{
    auto corpus = Corpus();
    EXPECT_GE(corpus.size(), 3u);
    for (const fs::path& shipped : ShippedGifs(folder_))
        corpus.push_back(shipped);
    RunTools(corpus);
    for (const fs::path& file : corpus) {
        // What netpbm itself refuses is no reference.
        if (fs::exists(file.string() + ".pnm"))
            ExpectToolsAgree(file);
    }
}

TEST_F(GifTools, FilesWrittenBackKeepRastersAndScreenAndReadAlike)
{
    auto corpus = Corpus();
    for (const fs::path& shipped : ShippedGifs(folder_))
        corpus.push_back(shipped);
    std::vector<fs::path> originals, copies;
    for (const fs::path& file : corpus) {
        GifImageData image;
        try {
            ReadGifData(image, ReadFile(file));
        } catch (const std::exception&) {
            continue; // refused by ours: checked against the tools above
        }
        if (image.frames.empty() || image.frames[0]->corrupted)
            continue;
        originals.push_back(file);
        copies.push_back(file.string() + ".written.gif");
        WriteFile(copies.back(), WriteGifData(image));
    }
    std::vector<fs::path> all = originals;
    all.insert(all.end(), copies.begin(), copies.end());
    RunTools(all);
    for (std::size_t n = 0; n < originals.size(); ++n) {
        const fs::path& file = originals[n];
        const fs::path& written = copies[n];
        SCOPED_TRACE(file.string());
        GifImageData image;
        ReadGifData(image, ReadFile(file));
        GifImageData again;
        ReadGifData(again, ReadFile(written));
        ASSERT_EQ(again.frames.size(), image.frames.size());
        for (std::size_t i = 0; i < image.frames.size(); ++i)
            EXPECT_EQ(again.frames[i]->raster->rasterData, image.frames[i]->raster->rasterData);
        if (HasTool("giftext")) {
            EXPECT_EQ(Beside(written, ".screen"), Beside(file, ".screen"));
        }
        EXPECT_EQ(ToolColours(written), ToolColours(file));
    }
}

TEST_F(GifTools, EncodedPicturesReadTheSameInEveryReader)
{
    for (int bitCount : {1, 4, 8}) {
        SCOPED_TRACE(bitCount);
        const int width = 300, height = 200, colours = 1 << bitCount;
        std::mt19937 random(static_cast<unsigned>(bitCount));
        std::string bitmap = "BM" + std::string(52, '\0');
        GifImageData image;
        image.frames.push_back(image.CreateFrameData());
        TGIFItem& raster = image.frames[0]->UniqueRaster();
        raster.width = width;
        raster.height = height;
        const std::int64_t rowSize = ((width * bitCount + 31) / 32) * 4;
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rowSize * height));
        std::vector<int> indices;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int value = static_cast<int>(random() % static_cast<unsigned>(colours));
                indices.push_back(value);
                std::uint8_t& byte = pixels[static_cast<std::size_t>((height - 1 - y) * rowSize + x * bitCount / 8)];
                byte |= static_cast<std::uint8_t>(value << (8 - bitCount - (x * bitCount) % 8));
            }
        }
        EncodeLzwRaster(raster.rasterData, GifPixelRows{pixels.data(), width, height, bitCount, false}, false, nullptr);
        raster.colorTable.count = colours;
        for (int i = 0; i < colours; ++i)
            raster.colorTable.colors[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i),
                                                                     static_cast<std::uint8_t>(255 - i),
                                                                     static_cast<std::uint8_t>(i * 7)};
        raster.bitsPerPixel = static_cast<std::uint8_t>(bitCount);
        image.header->colorTable = raster.colorTable;
        const fs::path file = folder_ / "encoded.gif";
        WriteFile(file, WriteGifData(image));
        RunTools({file});
        ExpectToolsAgree(file);
        EXPECT_EQ(FirstFramePixels(ReadFile(file)), indices);
    }
}

#endif
