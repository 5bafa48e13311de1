#include "AnsiStrings.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct PathCase {
    std::string path, name, folder, dir, ext;
};

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

int Upper(int value) { return static_cast<unsigned char>(AnsiUpperCase(Byte(value))[0]); }
int Lower(int value) { return static_cast<unsigned char>(AnsiLowerCase(Byte(value))[0]); }

} // namespace

TEST(AnsiStringsPaths, SplitsTrickyPaths)
{
    const PathCase cases[] = {
        {"C:\\a.b\\file", "file", "C:\\a.b\\", "C:\\a.b", ""},
        {"file.", "file.", "", "", "."},
        {"\\\\server\\share\\x.txt", "x.txt", "\\\\server\\share\\", "\\\\server\\share", ".txt"},
        {"C:name.txt", "name.txt", "C:", "C:", ".txt"},
        {"C:\\x.txt", "x.txt", "C:\\", "C:\\", ".txt"},
        {"C:\\dir\\", "", "C:\\dir\\", "C:\\dir", ""},
        {"archive.tar.gz", "archive.tar.gz", "", "", ".gz"},
        {"noext", "noext", "", "", ""},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFileName(c.path), c.name);
        EXPECT_EQ(ExtractFilePath(c.path), c.folder);
        EXPECT_EQ(ExtractFileDir(c.path), c.dir);
        EXPECT_EQ(ExtractFileExt(c.path), c.ext);
    }
}

TEST(AnsiStringsPaths, ChangesOnlyTheFileNamesExtension)
{
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\file", ".txt"), "C:\\a.b\\file.txt");
    EXPECT_EQ(ChangeFileExt("archive.tar.gz", ".zip"), "archive.tar.zip");
    EXPECT_EQ(ChangeFileExt("file.", ".x"), "file.x");
    EXPECT_EQ(ChangeFileExt("\\\\server\\share\\x.txt", ""), "\\\\server\\share\\x");
    EXPECT_EQ(ChangeFileExt("C:name.txt", ".ini"), "C:name.ini");
}

TEST(AnsiStringsPaths, TrailingBackslashIsAddedOrRemovedOnce)
{
    EXPECT_EQ(IncludeTrailingBackslash("C:\\a"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\a\\\\"), "C:\\a\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\a"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingBackslash(""), "");
}

TEST(AnsiStringsCase, EveryByteRoundTripsAndPairsAreOneToOne)
{
    int changedByUpper = 0;
    int changedByLower = 0;
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(Upper(Lower(Upper(b))), Upper(b));
        EXPECT_EQ(Lower(Upper(Lower(b))), Lower(b));
        if (Upper(b) != b) {
            ++changedByUpper;
            EXPECT_EQ(Lower(Upper(b)), b);
        }
        if (Lower(b) != b) {
            ++changedByLower;
            EXPECT_EQ(Upper(Lower(b)), b);
        }
    }
    // 26 ASCII letters, 30 in 0xE0-0xFE, and the four in the 0x80 block.
    EXPECT_EQ(changedByUpper, 60);
    EXPECT_EQ(changedByLower, 60);
}

TEST(AnsiStringsCase, MapsCodePage1252Letters)
{
    EXPECT_EQ(Upper(0xE9), 0xC9);
    EXPECT_EQ(Lower(0xC9), 0xE9);
    EXPECT_EQ(Upper(0xFF), 0x9F);
    EXPECT_EQ(Upper(0x9A), 0x8A);
    EXPECT_EQ(Lower(0x8C), 0x9C);
    EXPECT_EQ(Upper(0xF7), 0xF7);
    EXPECT_EQ(Lower(0xD7), 0xD7);
    EXPECT_EQ(Upper(0xDF), 0xDF);
    EXPECT_EQ(Upper(0xB5), 0xB5);
    EXPECT_EQ(AnsiUpperCase("caf\xE9"), "CAF\xC9");
}

TEST(AnsiStringsCase, AsciiCaseLeavesOtherLettersAlone)
{
    EXPECT_EQ(UpperCase("caf\xE9"), "CAF\xE9");
    EXPECT_EQ(LowerCase("CAF\xC9"), "caf\xC9");
}

TEST(AnsiStringsCompare, TextIgnoresCaseStrDoesNot)
{
    EXPECT_EQ(AnsiCompareText("\xC9t\xC9", "\xE9T\xE9"), 0);
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText("Hello", "Hell"));
    // Byte order would put 'B' before 'a'.
    EXPECT_GT(AnsiCompareText("B", "a"), 0);
    EXPECT_LT(AnsiCompareText("_", "a"), 0);
    EXPECT_LT(AnsiCompareText("ab", "ABC"), 0);
    EXPECT_LT(AnsiCompareStr("B", "a"), 0);
    EXPECT_GT(AnsiCompareStr("\xE9", "z"), 0);
    EXPECT_EQ(AnsiCompareStr("a", "a"), 0);
}

TEST(AnsiStringsNumbers, StrToIntAcceptsTheFullRangeAndHex)
{
    EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("0X10"), 16);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(IntToStr(INT_MIN), "-2147483648");
    EXPECT_EQ(IntToStr(std::int64_t{-9000000000}), "-9000000000");
}

TEST(AnsiStringsNumbers, StrToIntRejectsOverflowAndJunk)
{
    for (const char* bad : {"2147483648", "-2147483649", "$100000000", "", "-", "$", "0x", " 1", "1 ", "12a", "$g"}) {
        SCOPED_TRACE(bad);
        int value = 7;
        EXPECT_FALSE(TryStrToInt(bad, value));
        EXPECT_EQ(StrToIntDef(bad, 42), 42);
        try {
            StrToInt(bad);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(AnsiStringsEditing, TrimRemovesControlsButNotHighBytes)
{
    EXPECT_EQ(Trim("\t\r\n x y \x01"), "x y");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    // A no-break space (0xA0) is a character like any other in 1252.
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
    EXPECT_EQ(Trim(" \t "), "");
}

TEST(AnsiStringsEditing, ReplaceAllDoesNotRescanItsOwnOutput)
{
    EXPECT_EQ(ReplaceAll("aXa", "a", "aa"), "aaXaa");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("\r\n\r\n", "\r\n", "\n"), "\n\n");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}
