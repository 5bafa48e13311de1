#include "Exceptions.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A folder of the test's own under the system's temporary folder, removed with
// everything in it afterwards.
class StreamFiles : public ::testing::Test {
protected:
    StreamFiles()
        : folder_(fs::temp_directory_path() /
                  ("quillo-streams-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
    {
        fs::create_directories(folder_);
    }
    ~StreamFiles() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string File(const std::string& name) const { return (folder_ / name).string(); }

private:
    fs::path folder_;
};

std::string ReadAll(TStream& stream)
{
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

void WriteText(TStream& stream, const std::string& text)
{
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

const std::string BinaryBytes("a\r\nb\x1A\nc\0\r", 9);

} // namespace

TEST(MemoryStream, ShortReadBufferThrows)
{
    TMemoryStream stream;
    WriteText(stream, "abc");
    stream.SetPosition(1);
    char buffer[4];
    EXPECT_EQ(stream.Read(buffer, 4), 2);
    stream.SetPosition(1);
    try {
        stream.ReadBuffer(buffer, 3);
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros)
{
    TMemoryStream stream;
    WriteText(stream, "ab");
    EXPECT_EQ(stream.Seek(2, soEnd), 4);
    WriteText(stream, "z");
    EXPECT_EQ(ReadAll(stream), std::string("ab\0\0z", 5));
    stream.SetPosition(5);
    stream.SetSize(1);
    EXPECT_EQ(stream.Position(), 1);
    EXPECT_EQ(static_cast<const char*>(stream.Memory())[0], 'a');
}

TEST(MemoryStream, TypedValuesAreLittleEndian)
{
    TMemoryStream stream;
    stream.WriteInt32(0x01020304);
    stream.WriteUInt16(0xABCD);
    stream.WriteInt32(-2);
    EXPECT_EQ(ReadAll(stream), std::string("\x04\x03\x02\x01\xCD\xAB\xFE\xFF\xFF\xFF", 10));
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadUInt32(), 0x01020304u);
    EXPECT_EQ(stream.ReadUInt8(), 0xCD);
    EXPECT_EQ(stream.ReadUInt8(), 0xAB);
    EXPECT_EQ(stream.ReadInt32(), -2);
    EXPECT_THROW(stream.ReadUInt8(), EReadError);
}

TEST(StringStream, OverwritesAtThePositionAndExtends)
{
    TStringStream stream("hello");
    EXPECT_EQ(stream.Position(), 0);
    stream.SetPosition(3);
    WriteText(stream, "p me");
    EXPECT_EQ(stream.DataString(), "help me");
    stream.SetPosition(0);
    WriteText(stream, "y");
    EXPECT_EQ(stream.DataString(), "yelp me");
}

TEST(CopyFrom, ZeroCopiesTheWholeSourceFromItsStart)
{
    TStringStream source("0123456789");
    source.SetPosition(7);
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(source, 0), 10);
    EXPECT_EQ(ReadAll(target), "0123456789");

    source.SetPosition(2);
    TStringStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(part.DataString(), "234");
    EXPECT_THROW(part.CopyFrom(source, 6), EReadError);
}

TEST_F(StreamFiles, BytesSurviveUnchanged)
{
    const std::string path = File("data.bin");
    {
        TFileStream file(path, fmCreate);
        WriteText(file, BinaryBytes);
    }
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(file.Size(), 9);
    EXPECT_EQ(ReadAll(file), BinaryBytes);
    EXPECT_EQ(file.FileName(), path);
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(DirectoryExists(path));
    EXPECT_TRUE(DirectoryExists(File("")));
    EXPECT_FALSE(FileExists(File("")));
}

TEST_F(StreamFiles, ReadWriteAppendsAndTruncates)
{
    const std::string path = File("data.bin");
    TMemoryStream memory;
    WriteText(memory, "abc");
    memory.SaveToFile(path);
    {
        TFileStream file(path, fmOpenReadWrite);
        file.Seek(0, soEnd);
        WriteText(file, "de");
        file.SetSize(4);
        EXPECT_EQ(file.Position(), 4);
    }
    memory.LoadFromFile(path);
    EXPECT_EQ(ReadAll(memory), "abcd");
    EXPECT_EQ(memory.Position(), 4);
}

TEST_F(StreamFiles, OpenAndCreateErrorsNameTheFile)
{
    const std::string missing = File("missing.bin");
    try {
        TFileStream file(missing, fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        const std::string prefix = "Cannot open file \"" + missing + "\". ";
        EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
        EXPECT_GT(e.Message().size(), prefix.size());
    }
    const std::string nowhere = File("no-such-folder") + "/x.bin";
    try {
        TFileStream file(nowhere, fmCreate);
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"" + nowhere + "\". ", 0), 0u);
    }
    EXPECT_THROW(TFileStream(File(""), fmOpenRead), EFOpenError);
}

#ifdef _WIN32
TEST_F(StreamFiles, ShareModesAreEnforced)
{
    const std::string path = File("shared.bin");
    {
        TFileStream exclusive(path, fmCreate | fmShareExclusive);
        EXPECT_THROW(TFileStream(path, fmOpenRead | fmShareDenyNone), EFOpenError);
    }
    TFileStream reader(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_NO_THROW(TFileStream(path, fmOpenRead | fmShareDenyWrite));
    EXPECT_THROW(TFileStream(path, fmOpenWrite | fmShareDenyNone), EFOpenError);
}
#endif
