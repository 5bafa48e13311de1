// Build tool: draws a picture from a description over the project's pixel
// art (app/art: palette.txt and picture grids) and writes it through the
// program's own GIF writer, as the picture holder stores it: the class name
// "TGIFImage" as a counted string, an int32 length, the GIF file.
//
//     GifFromArt <art folder> <description.txt> <output>
//
// The description's commands (one a line, "#" starts a comment):
//     size W H                          the canvas
//     gradient TOP BOTTOM LEVELS        the canvas shaded top to bottom
//     band X Y W H COLOUR               a filled rectangle
//     picture NAME X Y SCALE            an art picture's opaque pixels, enlarged
// Colours are RRGGBB. The picture has one frame and a 256-colour table.
#include "BitmapFileImage.h"
#include "GifBitmapImage.h"
#include "GifData.h"
#include "GifWriter.h"
#include "Streams.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Rgb = std::uint32_t; // 0xRRGGBB

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    void Set(int x, int y, Rgb colour)
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            throw std::runtime_error("a pixel falls outside the canvas");
        pixels[static_cast<std::size_t>(y * width + x)] = colour;
    }
};

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

Rgb ParseColour(const std::string& text) { return static_cast<Rgb>(std::stoul(text, nullptr, 16)); }

std::map<char, Rgb> ReadPalette(const std::string& art)
{
    std::map<char, Rgb> palette;
    for (const std::string& line : Lines(art + "/palette.txt")) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string key, colour;
        fields >> key >> colour;
        palette[key[0]] = ParseColour(colour);
    }
    return palette;
}

// A picture's grid rows: lines without a blank that are not comments.
std::vector<std::string> ReadGrid(const std::string& art, const std::string& name)
{
    std::vector<std::string> rows;
    for (const std::string& line : Lines(art + "/" + name + ".txt")) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.find(' ') != std::string::npos)
            throw std::runtime_error(name + ": only plain grids can be drawn");
        rows.push_back(line);
    }
    return rows;
}

Canvas Draw(const std::string& art, const std::string& description)
{
    const auto palette = ReadPalette(art);
    Canvas canvas;
    for (const std::string& line : Lines(description)) {
        std::istringstream fields(line);
        std::string command;
        if (!(fields >> command) || command[0] == '#')
            continue;
        if (command == "size") {
            fields >> canvas.width >> canvas.height;
            canvas.pixels.assign(static_cast<std::size_t>(canvas.width * canvas.height), 0xFFFFFF);
        } else if (command == "gradient") {
            std::string top, bottom;
            int levels = 0;
            fields >> top >> bottom >> levels;
            const Rgb a = ParseColour(top), b = ParseColour(bottom);
            for (int y = 0; y < canvas.height; ++y) {
                const int level = y * levels / canvas.height;
                Rgb colour = 0;
                for (int shift : {16, 8, 0}) {
                    const int from = static_cast<int>((a >> shift) & 0xFF), to = static_cast<int>((b >> shift) & 0xFF);
                    colour |= static_cast<Rgb>(from + (to - from) * level / (levels - 1)) << shift;
                }
                for (int x = 0; x < canvas.width; ++x)
                    canvas.Set(x, y, colour);
            }
        } else if (command == "band") {
            int x, y, w, h;
            std::string colour;
            fields >> x >> y >> w >> h >> colour;
            for (int row = y; row < y + h; ++row)
                for (int column = x; column < x + w; ++column)
                    canvas.Set(column, row, ParseColour(colour));
        } else if (command == "picture") {
            std::string name;
            int x, y, scale;
            fields >> name >> x >> y >> scale;
            const auto rows = ReadGrid(art, name);
            for (std::size_t row = 0; row < rows.size(); ++row) {
                for (std::size_t column = 0; column < rows[row].size(); ++column) {
                    const char key = rows[row][column];
                    if (key == '.')
                        continue;
                    const auto found = palette.find(key);
                    if (found == palette.end())
                        throw std::runtime_error(name + ": colour '" + std::string(1, key) + "' is not in the palette");
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            canvas.Set(x + static_cast<int>(column) * scale + dx,
                                       y + static_cast<int>(row) * scale + dy, found->second);
                }
            }
        } else {
            throw std::runtime_error("unknown command: " + command);
        }
    }
    return canvas;
}

// The canvas as an 8-bit bitmap file image with a 256-entry table: the
// colours in order of first use, the rest black.
std::string IndexedBitmap(const Canvas& canvas)
{
    std::map<Rgb, int> indices;
    std::vector<DibRgbQuad> table(256);
    const BitmapInfoHeader header = MakeBitmapInfoHeader(canvas.width, canvas.height, 8);
    const auto rowSize = DibRowSize(canvas.width, 8);
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(rowSize * canvas.height), 0);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Rgb colour = canvas.pixels[static_cast<std::size_t>(y * canvas.width + x)];
            auto [found, added] = indices.emplace(colour, static_cast<int>(indices.size()));
            if (added) {
                if (found->second > 255)
                    throw std::runtime_error("the picture has more than 256 colours");
                table[static_cast<std::size_t>(found->second)] =
                    DibRgbQuad{static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                               static_cast<std::uint8_t>(colour >> 16), 0};
            }
            bits[static_cast<std::size_t>((canvas.height - 1 - y) * rowSize + x)] =
                static_cast<std::uint8_t>(found->second);
        }
    }
    TStringStream stream;
    WriteBitmapFileImage(stream, header, table.data(), bits.data());
    return stream.DataString();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: GifFromArt <art folder> <description.txt> <output>\n");
        return 2;
    }
    try {
        const Canvas canvas = Draw(argv[1], argv[2]);
        GifImageData image;
        image.frames.push_back(image.CreateFrameData());
        EncodeGifBitmapImage(image, *image.frames[0], IndexedBitmap(canvas), nullptr);
        image.header->colorResolution = 8;
        const std::string gif = WriteGifData(image);
        std::string stored;
        stored.push_back(9);
        stored += "TGIFImage";
        const auto length = static_cast<std::uint32_t>(gif.size());
        for (int i = 0; i < 4; ++i)
            stored.push_back(static_cast<char>(length >> (8 * i)));
        stored += gif;
        std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
        out.write(stored.data(), static_cast<std::streamsize>(stored.size()));
        if (!out)
            throw std::runtime_error(std::string("cannot write ") + argv[3]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "GifFromArt: %s\n", error.what());
        return 1;
    }
    return 0;
}
