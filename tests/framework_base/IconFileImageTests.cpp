#include "IconFileImage.h"

#include "AniBytes.h"
#include "Exceptions.h"
#include "IconEntryChoice.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace anibytes;

namespace {

std::string Hex(std::string_view bytes)
{
    std::string text;
    char digits[4];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

IconImageError Check(std::string_view bytes)
{
    IconDirectory directory;
    const IconImageError error = ReadIconDirectory(bytes, directory);
    if (error != IconImageError::None)
        return error;
    for (const IconDirEntry& entry : directory.entries) {
        IconImageParts parts;
        if (const IconImageError located = LocateIconImage(bytes, entry, parts); located != IconImageError::None)
            return located;
    }
    return IconImageError::None;
}

} // namespace

TEST(IconFileImage, WritesTheGoldenBytesOfASixteenColourIconAndReadsThemBack)
{
    const std::string bytes = IconFile({SolidPicture(32, 32)});
    ASSERT_EQ(bytes.size(), 6u + 16 + 40 + 64 + 512 + 128);
    EXPECT_EQ(Hex(bytes.substr(0, 22)), "000001000100"                       // reserved, icon, one entry
                                        "2020100001000400e802000016000000");  // 32 x 32, 16 colours, 744 bytes at 22
    EXPECT_EQ(Hex(bytes.substr(22, 40)), "28000000200000004000000001000400"   // header, width, height x 2, 4 bits
                                         "00000000800200000000000000000000"   // 640 bytes of bits
                                         "0000000000000000");
    EXPECT_EQ(Hex(bytes.substr(62, 8)), "0000000000008000"); // black, then the picture's red

    IconDirectory directory;
    ASSERT_EQ(ReadIconDirectory(bytes, directory), IconImageError::None);
    ASSERT_EQ(directory.entries.size(), 1u);
    IconImageParts parts;
    ASSERT_EQ(LocateIconImage(bytes, directory.entries[0], parts), IconImageError::None);
    EXPECT_EQ(parts.width, 32);
    EXPECT_EQ(parts.height, 32);
    EXPECT_EQ(parts.colorCount, 16);
    EXPECT_EQ(parts.colorBits.size(), 512u);
    EXPECT_EQ(parts.colorBits.find_first_not_of('\x11'), std::string_view::npos);
    EXPECT_EQ(parts.maskBits.size(), 128u);
    EXPECT_EQ(parts.maskBits.data() + parts.maskBits.size(), bytes.data() + bytes.size());
}

TEST(IconFileImage, RefusesEveryCutAndEveryHostileField)
{
    const std::string good = IconFile({SolidPicture(16, 16, 8), SolidPicture(32, 32, 24)});
    ASSERT_EQ(Check(good), IconImageError::None);
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_NE(Check(std::string_view(good).substr(0, length)), IconImageError::None) << length;

    const std::size_t image = static_cast<std::uint8_t>(good[18]) | static_cast<std::uint8_t>(good[19]) << 8;
    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        int width;
        IconImageError expected;
    };
    const Case cases[] = {
        {"no entry", 4, 0, 2, IconImageError::BadDirectory},
        {"count beyond the data", 4, 0xFFFF, 2, IconImageError::Truncated},
        {"offset past the end", 6 + 12, 0xFFFFFFF0, 4, IconImageError::Truncated},
        {"size past the end", 6 + 8, 0xFFFFFFFF, 4, IconImageError::Truncated},
        {"header under 40 bytes", image, 39, 4, IconImageError::BadImage},
        {"header beyond the image", image, 0x7FFFFFFF, 4, IconImageError::BadImage},
        {"zero width", image + 4, 0, 4, IconImageError::BadImage},
        {"negative height", image + 8, 0xFFFFFFE0, 4, IconImageError::BadImage},
        {"odd height", image + 8, 31, 4, IconImageError::BadImage},
        {"depth of 2", image + 14, 2, 2, IconImageError::BadImage},
        {"compressed", image + 16, 1, 4, IconImageError::BadImage},
        {"rows beyond the image", image + 4, 0x10000, 4, IconImageError::Truncated},
        {"huge size that wraps in 32 bits", image + 4, 0x7FFFFFFF, 4, IconImageError::Truncated},
    };
    for (const Case& c : cases) {
        std::string bad = good;
        for (int i = 0; i < c.width; ++i)
            bad[c.at + static_cast<std::size_t>(i)] = static_cast<char>(c.value >> (8 * i));
        EXPECT_EQ(Check(bad), c.expected) << c.what;
    }

    std::string png = good;
    png.replace(image, 8, std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(Check(png), IconImageError::Png);
    TMemoryStream unwritten;
    EXPECT_THROW(WriteIconFileImage(unwritten, {SolidPicture(16, 16, 3)}), EInvalidArgument);
}

TEST(IconEntryChoice, PicksTheExactMatchElseTheRichestTheScreenShows)
{
    EXPECT_EQ(ScreenColorValue(1, 24), 0);
    EXPECT_EQ(ScreenColorValue(1, 16), 0);
    EXPECT_EQ(ScreenColorValue(1, 32), 1);
    EXPECT_EQ(ScreenColorValue(1, 8), 256);
    EXPECT_EQ(ScreenColorValue(4, 1), 16);
    EXPECT_EQ(ScreenColorValue(1, 15), 32768);

    auto entries = [](std::initializer_list<int> counts) {
        std::vector<IconDirEntry> list;
        for (int count : counts)
            list.push_back(IconDirEntry{32, 32, static_cast<std::uint8_t>(count), 0, 1, 4, 0, 0});
        return list;
    };
    struct Case {
        const char* what;
        std::vector<IconDirEntry> entries;
        std::uint16_t screen;
        std::size_t expected;
    };
    const Case cases[] = {
        {"exact match", entries({2, 16, 0}), 16, 1},
        {"32 bits (1): the first count at most 1", entries({16, 2, 0}), 1, 2},
        {"16 bits (0): the 0-count entry matches", entries({16, 0, 2}), 0, 1},
        {"each later count above the first candidate's replaces it", entries({2, 16, 8}), 256, 2},
        {"poorer later entries do not", entries({16, 2, 8}), 32, 0},
        {"no candidate: the first", entries({16, 2}), 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseIconEntry(c.entries, c.screen), c.expected) << c.what;
}

#ifndef _WIN32
// Multi-picture icons and cursors made by icoutils from netpbm pictures, and
// our own writer's output listed by icotool: what other tools write, we read,
// and what we write, they read. The tools run on the build host, so only the
// native build has this test.
class IconToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v icotool >/dev/null && command -v pnmtopng >/dev/null") != 0)
            FAIL() << "icotool and netpbm are missing: run scripts/setup.sh";
        folder_ = std::filesystem::temp_directory_path() /
                  ("icon-tools-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Run(const std::string& command)
    {
        const std::string full = "cd '" + folder_.string() + "' && " + command;
        std::string output;
        if (FILE* pipe = popen(full.c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, pipe))
                output += buffer;
            EXPECT_EQ(pclose(pipe), 0) << command;
        }
        return output;
    }
    std::string Read(const std::string& name)
    {
        std::ifstream file(folder_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    std::filesystem::path folder_;
};

TEST_F(IconToolsTest, ReadsWhatIcotoolWritesAndIcotoolListsWhatWeWrite)
{
    Run("ppmmake red 16 16 | pnmtopng > a.png && pgmramp -lr 48 48 | pgmtoppm white | pnmtopng > b.png && "
        "ppmmake rgb:10/20/30 32 32 | pnmtopng > c.png && "
        "icotool -c -o m.ico a.png b.png c.png && icotool -c --cursor -X 3 -Y 5 -o m.cur a.png b.png");
    for (const char* name : {"m.ico", "m.cur"}) {
        const std::string bytes = Read(name);
        IconDirectory directory;
        ASSERT_EQ(ReadIconDirectory(bytes, directory), IconImageError::None) << name;
        EXPECT_EQ(Check(bytes), IconImageError::None) << name;
        ASSERT_GE(directory.entries.size(), 2u);
        IconImageParts parts;
        ASSERT_EQ(LocateIconImage(bytes, directory.entries[1], parts), IconImageError::None);
        EXPECT_EQ(parts.width, 48);
        EXPECT_EQ(parts.height, 48);
    }
    const std::string cursor = Read("m.cur");
    EXPECT_EQ(cursor[2], 2);
    EXPECT_EQ(cursor[6 + 4], 3);
    EXPECT_EQ(cursor[6 + 6], 5);

    const std::string ours = IconFile({SolidPicture(16, 16, 4), SolidPicture(32, 32, 8), SolidPicture(48, 48, 32)});
    std::ofstream(folder_ / "ours.ico", std::ios::binary) << ours;
    EXPECT_EQ(Run("icotool -l ours.ico"),
              "--icon --index=1 --width=16 --height=16 --bit-depth=4 --palette-size=16\n"
              "--icon --index=2 --width=32 --height=32 --bit-depth=8 --palette-size=256\n"
              "--icon --index=3 --width=48 --height=48 --bit-depth=32 --palette-size=0\n");
    Run("icotool -x ours.ico");
    EXPECT_TRUE(std::filesystem::exists(folder_ / "ours_3_48x48x32.png"));
}
#endif
